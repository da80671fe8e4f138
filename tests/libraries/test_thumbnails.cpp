// Gallery thumbnail builds: which templates are drawn and when, what the pictures look like,
// what a failure leaves behind, and the stored dates. Also the sample installation's library.
#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <functional>
#include <set>
#include <utility>

#include "addin/addin_state.h"
#include "core/config.h"
#include "core/registry.h"
#include "host/clipboard.h"
#include "libraries/menu_file.h"
#include "libraries/thumbnails.h"
#include "platform/picture.h"
#include "platform/services.h"
#include "platform/xml_dom.h"
#include "tests/core/core_fixture.h"
#include "tests/support/fault_fs.h"

namespace {

using testing_core::CoreFixture;
namespace fs = std::filesystem;

constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFF;

std::uint32_t at(const platform::Picture& p, int x, int y) {
    return p.pixels[static_cast<std::size_t>(y * p.width + x)];
}

// Counts the presentations the build opens.
struct OpenCounter : host::ApplicationEvents {
    std::vector<std::string> opened;
    void PresentationOpen(host::Presentation& p) override { opened.push_back(p.Name()); }
};

class Build : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        startHost("14.0");
        s.application = app.get();
        s.layout = plorin::computeFolderLayout(root + "program/");
        app->advise(&opens);
        host::clipboard().clear();
    }
    void TearDown() override {
        app->unadvise(&opens);
        host::clipboard().clear();
        s.application = nullptr;
        s.menuDocument.reset();
        s.myElementsDocument.reset();
        s.styleNames.Clear();
        s.styleFolders.Clear();
        s.currentStyle.clear();
        CoreFixture::TearDown();
    }

    // A template whose slide n holds one rectangle of colour fills[n-1] (0: an empty slide),
    // 400 by 100 points, last changed at `unixTime`.
    std::string deck(const std::string& path, const std::vector<std::uint32_t>& fills, long unixTime) {
        fs::create_directories(fs::path(path).parent_path());
        auto p = app->Presentations().Add(false);
        for (std::size_t i = 0; i < fills.size(); ++i) {
            auto slide = p->Slides().Add(static_cast<int>(i) + 1, 12);
            if (fills[i] == 0) continue;
            auto r = slide->Shapes().AddShape(host::msoShapeRectangle, 100, 200, 400, 100);
            r->Fill().ForeColor().setRGB(fills[i]);
            r->Line().setVisible(host::msoFalse);
        }
        p->SaveAs(path);
        p->Close();
        stamp(path, unixTime);
        opens.opened.clear();
        return path;
    }
    static void stamp(const std::string& path, long unixTime) {
        fs::last_write_time(
            path, fs::file_time_type::clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(unixTime))));
    }
    static double day(long unixTime) { return unixTime / 86400.0 + 25569; }

    void menu(const std::string& items) {
        writeFile(root + "customization/menu.xml",
                  "<Varnotel><style name=\"First\" folder=\"first\"/>"
                  "<style name=\"Second\" folder=\"second\"/>" +
                      items + "</Varnotel>");
        ASSERT_TRUE(plorin::loadMenuFile(plorin::kRibbonMenuFileLead));
    }
    std::string style(const std::string& file) { return root + "customization/styles/first/" + file; }
    std::string thumb(const std::string& name) { return root + "customization/styles/thumbs/" + name; }
    static std::string item(const std::string& file, int slide) {
        return "<menuitem name=\"" + file + std::to_string(slide) + "\" file=\"" + file + "\" slideNo=\"" +
               std::to_string(slide) + "\"/>";
    }
    static std::string submenu(const std::string& items) {
        return "<menu name=\"M\"><submenu name=\"S\">" + items + "</submenu></menu>";
    }
    std::string setting(const std::string& name) { return plorin::getRegistry(name, "", "(missing)"); }

    plorin::SharedState& s = plorin::state();
    plorin::ThumbnailSettings settings;
    OpenCounter opens;
};

constexpr long kJan2024 = 1704067200;  // 1 January 2024, 00:00 UTC
constexpr long kFeb2024 = 1706745600;

// ---- Pictures -----------------------------------------------------------------------------------

