// The text model: paragraphs and line breaks, indent levels in both generations of the
// object model, font sizes, rulers by host version, margins, tables with cells, notes pages,
// and what the file and the clipboard keep of them.
#include "host/clipboard.h"
#include "host/table.h"
#include "host/text.h"
#include "host_test_support.h"

using namespace host;
using host_test::hostErrorOf;

namespace {

struct TextModel : ::testing::Test {
    std::unique_ptr<Application> app = std::make_unique<Application>("14.0");
    std::shared_ptr<Presentation> pres = app->Presentations().Add();
    std::shared_ptr<Slide> slide = pres->Slides().Add(1, 1);

    void restartAs(const std::string& version) {
        app = std::make_unique<Application>(version);
        pres = app->Presentations().Add();
        slide = pres->Slides().Add(1, 1);
    }
    std::shared_ptr<Shape> box(const std::string& text) {
        auto s = slide->Shapes().AddTextbox(1, 10, 10, 300, 100);
        s->TextFrame().TextRange().setText(text);
        return s;
    }
    static std::vector<int> levels(Shape& s) {
        std::vector<int> out;
        const TextRange all = s.TextFrame().TextRange();
        for (int i = 1; i <= all.Paragraphs().Count(); ++i) out.push_back(all.Paragraphs(i).IndentLevel());
        return out;
    }
    host_test::ScratchDir scratch;
};

}  // namespace

TEST_F(TextModel, ParagraphsEndWithCrAndALineBreakStaysInsideItsParagraph) {
    auto s = box("Agenda\rGoals\vand means\rÄrger");
    const TextRange all = s->TextFrame().TextRange();
    EXPECT_EQ(all.Length(), 28);  // characters, the marks included
    ASSERT_EQ(all.Paragraphs().Count(), 3);
    EXPECT_EQ(all.Paragraphs(1).Text(), "Agenda\r");  // a paragraph carries its mark
    EXPECT_EQ(all.Paragraphs(2).Text(), "Goals\vand means\r");
    EXPECT_EQ(all.Paragraphs(3).Text(), "Ärger");  // the last has none
    EXPECT_EQ(all.Paragraphs(3).Start(), 24);
    EXPECT_EQ(hostErrorOf([&] { all.Paragraphs(4); }), E_FAIL);

    // A part of the text reaches the paragraphs it touches, whole.
    const TextRange part = all.Characters(5, 4);  // "da\rG"
    ASSERT_EQ(part.Paragraphs().Count(), 2);
    EXPECT_EQ(part.Paragraphs(2).Text(), "Goals\vand means\r");
    EXPECT_EQ(all.Characters(7, 1).Paragraphs().Count(), 1);  // just a mark: its paragraph
    EXPECT_EQ(all.Characters(3, 0).Paragraphs().Count(), 0);  // an insertion point: none
    EXPECT_EQ(s->TextFrame().TextRange().Characters(1, 0).Parent().Parent(), s);
}

TEST_F(TextModel, NewParagraphsTakeTheLevelAndSizeOfWhereTheyAreTyped) {
    auto s = box("One\rTwo");
    TextRange all = s->TextFrame().TextRange();
    all.Paragraphs(2).setIndentLevel(3);
    all.Paragraphs(2).Font().setSize(20);
    s->TextFrame().TextRange().Characters(8, 0).setText("\rThree");  // typed at the end
    EXPECT_EQ(s->TextFrame().TextRange().Text(), "One\rTwo\rThree");
    EXPECT_EQ(levels(*s), (std::vector<int>{1, 3, 3}));
    EXPECT_EQ(s->TextFrame().TextRange().Paragraphs(3).Font().Size(), 20);

    s->TextFrame().TextRange().Characters(4, 1).setText(" ");  // the first mark goes: two merge
    EXPECT_EQ(levels(*s), (std::vector<int>{1, 3}));
    s->TextFrame().TextRange().setText("");
    EXPECT_EQ(s->TextFrame().HasText(), msoFalse);
    EXPECT_EQ(levels(*s), std::vector<int>{});
    EXPECT_EQ(s->TextFrame().TextRange().IndentLevel(), 1);  // the empty paragraph
}

