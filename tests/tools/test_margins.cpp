// Margins: the dialog's prefill from the selection (equal, mixed, per side), its checks on
// typed values, the up-downs, and the margins reaching groups and table cells.
#include "host/table.h"
#include "text_fixture.h"
#include "tools/margin_input.h"

namespace {

namespace drive = platform::driver;
using Sides = std::vector<float>;  // left, top, right, bottom

class Margins : public testing_tools::TextFixture {
protected:
    static Sides sides(host::Shape& shape) {
        const host::TextFrame f = shape.TextFrame();
        return {f.MarginLeft(), f.MarginTop(), f.MarginRight(), f.MarginBottom()};
    }
    static void setSides(host::Shape& shape, const Sides& s) {
        host::TextFrame f = shape.TextFrame();
        f.setMarginLeft(s[0]);
        f.setMarginTop(s[1]);
        f.setMarginRight(s[2]);
        f.setMarginBottom(s[3]);
    }
    // What the dialog shows when it opens: tbMargin, then the four side boxes.
    std::vector<std::string> prefill() {
        std::vector<std::string> shown;
        driver.queueForm("MarginInput", [&](platform::Form& f) {
            auto& form = dynamic_cast<plorin::MarginInput&>(f);
            shown.push_back(form.tbMargin.Text());
            for (auto& box : form.tbM) shown.push_back(box.Text());
            drive::click(f, "btnCancel");
        });
        tools.setMargins();
        return shown;
    }
    // Runs the dialog with the given steps and returns the form's texts after them, with
    // the up-down values of udMargin and udM(0).
    struct Seen {
        std::string all, left;
        int upDown = 0, leftUpDown = 0;
    };
    Seen run(const std::function<void(plorin::MarginInput&)>& steps) {
        Seen seen;
        driver.queueForm("MarginInput", [&](platform::Form& f) {
            auto& form = dynamic_cast<plorin::MarginInput&>(f);
            steps(form);
            seen = {form.tbMargin.Text(), form.tbM[0].Text(), form.udMargin.Value(), form.udM[0].Value()};
            if (form.Visible()) drive::click(f, "btnCancel");
        });
        tools.setMargins();
        return seen;
    }
    static constexpr float cm(double v) { return static_cast<float>(v * 28.35); }
};

TEST_F(Margins, TheDialogOpensWithTheSelectionsMargins) {
    auto a = textBox("a"), b = textBox("b"), c = textBox("c");
    for (auto& s : {a, b, c}) setSides(*s, Sides(4, cm(0.25)));
    select({a, b, c});
    EXPECT_EQ(prefill(), (std::vector<std::string>{"0.25", "0.25", "0.25", "0.25", "0.25"}));

    // Left margins that differ: an empty left box, tbMargin empty too.
    setSides(*b, {cm(1), cm(0.25), cm(0.25), cm(0.25)});
    EXPECT_EQ(prefill(), (std::vector<std::string>{"", "", "0.25", "0.25", "0.25"}));

    // One shape, each side its own: only the side boxes are filled.
    setSides(*a, {cm(0.1), cm(0.2), cm(0.3), cm(0.4)});
    select({a});
    EXPECT_EQ(prefill(), (std::vector<std::string>{"", "0.10", "0.20", "0.30", "0.40"}));
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Margins, AMixedSideLeavesItsUpDownAtZeroAndAWideMarginStopsTheUpDownAtItsEnd) {
    auto a = textBox("a"), b = textBox("b");
    setSides(*a, {cm(1), cm(500), 0, 0});
    setSides(*b, {cm(2), cm(500), 0, 0});
    select({a, b});
    int left = -1, top = 0;
    driver.queueForm("MarginInput", [&](platform::Form& f) {
        auto& form = dynamic_cast<plorin::MarginInput&>(f);
        left = form.udM[0].Value();
        top = form.udM[1].Value();
        EXPECT_EQ(form.tbM[1].Text(), "500.00");
        drive::click(f, "btnCancel");
    });
    tools.setMargins();
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, -32768);
}