TEST_F(Build, APictureHasTheSettingsSizeWithTheShapesCentredAndOpaqueWhiteMargins) {
    deck(style("a.ppt"), {0x0000FF}, kJan2024);  // red, four times as wide as high
    menu(submenu(item("a.ppt", 1)));
    for (auto [w, h] : {std::pair<std::int16_t, std::int16_t>{160, 120}, {200, 150}}) {
        settings = {w, h, 0, 0};
        ASSERT_TRUE(plorin::createSlideWizardThumbs(settings));
        const auto t = platform::loadPng(thumb("a.ppt_1.png"));
        ASSERT_TRUE(t);
        EXPECT_EQ(t->width, w);
        EXPECT_EQ(t->height, h);
        EXPECT_EQ(at(*t, w / 2, h / 2), 0xFFFF0000u) << "the shape, centred";
        EXPECT_EQ(at(*t, w / 2, 2), kOpaqueWhite) << "the margin above";
        EXPECT_EQ(at(*t, w / 2, h - 3), kOpaqueWhite) << "the margin below";
    }
}

// ---- When the Slide Wizard is drawn -------------------------------------------------------------

TEST_F(Build, WithoutAStoredDateEveryTemplateIsDrawnAndTheNewestDateStored) {
    deck(style("a.ppt"), {0x0000FF}, kJan2024);
    deck(style("b.ppt"), {0x00FF00}, kFeb2024);
    menu(submenu(item("a.ppt", 1) + item("b.ppt", 1)));
    ASSERT_TRUE(plorin::createSlideWizardThumbs(settings));
    EXPECT_TRUE(fs::exists(thumb("a.ppt_1.png")));
    EXPECT_TRUE(fs::exists(thumb("b.ppt_1.png")));
    EXPECT_EQ(setting("thumbsDate_slideWizard"), plorin::formatDayNumber(day(kFeb2024)));
    EXPECT_EQ(settings.slideWizardDate, day(kFeb2024));
    EXPECT_TRUE(driver.messages.empty());
}

// Thumbnails are written without a flush each; the batch is flushed before its date is kept.
struct FlushRecorder : test_support::FaultyFileSystem {
    FlushRecorder() { platform::useFileSystem(this); }
    ~FlushRecorder() override { platform::useFileSystem(nullptr); }
    // Every flush from now on fails, or none.
    void refuse(bool refused) {
        arm(refused ? test_support::failCall(test_support::FsCall::flushFolder, 1, true) : test_support::Fault{});
    }
    std::vector<std::string> cached() const {
        std::vector<std::string> names;
        for (const auto& path : pathsOf(test_support::FsCall::writeAll))
            names.push_back(fs::path(path).filename().string());
        return names;
    }
    std::vector<std::string> flushed() const { return pathsOf(test_support::FsCall::flushFolder); }
    // Runs once, after the first whole file is read (the library saved meanwhile).
    std::function<void()> afterReading;
    std::optional<StampedContents> readAllStamped(const std::string& p) override {
        auto read = FaultyFileSystem::readAllStamped(p);
        if (auto then = std::exchange(afterReading, {})) then();
        return read;
    }
};

TEST_F(Build, ThumbnailsReachTheDiskBeforeTheirDateAndARefusedFlushKeepsNoDate) {
    deck(style("a.ppt"), {0x0000FF}, kJan2024);
    menu(submenu(item("a.ppt", 1)));
    {
        FlushRecorder disk;
        disk.refuse(true);
        EXPECT_TRUE(plorin::createSlideWizardThumbs(settings));
        EXPECT_EQ(disk.cached(), std::vector<std::string>{"a.ppt_1.png"});
        EXPECT_EQ(disk.flushed(), std::vector<std::string>{thumb("")});
        EXPECT_EQ(setting("thumbsDate_slideWizard"), "(missing)") << "drawn again at the next start";
        EXPECT_EQ(settings.slideWizardDate, 0);
    }
    FlushRecorder disk;
    EXPECT_TRUE(plorin::createSlideWizardThumbs(settings));
    EXPECT_EQ(disk.flushed().size(), 1u);
    EXPECT_EQ(setting("thumbsDate_slideWizard"), plorin::formatDayNumber(day(kJan2024)));
    EXPECT_TRUE(plorin::createSlideWizardThumbs(settings));
    EXPECT_EQ(disk.flushed().size(), 1u) << "nothing drawn, nothing flushed";
}