TEST_F(TextModel, IndentLevelsHaveTheirLimitsInEachGeneration) {
    auto s = box("a\rb\rc");
    TextRange all = s->TextFrame().TextRange();
    all.Paragraphs(1).setIndentLevel(5);
    EXPECT_EQ(hostErrorOf([&] { all.Paragraphs(1).setIndentLevel(6); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { all.Paragraphs(1).setIndentLevel(0); }), E_FAIL);
    EXPECT_EQ(all.IndentLevel(), kMixed);

    TextRange2 second = s->TextFrame2().TextRange();
    EXPECT_EQ(second.Paragraphs().Count(), 3);
    second.Paragraphs(2).ParagraphFormat().setIndentLevel(9);
    EXPECT_EQ(hostErrorOf([&] { second.Paragraphs(2).ParagraphFormat().setIndentLevel(10); }), E_FAIL);
    EXPECT_EQ(levels(*s), (std::vector<int>{5, 9, 1}));           // one model under both
    second.Characters(3, 1).ParagraphFormat().setIndentLevel(2);  // "b" only
    EXPECT_EQ(levels(*s), (std::vector<int>{5, 2, 1}));
    second.Characters(4, 0).ParagraphFormat().setIndentLevel(4);  // the insertion point's paragraph
    EXPECT_EQ(levels(*s), (std::vector<int>{5, 4, 1}));
}

TEST_F(TextModel, OnlyHostsFrom12OfferTheSecondGeneration) {
    restartAs("11.0");
    auto s = box("x");
    EXPECT_EQ(hostErrorOf([&] { s->TextFrame2(); }), E_FAIL);
    restartAs("12.0");
    EXPECT_EQ(box("x")->TextFrame2().TextRange().Text(), "x");
    auto picture = slide->Shapes().addOfType(msoPicture, 1, 0, 0, 9, 9);
    EXPECT_EQ(hostErrorOf([&] { picture->TextFrame2(); }), E_FAIL);
}

TEST_F(TextModel, FontSizesBelongToCharacters) {
    auto s = box("Big small");
    TextRange all = s->TextFrame().TextRange();
    EXPECT_EQ(all.Font().Size(), 18);  // the default
    all.Characters(1, 3).Font().setSize(20);
    EXPECT_EQ(all.Characters(1, 1).Font().Size(), 20);
    EXPECT_EQ(all.Characters(5, 5).Font().Size(), 18);
    EXPECT_EQ(all.Font().Size(), kMixed);
    EXPECT_EQ(all.Characters(4, 0).Font().Size(), 18);  // an insertion point reads what follows
    EXPECT_EQ(hostErrorOf([&] { all.Font().setSize(0.5f); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { all.Font().setSize(4001); }), E_FAIL);

    auto empty = slide->Shapes().AddShape(msoShapeRectangle, 0, 0, 50, 50);
    EXPECT_EQ(empty->TextFrame().TextRange().Characters(1, 1).Font().Size(), 18);  // the text end's size
    empty->TextFrame().TextRange().Font().setSize(24);
    EXPECT_EQ(empty->TextFrame().TextRange().Characters(1, 1).Font().Size(), 24);
    empty->TextFrame().TextRange().setText("typed");
    EXPECT_EQ(empty->TextFrame().TextRange().Font().Size(), 24);
}

TEST_F(TextModel, TheRulerShowsFiveLevelsOnOlderHostsAndNineOnNewerOnes) {
    for (const auto& [version, count] :
         std::vector<std::pair<std::string, int>>{{"9.0", 5}, {"11.0", 5}, {"12.0", 9}, {"14.0", 9}}) {
        SCOPED_TRACE(version);
        restartAs(version);
        const Ruler ruler = box("x")->TextFrame().Ruler();
        EXPECT_EQ(ruler.Levels().Count(), count);
        EXPECT_EQ(hostErrorOf([&ruler, levels = count] { ruler.Levels(levels + 1); }), E_FAIL);
        EXPECT_EQ(hostErrorOf([&] { ruler.Levels(0); }), E_FAIL);
        EXPECT_EQ(ruler.Levels(2).LeftMargin(), 36);  // each level half an inch further in
    }
    const RulerLevel level = box("x")->TextFrame().Ruler().Levels(3);
    pres->setSaved(true);
    RulerLevel(level).setFirstMargin(12.5f);
    EXPECT_EQ(level.FirstMargin(), 12.5f);
    EXPECT_FALSE(pres->Saved());
    EXPECT_EQ(hostErrorOf([&] { RulerLevel(level).setLeftMargin(-1); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { RulerLevel(level).setLeftMargin(4000.5f); }), E_FAIL);
}

TEST_F(TextModel, MarginsReadMixedOverShapesThatDiffer) {
    auto a = box("a"), b = box("b");
    ShapeRange both({a, b});
    EXPECT_FLOAT_EQ(both.TextFrame().MarginLeft(), 7.2f);
    EXPECT_FLOAT_EQ(both.TextFrame().MarginTop(), 3.6f);
    a->TextFrame().setMarginLeft(10);
    EXPECT_EQ(both.TextFrame().MarginLeft(), -2);
    both.TextFrame().setMarginBottom(0);
    EXPECT_EQ(b->TextFrame().MarginBottom(), 0);
    EXPECT_EQ(hostErrorOf([&] { both.TextFrame().setMarginRight(-0.1f); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { both.TextFrame().Ruler(); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { both.TextFrame().Parent(); }), E_FAIL);
}

TEST_F(TextModel, TablesHaveCellsWithTextAndASelection) {
    auto shape = slide->Shapes().AddTable(2, 3, 0, 0, 300, 100);
    Table table = shape->Table();
    EXPECT_EQ(table.Rows().Count(), 2);
    EXPECT_EQ(table.Columns().Count(), 3);
    auto cell = table.Cell(2, 3).Shape();
    EXPECT_EQ(cell->HasTextFrame(), msoTrue);
    EXPECT_EQ(cell->Left(), 200);
    EXPECT_EQ(cell->Top(), 50);
    cell->TextFrame().TextRange().setText("total");
    EXPECT_FALSE(table.Cell(2, 3).Selected());
    table.Cell(2, 3).select(true);
    EXPECT_TRUE(shape->Table().Cell(2, 3).Selected());
    EXPECT_EQ(hostErrorOf([&] { table.Cell(3, 1); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { slide->Shapes().AddShape(1, 0, 0, 9, 9)->Table(); }), E_FAIL);

    // Text edited in a table stands in its selected cell.
    app->ActiveWindow()->selectText(shape, 1, 0);
    EXPECT_EQ(app->ActiveWindow()->Selection().TextRange().Parent().Parent(), cell);

    shape->Delete();
    EXPECT_EQ(hostErrorOf([&] { cell->TextFrame().TextRange().setText("x"); }), E_FAIL);
}

TEST_F(TextModel, EachSlideHasANotesPageWithABodyForTheNotes) {
    const SlideRange notes = slide->NotesPage();
    ASSERT_EQ(notes.Count(), 1);
    Shapes& shapes = notes.Item(1)->Shapes();
    ASSERT_EQ(shapes.Count(), 1);
    EXPECT_EQ(shapes.Item(1)->Type(), msoPlaceholder);
    shapes.Item(1)->TextFrame().TextRange().setText("Say hello");
    EXPECT_EQ(slide->NotesPage().Item(1)->Shapes().Item(1)->TextFrame().TextRange().Text(), "Say hello");
    EXPECT_EQ(slide->Shapes().Count(), 0);  // the slide itself holds none of it
    EXPECT_GT(shapes.Item(1)->Id(), 0);
    slide->Delete();
    EXPECT_EQ(hostErrorOf([&] { slide->NotesPage(); }), E_FAIL);
}

TEST_F(TextModel, TheFileAndTheClipboardKeepParagraphsRulersTablesAndNotes) {
    auto s = box("Title\rPoint\vbroken");
    TextRange all = s->TextFrame().TextRange();
    all.Paragraphs(2).setIndentLevel(2);
    all.Characters(1, 5).Font().setSize(28);
    all.Characters(7, 2).setLanguageID(1031);
    s->TextFrame().Ruler().Levels(2).setFirstMargin(5);
    s->TextFrame().setMarginTop(1.5f);
    auto table = slide->Shapes().AddTable(1, 2, 0, 200, 200, 50);
    table->Table().Cell(1, 2).Shape()->TextFrame().TextRange().setText("cell");
    table->Table().Cell(1, 2).select(true);
    slide->NotesPage().Item(1)->Shapes().Item(1)->TextFrame().TextRange().setText("notes");
    pres->SaveAs(scratch.file("deck.ppt"));

    auto checkCopy = [](Shape& t, Shape& table) {
        const TextRange r = t.TextFrame().TextRange();
        EXPECT_EQ(r.Text(), "Title\rPoint\vbroken");
        EXPECT_EQ(r.Paragraphs(2).IndentLevel(), 2);
        EXPECT_EQ(r.Characters(1, 5).Font().Size(), 28);
        EXPECT_EQ(r.Characters(6, 1).Font().Size(), 18);
        EXPECT_EQ(r.Characters(7, 2).LanguageID(), 1031);
        EXPECT_EQ(r.Characters(6, 2).LanguageID(), kMixed);
        EXPECT_EQ(t.TextFrame().Ruler().Levels(2).FirstMargin(), 5);
        EXPECT_EQ(t.TextFrame().MarginTop(), 1.5f);
        EXPECT_EQ(table.Table().Columns().Count(), 2);
        EXPECT_EQ(table.Table().Cell(1, 2).Shape()->TextFrame().TextRange().Text(), "cell");
        EXPECT_TRUE(table.Table().Cell(1, 2).Selected());
        EXPECT_FALSE(table.Table().Cell(1, 1).Selected());
    };
    {
        SCOPED_TRACE("file");
        auto copy = app->Presentations().Open(scratch.file("deck.ppt"));
        auto copied = copy->Slides().Item(1);
        checkCopy(*copied->Shapes().Item(1), *copied->Shapes().Item(2));
        EXPECT_EQ(copied->NotesPage().Item(1)->Shapes().Item(1)->TextFrame().TextRange().Text(), "notes");
        EXPECT_EQ(copied->NotesPage().Item(1)->Shapes().Count(), 1);
    }
    {
        SCOPED_TRACE("clipboard");
        ShapeRange({s, table}).Copy();
        const auto& held = clipboard().shapes();
        ASSERT_EQ(held.size(), 2u);
        auto text = held[0]->deepCopy(slide.get(), [](long id) { return id; });
        auto grid = held[1]->deepCopy(slide.get(), [](long id) { return id; });
        checkCopy(*text, *grid);
        // The copy is its own: changing it leaves the original alone.
        grid->Table().Cell(1, 2).Shape()->TextFrame().TextRange().setText("changed");
        EXPECT_EQ(table->Table().Cell(1, 2).Shape()->TextFrame().TextRange().Text(), "cell");
    }
}

TEST_F(TextModel, OlderFilesWithTheTextInOneValueStillOpen) {
    const std::string file = scratch.file("old.ppt");
    host_test::writeAll(file,
                        "<presentation version=\"1\"><slide id=\"256\"><shape id=\"2\" type=\"17\">"
                        "<text autoSize=\"1\" wordWrap=\"-1\" value=\"one&#13;two\"/></shape></slide></presentation>");
    auto p = app->Presentations().Open(file);
    const TextRange r = p->Slides().Item(1)->Shapes().Item(1)->TextFrame().TextRange();
    EXPECT_EQ(r.Paragraphs().Count(), 2);
    EXPECT_EQ(r.Paragraphs(2).Text(), "two");
}

TEST_F(TextModel, WordsAreRunsOfCharactersWithTheSpacesAndTabsAfterThem) {
    auto s = box("  Hello, world!\tand\rnext\vline  ");
    const TextRange all = s->TextFrame().TextRange();
    const TextWords words = all.Words();
    std::vector<std::string> texts;
    for (int i = 1; i <= words.Count(); ++i) {
        texts.push_back(words.ItemText(i));
        EXPECT_EQ(words.Item(i).Text(), texts.back());
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Hello, ", "world!\t", "and", "next", "line  "}));
    EXPECT_EQ(hostErrorOf([&] { words.Item(6); }), E_FAIL);
    // A range's words are its own: a word cut by the range's end is cut too.
    const TextWords part = all.Characters(5, 5).Words();
    ASSERT_EQ(part.Count(), 1);
    EXPECT_EQ(part.ItemText(1), "llo, ");
    EXPECT_EQ(part.Item(1).Start(), 5);
    EXPECT_EQ(box("")->TextFrame().TextRange().Words().Count(), 0);
}

TEST_F(TextModel, ALongTextReachesEveryParagraphInAnyOrderAndAfterEdits) {
    // Paragraphs of different lengths, empty ones among them.
    std::vector<std::string> texts;
    for (int i = 0; i < 300; ++i)
        texts.push_back(i % 7 == 3 ? "" : std::string(static_cast<std::size_t>(i % 11), 'x') + std::to_string(i));
    auto joined = [](const std::vector<std::string>& parts) {
        std::string out;
        for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? "\r" : "") + parts[i];
        return out;
    };
    auto check = [&](Shape& s, const std::vector<std::string>& want) {
        const TextRange all = s.TextFrame().TextRange();
        ASSERT_EQ(all.Paragraphs().Count(), static_cast<int>(want.size()));
        std::vector<int> starts;
        for (std::size_t i = 0, at = 1; i < want.size(); at += want[i].size() + 1, ++i)
            starts.push_back(static_cast<int>(at));
        std::vector<int> order;  // forwards, backwards, then leaping about
        for (int i = 1; i <= static_cast<int>(want.size()); ++i) order.push_back(i);
        for (int i = static_cast<int>(want.size()); i >= 1; --i) order.push_back(i);
        for (int i = 0; i < 200; ++i) order.push_back(1 + (i * 97) % static_cast<int>(want.size()));
        for (int i : order) {
            const TextRange p = all.Paragraphs(i);
            const auto k = static_cast<std::size_t>(i - 1);
            ASSERT_EQ(p.Start(), starts[k]) << i;
            ASSERT_EQ(p.Text(), want[k] + (k + 1 < want.size() ? "\r" : "")) << i;
        }
        // A range inside one paragraph reaches just that one.
        EXPECT_EQ(all.Characters(starts[150], 1).Paragraphs(1).Start(), starts[150]);
    };
    auto s = box(joined(texts));
    check(*s, texts);

    // A new paragraph typed into the middle moves every start after it.
    s->TextFrame().TextRange().Paragraphs(100).Characters(1, 0).setText("new\r");
    texts.insert(texts.begin() + 99, "new");
    check(*s, texts);
    // Paragraphs taken out join their neighbours' positions.
    s->TextFrame().TextRange().Paragraphs(10).Characters(1, 0).setText("");
    const TextRange twoMarks = s->TextFrame().TextRange().Paragraphs(10);
    TextRange(s, twoMarks.Start(), twoMarks.Length() + s->TextFrame().TextRange().Paragraphs(11).Length()).setText("");
    texts.erase(texts.begin() + 9, texts.begin() + 11);
    check(*s, texts);

    // Levels set walking forwards read back walking backwards, also from the file.
    const TextRange all = s->TextFrame().TextRange();
    for (int i = 1; i <= all.Paragraphs().Count(); ++i) all.Paragraphs(i).setIndentLevel(1 + i % 5);
    pres->SaveAs(scratch.file("long.ppt"));
    auto copy = app->Presentations().Open(scratch.file("long.ppt"));
    auto reopened = copy->Slides().Item(1)->Shapes().Item(1);
    check(*reopened, texts);
    const TextRange back = reopened->TextFrame().TextRange();
    for (int i = back.Paragraphs().Count(); i >= 1; --i) ASSERT_EQ(back.Paragraphs(i).IndentLevel(), 1 + i % 5) << i;
}