TEST_F(Margins, TypedValuesAreCheckedWhenTheFocusLeavesTheBox) {
    select({textBox("a")});
    struct Case {
        const char* typed;
        const char* message;  // nullptr: accepted
        int upDown;
    } cases[] = {
        {"2", nullptr, -200},
        {" 1000 ", nullptr, -32768},  // accepted; the up-down stops at its end
        {"1,5", nullptr, -150},       // either decimal separator
        {"-1", "Please enter a value in cm.", 0},
        {"1000.01", "Please enter a value in cm.", 0},
        {"abc", "Please enter a numeric value.", 0},
        {"&H10", "Please enter a numeric value.", 0},
        {"1e2", "Please enter a numeric value.", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        driver.messages.clear();
        bool moved = false;
        const Seen seen = run([&](plorin::MarginInput& form) {
            drive::setText(form, "tbMargin", c.typed);
            moved = form.moveFocus(form.btnOK);
        });
        EXPECT_EQ(moved, c.message == nullptr);
        EXPECT_EQ(seen.upDown, c.upDown);
        if (c.message) {
            ASSERT_EQ(messages(), std::vector<std::string>{c.message});
            EXPECT_EQ(driver.messages[0].style, platform::vbCritical);
        } else {
            EXPECT_TRUE(driver.messages.empty());
            EXPECT_EQ(seen.all, c.typed);  // the typed value governs, also beyond the up-down's end
            EXPECT_EQ(seen.left, c.typed);
        }
    }
}

TEST_F(Margins, TheUpDownsMoveByTwentiethsOfACentimetreAndTheOtherBoxesFollow) {
    select({textBox("a")});
    Seen seen = run([&](plorin::MarginInput& form) {
        drive::setText(form, "tbMargin", "2");
        ASSERT_TRUE(form.moveFocus(form.udMargin));
        EXPECT_EQ(form.udMargin.Value(), -200);
        drive::scroll(form, "udMargin", form.udMargin.Value() - form.udMargin.SmallChange);  // the upper arrow
    });
    EXPECT_EQ(seen.all, "2.05");
    EXPECT_EQ(seen.left, "2.05");
    EXPECT_EQ(seen.leftUpDown, -205);

    // One side's up-down empties the value for all sides.
    seen = run([&](plorin::MarginInput& form) {
        drive::click(form, "Opt(1)");
        drive::scroll(form, "udM(0)", -300);
    });
    EXPECT_EQ(seen.all, "");
    EXPECT_EQ(seen.upDown, 0);
    EXPECT_EQ(seen.left, "3.00");
}

TEST_F(Margins, OkNeedsAValueForEverySideInUse) {
    auto shape = textBox("a");
    select({shape});
    const Sides before = sides(*shape);
    driver.queueForm("MarginInput", [&](platform::Form& f) {
        drive::click(f, "btnOK");  // all sides, but the box is empty
        drive::click(f, "Opt(1)");
        drive::setText(f, "tbM(0)", "");
        drive::click(f, "btnOK");
        EXPECT_TRUE(f.Visible());
        drive::click(f, "btnCancel");
    });
    tools.setMargins();
    EXPECT_EQ(messages(), (std::vector<std::string>{"Please enter a value in cm.", "Please enter a value in cm."}));
    EXPECT_EQ(sides(*shape), before);  // cancelled: nothing changes
}

TEST_F(Margins, OkSetsEveryFrameTheSelectionReachesGroupsAndTableCellsIncluded) {
    auto a = textBox("a"), b = textBox("b"), c = textBox("c");
    auto group = host::ShapeRange({b, c}).Group();
    auto table = slide->Shapes().AddTable(1, 2, 0, 300, 300, 100);
    select({a, group, table});
    driver.queueForm("MarginInput", [&](platform::Form& f) {
        drive::setText(f, "tbMargin", "0,5");
        drive::click(f, "btnOK");
    });
    tools.setMargins();
    const Sides half(4, cm(0.5));
    for (auto* s :
         {a.get(), b.get(), c.get(), table->Table().Cell(1, 1).Shape().get(), table->Table().Cell(1, 2).Shape().get()})
        EXPECT_EQ(sides(*s), half);

    // One value per side, left, top, right, bottom.
    select({a});
    driver.queueForm("MarginInput", [&](platform::Form& f) {
        drive::click(f, "Opt(1)");
        drive::setText(f, "tbM(0)", "1");
        drive::setText(f, "tbM(1)", "2");
        drive::setText(f, "tbM(2)", "0");
        drive::setText(f, "tbM(3)", "1000");
        drive::click(f, "btnOK");
    });
    tools.setMargins();
    EXPECT_EQ(sides(*a), (Sides{cm(1), cm(2), 0, cm(1000)}));
    EXPECT_FALSE(plorin::marginInput().loaded());  // unloaded after each use
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Margins, WithoutShapesTheDialogStillOpensAndTheSlidesGetTheMargins) {
    auto a = textBox("a");
    window().selectSlides({slide});
    driver.queueForm("MarginInput", [&](platform::Form& f) {
        EXPECT_EQ(dynamic_cast<plorin::MarginInput&>(f).tbMargin.Text(), "");
        drive::setText(f, "tbMargin", "1");
        drive::click(f, "btnOK");
    });
    tools.setMargins();
    EXPECT_EQ(sides(*a), Sides(4, cm(1)));
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"MarginInput, initMarginControls"});
}

}  // namespace