TEST_F(Build, OnlyTemplatesChangedSinceTheStoredDateAreOpened) {
    deck(style("a.ppt"), {0x0000FF}, kJan2024);
    deck(style("b.ppt"), {0x00FF00}, kFeb2024);
    menu(submenu(item("a.ppt", 1) + item("b.ppt", 1)));
    settings.slideWizardDate = day(kJan2024);  // a.ppt was drawn then
    ASSERT_TRUE(plorin::createSlideWizardThumbs(settings));
    EXPECT_FALSE(fs::exists(thumb("a.ppt_1.png")));
    EXPECT_TRUE(fs::exists(thumb("b.ppt_1.png")));
    EXPECT_EQ(opens.opened, std::vector<std::string>{"b.ppt"});
}

TEST_F(Build, ItemsOfOneTemplateFollowingEachOtherShareOneOpening) {
    deck(style("deck.ppt"), {0x0000FF, 0x00FF00, 0xFF0000}, kJan2024);
    menu(submenu(item("deck.ppt", 1) + item("deck.ppt", 3)));
    ASSERT_TRUE(plorin::createSlideWizardThumbs(settings));
    EXPECT_TRUE(fs::exists(thumb("deck.ppt_1.png")));
    EXPECT_TRUE(fs::exists(thumb("deck.ppt_3.png")));
    EXPECT_FALSE(fs::exists(thumb("deck.ppt_2.png")));
    EXPECT_EQ(opens.opened.size(), 1u);
    EXPECT_EQ(app->Presentations().Count(), 0) << "closed when the build ends";
}

TEST_F(Build, OnlyTheFirstStylesTemplatesAndOnlyGalleryItemsAreDrawn) {
    deck(root + "customization/styles/second/a.ppt", {0x0000FF}, kJan2024);
    deck(style("t.ppt"), {0x0000FF, 0x00FF00}, kJan2024);
    menu(submenu(item("a.ppt", 1)) + "<menu name=\"T\">" + item("t.ppt", 2) + "</menu>");
    ASSERT_TRUE(plorin::createSlideWizardThumbs(settings)) << "a template missing in the first style is skipped";
    EXPECT_FALSE(fs::exists(thumb("a.ppt_1.png")));
    EXPECT_FALSE(fs::exists(thumb("t.ppt_2.png"))) << "an item directly under a menu has no gallery";
    EXPECT_TRUE(opens.opened.empty());
    EXPECT_TRUE(driver.messages.empty());
}

TEST_F(Build, WithoutStylesNothingIsDrawnAndTheBuildCountsAsDone) {
    deck(style("a.ppt"), {0x0000FF}, kJan2024);
    writeFile(root + "customization/menu.xml", "<Varnotel>" + submenu(item("a.ppt", 1)) + "</Varnotel>");
    ASSERT_TRUE(plorin::loadMenuFile(plorin::kRibbonMenuFileLead));
    EXPECT_TRUE(plorin::createSlideWizardThumbs(settings));
    EXPECT_FALSE(fs::exists(thumb("a.ppt_1.png")));
    EXPECT_EQ(setting("thumbsDate_slideWizard"), "(missing)");
}

TEST_F(Build, ABadItemIsSkippedCountedAndEveryPresentationClosed) {
    deck(style("a.ppt"), {0x0000FF, 0}, kJan2024);  // slide 2 holds no shapes
    deck(style("b.ppt"), {0x00FF00}, kFeb2024);
    writeFile(style("broken.ppt"), "not a presentation");
    menu(submenu(item("a.ppt", 7) + item("a.ppt", 2) + item("broken.ppt", 1) + item("a.ppt", 1) + item("b.ppt", 1)) +
         "<menu name=\"N\"><submenu name=\"X\"><menuitem name=\"x\" file=\"b.ppt\" slideNo=\"one\"/></submenu></menu>");
    driver.messageAnswers.push_back(platform::vbOK);
    EXPECT_FALSE(plorin::createSlideWizardThumbs(settings));
    EXPECT_TRUE(fs::exists(thumb("a.ppt_1.png"))) << "the good items are drawn all the same";
    EXPECT_TRUE(fs::exists(thumb("b.ppt_1.png")));
    EXPECT_EQ(app->Presentations().Count(), 0);
    ASSERT_EQ(driver.messages.size(), 1u) << "one message for the whole build";
    EXPECT_EQ(driver.messages[0].text,
              "An error occurred creating the Slide Wizard thumbnail images.\r\n"
              "Please contact us at " +
                  plorin::supportEmail() + " if the problem persists.");
    EXPECT_EQ(driver.messages[0].style, platform::vbCritical);
    EXPECT_EQ(driver.messages[0].title, "Varnotel for presentations");
    EXPECT_EQ(setting("thumbsDate_slideWizard"), "(missing)") << "the next opening tries again";
    EXPECT_EQ(settings.slideWizardDate, 0);
}

TEST_F(Build, NamesLeavingTheirFoldersAreBadItemsAndNothingIsWrittenOutside) {
    deck(root + "customization/styles/outside.ppt", {0x0000FF}, kJan2024);
    deck(style("a.ppt"), {0x00FF00}, kJan2024);
    menu(
        submenu("<menuitem name=\"up\" file=\"../outside.ppt\" slideNo=\"1\"/>"
                "<menuitem name=\"climb\" file=\"a.ppt\" slideNo=\"1/../../../climbed\"/>" +
                item("a.ppt", 1)));
    driver.messageAnswers.push_back(platform::vbOK);
    EXPECT_FALSE(plorin::createSlideWizardThumbs(settings));
    EXPECT_TRUE(fs::exists(thumb("a.ppt_1.png")));
    EXPECT_EQ(opens.opened, std::vector<std::string>{"a.ppt"}) << "nothing outside the style is opened";
    for (const auto& entry : fs::recursive_directory_iterator(root))
        EXPECT_EQ(entry.path().extension() == ".png", entry.path().parent_path() == fs::path(thumb("")).parent_path())
            << entry.path();
    EXPECT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(plorin::slideWizardThumbPath("../x", "1"), "");
}

TEST_F(Build, TheUsersClipboardSurvivesABuild) {
    deck(style("a.ppt"), {0x0000FF}, kJan2024);
    menu(submenu(item("a.ppt", 1)));
    auto p = app->Presentations().Add(false);
    auto mine = p->Slides().Add(1, 12)->Shapes().AddShape(host::msoShapeOval, 0, 0, 10, 10);
    host::ShapeRange({mine}).Copy();
    const auto before = host::clipboard().contents().shapes;
    ASSERT_TRUE(plorin::createSlideWizardThumbs(settings));
    EXPECT_EQ(host::clipboard().contents().shapes, before);

    driver.messageAnswers.push_back(platform::vbOK);
    menu(submenu(item("a.ppt", 9)));
    settings.slideWizardDate = 0;
    EXPECT_FALSE(plorin::createSlideWizardThumbs(settings));
    EXPECT_EQ(host::clipboard().contents().shapes, before) << "a failed build gives it back too";
}

// ---- Dates --------------------------------------------------------------------------------------

TEST(DayNumbers, AreReadFromTheStartOfTheTextWithADecimalPoint) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"45000.5", 45000.5},
        {"  12.25abc", 12.25},
        {"abc", 0},
        {"", 0},
        {"1e3", 1000},
        {"7E", 7},
        {"-3.5", -3.5},
        {".5", 0.5},
        {"0", 0},
        {"45000,5", 45000},
    };
    for (const auto& c : cases) EXPECT_EQ(plorin::parseDayNumber(c.text), c.value) << c.text;
}

TEST(DayNumbers, AFractionalDateReadsBackUnchangedWhateverTheLocale) {
    const double date = 45321.123456789012;
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    for (const char* locale : {"C", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
        if (!std::setlocale(LC_ALL, locale)) continue;  // not installed here
        const std::string text = plorin::formatDayNumber(date);
        EXPECT_EQ(text.find(','), std::string::npos) << locale;
        EXPECT_EQ(plorin::parseDayNumber(text), date) << locale << ": " << text;
    }
    std::setlocale(LC_ALL, saved.c_str());
}

TEST_F(Build, AFilesDateCountsDaysSinceTheLastDayOf1899) {
    writeFile(root + "f.txt");
    stamp(root + "f.txt", 0);
    EXPECT_EQ(plorin::fileDayNumber(root + "f.txt"), 25569.0);
    stamp(root + "f.txt", 43200);
    EXPECT_EQ(plorin::fileDayNumber(root + "f.txt"), 25569.5);
    EXPECT_EQ(plorin::fileDayNumber(root + "missing.txt"), std::nullopt);
}

TEST_F(Build, SettingsGiveTheSizeAndDatesWithDefaultsForDamagedSizes) {
    EXPECT_EQ(plorin::readThumbnailSettings().width, 160);
    EXPECT_EQ(plorin::readThumbnailSettings().height, 120);
    plorin::setRegistry("thumbsWidth", "wide", "");
    plorin::setRegistry("thumbsHeight", "-5", "");
    plorin::setRegistry("thumbsDate_myElements", "45000.25", "");
    const auto read = plorin::readThumbnailSettings();
    EXPECT_EQ(read.width, 160);
    EXPECT_EQ(read.height, 120);
    EXPECT_EQ(read.myElementsDate, 45000.25);
    EXPECT_EQ(read.slideWizardDate, 0);
    // A size that would make each thumbnail gigabytes big is out of range too.
    plorin::setRegistry("thumbsWidth", "32767", "");
    plorin::setRegistry("thumbsHeight", "1024", "");
    EXPECT_EQ(plorin::readThumbnailSettings().width, 160);
    EXPECT_EQ(plorin::readThumbnailSettings().height, 1024);
}

// ---- My Elements -------------------------------------------------------------------------------

TEST_F(Build, TheLibraryFileDependsOnTheHostVersion) {
    const std::string folder = root + "user/myelements/";
    struct Case {
        const char* version;
        std::vector<const char*> present;
        const char* library;
    } cases[] = {
        {"12.0", {"myelements.ppt", "myelements.pptx"}, "myelements.pptx"},
        {"14.0", {"myelements.ppt"}, "myelements.ppt"},
        {"14.0", {}, "myelements.ppt"},
        {"11.0", {"myelements.ppt", "myelements.pptx"}, "myelements.ppt"},
        {"9.0", {"myelements.pptx"}, "myelements.ppt"},
    };
    for (const auto& c : cases) {
        fs::remove_all(folder);
        for (const char* name : c.present) writeFile(folder + name);
        host::Application other(c.version);
        s.application = &other;
        EXPECT_EQ(plorin::getMyElementsFile(), folder + c.library) << c.version;
    }
    s.application = app.get();
}

class MyElements : public Build {
protected:
    void SetUp() override {
        Build::SetUp();
        library = deck(root + "user/myelements/myelements.pptx", {0x0000FF, 0x00FF00}, kJan2024);  // ids 256, 257
        index("<element name=\"a\" slideID=\"256\"/><element name=\"b\" slideID=\"257\"/>");
    }
    void index(const std::string& elements) {
        s.myElementsDocument = std::make_unique<platform::DomDocument>();
        ASSERT_TRUE(s.myElementsDocument->loadXML("<Varnotel><group name=\"G\">" + elements + "</group></Varnotel>"));
    }
    std::string picture(long id) { return root + "user/myelements/thumbs/" + std::to_string(id) + ".png"; }
    // The library and index as SetUp makes them, with every picture drawn.
    void drawnOnce() {
        library = deck(library, {0x0000FF, 0x00FF00}, kJan2024);
        index(kTwoElements);
        fs::remove_all(root + "user/myelements/thumbs");
        settings = {};
        plorin::createMyElementsThumbs(settings);
        opens.opened.clear();
    }
    // Opens the library, changes it and saves it, as the user may.
    void edit(const std::function<void(host::Presentation&)>& change) {
        auto p = app->Presentations().Open(library, false, false, false);
        change(*p);
        p->Save();
        p->Close();
    }
    static void recolour(host::Presentation& p, int slide, std::uint32_t rgb) {
        p.Slides().Item(slide)->Shapes().Item(1)->Fill().ForeColor().setRGB(rgb);
    }
    // Builds and gives the pictures drawn (`afterReading`: see FlushRecorder).
    std::vector<std::string> build(const std::function<void()>& afterReading = {}) {
        opens.opened.clear();
        FlushRecorder disk;
        disk.afterReading = afterReading;
        plorin::createMyElementsThumbs(settings);
        std::vector<std::string> drawn;
        for (const auto& name : disk.cached())
            if (name != "drawn.txt") drawn.push_back(name);
        return drawn;
    }
    // The colour in the middle of a picture (the slide's rectangle).
    std::uint32_t centre(long id) {
        const auto t = platform::loadPng(picture(id));
        return t ? at(*t, t->width / 2, t->height / 2) : 0;
    }
    inline static const std::string kTwoElements =
        "<element name=\"a\" slideID=\"256\"/><element name=\"b\" slideID=\"257\"/>";
    std::string library;
};

TEST_F(MyElements, AChangedLibraryIsDrawnOnceAndItsDateKept) {
    plorin::createMyElementsThumbs(settings);
    EXPECT_TRUE(fs::exists(picture(256)));
    EXPECT_TRUE(fs::exists(picture(257)));
    EXPECT_EQ(setting("thumbsDate_myElements"), plorin::formatDayNumber(day(kJan2024)));
    EXPECT_EQ(opens.opened.size(), 1u);
    EXPECT_EQ(app->Presentations().Count(), 0);

    plorin::setRegistry("thumbsDate_myElements", "0", "");
    plorin::createMyElementsThumbs(settings);
    EXPECT_EQ(opens.opened.size(), 1u) << "the next opening of the menu draws nothing again";
    EXPECT_EQ(setting("thumbsDate_myElements"), plorin::formatDayNumber(day(kJan2024))) << "but keeps the date";
    stamp(library, kFeb2024);
    plorin::createMyElementsThumbs(settings);
    EXPECT_EQ(opens.opened.size(), 1u) << "a library saved with the same slides is not opened";
    EXPECT_EQ(setting("thumbsDate_myElements"), plorin::formatDayNumber(day(kFeb2024)));
}

// After a first build the library is saved again: only the pictures that no longer show their
// slides are drawn, and a changed slide never keeps its old picture.
TEST_F(MyElements, ASavedLibraryDrawsOnlyThePicturesThatNoLongerShowTheirSlides) {
    const std::string record = root + "user/myelements/thumbs/drawn.txt";
    constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;
    struct Row {
        const char* change;
        std::function<void()> apply;
        std::vector<std::string> drawn;
        std::uint32_t second = kGreen;  // the colour of slide 257's picture afterwards
    };
    const Row rows[] = {
        {"nothing", [] {}, {}},
        {"one slide's colour",
         [&] { edit([](host::Presentation& p) { recolour(p, 2, 0xFF0000); }); },
         {"257.png"},
         kBlue},
        {"a slide added",
         [&] {
             edit([](host::Presentation& p) {
                 p.Slides().Add(3, 12)->Shapes().AddShape(host::msoShapeOval, 0, 0, 50, 50);
             });
             index(kTwoElements + "<element name=\"c\" slideID=\"258\"/>");
         },
         {"258.png"}},
        {"a picture deleted", [&] { fs::remove(picture(256)); }, {"256.png"}},
        {"a picture overwritten", [&] { writeFile(picture(257), "not a picture"); }, {"257.png"}},
        {"the record lost", [&] { fs::remove(record); }, {"256.png", "257.png"}},
        {"the record damaged", [&] { writeFile(record, "256 x\n257\n\n"); }, {"256.png", "257.png"}},
        {"the thumbnail size", [&] { settings.width = 80; }, {"256.png", "257.png"}},
    };
    for (const Row& row : rows) {
        drawnOnce();
        row.apply();
        stamp(library, kFeb2024);
        EXPECT_EQ(build(), row.drawn) << row.change;
        EXPECT_EQ(opens.opened.size(), row.drawn.empty() ? 0u : 1u) << row.change;
        EXPECT_EQ(settings.myElementsDate, day(kFeb2024)) << row.change;
        EXPECT_TRUE(driver.messages.empty()) << row.change;
        EXPECT_EQ(centre(256), kRed) << row.change;
        EXPECT_EQ(centre(257), row.second) << row.change;
    }
}

// The library saved again between the build's reading of it and its opening: what was drawn
// is not what the fingerprints were read from, so it is not recorded (or a later return to
// that content would keep the picture of another).
TEST_F(MyElements, APictureDrawnWhileTheLibraryWasSavedAgainIsDrawnAgainNextTime) {
    drawnOnce();
    edit([](host::Presentation& p) { recolour(p, 2, 0xFF0000); });
    stamp(library, kFeb2024);
    EXPECT_EQ(build([&] { edit([](host::Presentation& p) { recolour(p, 2, 0x00FFFF); }); }),
              std::vector<std::string>{"257.png"});
    EXPECT_EQ(centre(257), 0xFFFFFF00u);
    edit([](host::Presentation& p) { recolour(p, 2, 0xFF0000); });
    stamp(library, kFeb2024 + 86400);
    EXPECT_EQ(build(), std::vector<std::string>{"257.png"});
    EXPECT_EQ(centre(257), 0xFF0000FFu);
    EXPECT_EQ(build(), std::vector<std::string>{});
}

TEST_F(MyElements, ARefusedFlushKeepsTheOldDateSoTheLibraryIsDrawnAgain) {
    FlushRecorder disk;
    disk.refuse(true);
    plorin::createMyElementsThumbs(settings);
    EXPECT_EQ(disk.cached().size(), 2u);
    EXPECT_EQ(disk.flushed(), std::vector<std::string>{root + "user/myelements/thumbs/"});
    EXPECT_EQ(setting("thumbsDate_myElements"), "(missing)");
    disk.refuse(false);
    plorin::createMyElementsThumbs(settings);
    EXPECT_EQ(opens.opened.size(), 2u);
    EXPECT_EQ(setting("thumbsDate_myElements"), plorin::formatDayNumber(day(kJan2024)));
}

TEST_F(MyElements, AnElementWithoutItsSlideIsToldAfterTheOthersAreDrawn) {
    index("<element name=\"gone\" slideID=\"999\"/><element name=\"b\" slideID=\"257\"/>");
    driver.messageAnswers.push_back(platform::vbOK);
    plorin::createMyElementsThumbs(settings);
    EXPECT_TRUE(fs::exists(picture(257)));
    EXPECT_EQ(app->Presentations().Count(), 0);
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0].text,
              "An error occurred creating the My Elements thumbnail images.\r\n"
              "Please contact us at " +
                  plorin::supportEmail() + " if the problem persists.");
    EXPECT_EQ(setting("thumbsDate_myElements"), "(missing)");
}

TEST_F(MyElements, TheUsersClipboardSurvivesABuild) {
    auto mine =
        app->Presentations().Add(false)->Slides().Add(1, 12)->Shapes().AddShape(host::msoShapeOval, 0, 0, 10, 10);
    host::ShapeRange({mine}).Copy();
    const auto before = host::clipboard().contents().shapes;
    plorin::createMyElementsThumbs(settings);
    ASSERT_TRUE(fs::exists(picture(256)));
    EXPECT_EQ(host::clipboard().contents().shapes, before);

    // A build that stops at a missing slide gives it back too.
    index("<element name=\"gone\" slideID=\"999\"/>");
    plorin::setRegistry("thumbsDate_myElements", "0", "");
    stamp(library, kFeb2024);
    driver.messageAnswers.push_back(platform::vbOK);
    plorin::createMyElementsThumbs(settings);
    EXPECT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(host::clipboard().contents().shapes, before);
}

TEST_F(MyElements, WithoutALibraryOrAnIndexNothingHappens) {
    s.myElementsDocument.reset();
    plorin::createMyElementsThumbs(settings);
    fs::remove(library);
    index("<element name=\"a\" slideID=\"256\"/>");
    plorin::createMyElementsThumbs(settings);
    EXPECT_TRUE(opens.opened.empty());
    EXPECT_FALSE(fs::exists(root + "user/myelements/thumbs"));
    EXPECT_EQ(setting("thumbsDate_myElements"), "(missing)");
    EXPECT_TRUE(driver.messages.empty());
}

// ---- The sample installation ---------------------------------------------------------------------

class SampleInstallation : public Build {
protected:
    void SetUp() override {
        Build::SetUp();
        for (const char* folder : {"customization", "user"})
            fs::copy(std::string(VARNOTEL_SOURCE_DIR "/install/") + folder, root + folder, fs::copy_options::recursive);
        s.layout = plorin::computeFolderLayout(root + "program/");
        ASSERT_TRUE(plorin::loadMenuFile(plorin::kRibbonMenuFileLead));
        plorin::loadCopyrightLines();
        plorin::loadMyElementsIndex();
        ASSERT_TRUE(driver.messages.empty()) << driver.messages.front().text;
    }
    // The template, opened without a window; nullptr when it cannot be.
    std::shared_ptr<host::Presentation> open(const std::string& path) {
        try {
            return app->Presentations().Open(path, true, false, false);
        } catch (const host::HostError&) {
            return nullptr;
        }
    }
};

TEST_F(SampleInstallation, EveryItemAndNoticeHasItsSlideInEveryStyle) {
    ASSERT_EQ(s.styleNames.Count(), 2);
    ASSERT_GT(s.copyrightLines.Count(), 0);
    for (int k = 1; k <= s.styleFolders.Count(); ++k) {
        const std::string folder = s.layout.styles + s.styleFolders.Item(k) + "/";
        for (const auto& item : s.menuDocument->selectNodes("//menuitem")) {
            const auto deck = open(folder + *item.getAttribute("file"));
            ASSERT_TRUE(deck) << folder << *item.getAttribute("file");
            const int slide = std::stoi(*item.getAttribute("slideNo"));
            ASSERT_LE(slide, deck->Slides().Count()) << *item.getAttribute("name");
            EXPECT_GT(deck->Slides().Item(slide)->Shapes().Count(), 0) << *item.getAttribute("name");
            deck->Close();
        }
        for (const char* notices : {"copyright_slide.ppt", "copyright_title.ppt"}) {
            const auto deck = open(folder + notices);
            ASSERT_TRUE(deck) << folder << notices;
            EXPECT_EQ(deck->Slides().Count(), s.copyrightLines.Count()) << folder << notices;
            deck->Close();
        }
    }
}

TEST_F(SampleInstallation, EveryGalleryItemGetsATidyPicture) {
    ASSERT_TRUE(plorin::createSlideWizardThumbs(settings));
    EXPECT_TRUE(driver.messages.empty());
    std::set<std::string> expected;
    for (const auto& item : s.menuDocument->selectNodes("/Varnotel/menu/submenu/menuitem"))
        expected.insert(*item.getAttribute("file") + "_" + *item.getAttribute("slideNo") + ".png");
    std::set<std::string> made;
    for (const auto& entry : fs::directory_iterator(s.layout.thumbs)) made.insert(entry.path().filename().string());
    EXPECT_EQ(made, expected);
    for (const auto& name : made) {
        const auto t = platform::loadPng(s.layout.thumbs + name);
        ASSERT_TRUE(t) << name;
        EXPECT_EQ(t->width, 160);
        EXPECT_EQ(t->height, 120);
        for (const auto& [x, y] : {std::pair{0, 0}, {159, 0}, {0, 119}, {159, 119}})
            EXPECT_EQ(at(*t, x, y) >> 24, 0xFFu) << name << ": no corner is transparent";
    }
}

TEST_F(SampleInstallation, MyElementsHasAPictureForEveryElement) {
    plorin::createMyElementsThumbs(settings);
    EXPECT_TRUE(driver.messages.empty());
    for (const auto& element : s.myElementsDocument->selectNodes("/Varnotel/group/element"))
        EXPECT_TRUE(fs::exists(plorin::myElementsThumbPath(std::stol(*element.getAttribute("slideID")))))
            << *element.getAttribute("name");
}

}  // namespace
