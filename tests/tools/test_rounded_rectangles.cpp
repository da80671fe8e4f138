// Rounded rectangles: one visible radius whatever the size, copied or typed in millimetres.
#include <string>

#include "autoshape_fixture.h"
#include "host/text.h"
#include "platform/locale.h"

namespace {

using testing_tools::AutoShapeFixture;

class RoundedRectangles : public AutoShapeFixture {
protected:
    void SetUp() override {
        AutoShapeFixture::SetUp();
        start("14.0");
        reference = add(host::msoShapeRoundedRectangle, 0, 0, 200, 100);
        reference->Adjustments().setItem(1, 0.1f);  // radius 10 points
        tall = add(host::msoShapeRoundedRectangle, 300, 0, 50, 300);
    }
    // Types the text into the radius dialog and presses the button.
    void typeRadius(const std::string& text, const char* button = "btnOK") {
        driver.queueForm("roundedRectanglesInput", [text, button](platform::Form& f) {
            shown = f.get<platform::TextBox>("tbRadius").Text();
            f.get<platform::TextBox>("tbRadius").setText(text);
            f.get<platform::CommandButton>(button).click();
        });
    }
    static double radius(const std::shared_ptr<host::Shape>& s) {
        return adj(s, 1) * std::min(s->Width(), s->Height());
    }
    static inline std::string shown;
    std::shared_ptr<host::Shape> reference, tall;
};

TEST_F(RoundedRectangles, TheLastOnesRadiusReachesShapesOfOtherSizes) {
    select({tall, reference});
    tools.roundedRectangles();
    EXPECT_FLOAT_EQ(adj(tall, 1), 0.2f);  // 10 / 50
    EXPECT_FLOAT_EQ(adj(reference, 1), 0.1f);
    // Alone, the reference passes the checks and nothing changes.
    select({reference});
    tools.roundedRectangles();
    EXPECT_TRUE(messages().empty());
    EXPECT_FLOAT_EQ(adj(reference, 1), 0.1f);
}

TEST_F(RoundedRectangles, TheDialogShowsTheReferenceAndAppliesTheTypedMillimetres) {
    select({tall, reference});
    typeRadius("2.5");
    tools.roundedRectanglesNumeric();
    EXPECT_EQ(shown, "3.5");  // 10 / 0.2835 = 35.27 tenths
    EXPECT_NEAR(radius(tall), 7.0875, 1e-5);
    EXPECT_NEAR(radius(reference), 7.0875, 1e-5);
}

TEST_F(RoundedRectangles, ACommaLocaleShowsAndReadsItsOwnSeparator) {
    platform::ScopedDecimalSeparator comma(',');
    select({tall, reference});
    typeRadius("2,5");
    tools.roundedRectanglesNumeric();
    EXPECT_EQ(shown, "3,5");
    EXPECT_NEAR(radius(tall), 7.0875, 1e-5);
}

TEST_F(RoundedRectangles, RefusedTextKeepsTheDialogOpenAndCancelChangesNothing) {
    select({tall, reference});
    driver.queueForm("roundedRectanglesInput", [](platform::Form& f) {
        auto& box = f.get<platform::TextBox>("tbRadius");
        for (const char* text : {"150", "-1", "abc", "1,000"}) {
            box.setText(text);
            f.get<platform::CommandButton>("btnOK").click();
            EXPECT_TRUE(f.Visible()) << text;
        }
        f.get<platform::CommandButton>("btnCancel").click();
    });
    tools.roundedRectanglesNumeric();
    EXPECT_EQ(messages(), (std::vector<std::string>{"Please enter a value in mm.", "Please enter a value in mm.",
                                                    "Please enter a numeric value.", "Please enter a numeric value."}));
    EXPECT_FLOAT_EQ(adj(tall, 1), 0.16667f);
    // The limits themselves are accepted: 0 squares the corners, 100 mm is the largest.
    typeRadius("0");
    tools.roundedRectanglesNumeric();
    EXPECT_FLOAT_EQ(adj(tall, 1), 0.0f);
    typeRadius("100");
    tools.roundedRectanglesNumeric();
    EXPECT_NEAR(radius(tall), 283.5, 1e-3);
    EXPECT_TRUE(messages().empty());
}

// Leaving the box checks it, as OK does: "abc" is refused before the up-down can overwrite
// it. Enter confirms the typed radius, Esc leaves without a change even past a refused text.
TEST_F(RoundedRectangles, TheBoxIsCheckedWhenItLosesTheFocusAndEnterAndEscWorkTheButtons) {
    select({tall, reference});
    driver.queueForm("roundedRectanglesInput", [](platform::Form& f) {
        EXPECT_TRUE(platform::driver::setText(f, "tbRadius", "abc"));
        EXPECT_FALSE(platform::driver::scroll(f, "udRadius", -40));
        EXPECT_EQ(f.get<platform::TextBox>("tbRadius").Text(), "abc");
        EXPECT_TRUE(platform::driver::typeKeys(f, "{ESC}"));
    });
    tools.roundedRectanglesNumeric();
    EXPECT_EQ(messages(), (std::vector<std::string>{"Please enter a numeric value."}));
    EXPECT_FLOAT_EQ(adj(tall, 1), 0.16667f);
    driver.queueForm("roundedRectanglesInput", [](platform::Form& f) {
        EXPECT_TRUE(platform::driver::setText(f, "tbRadius", "2.5"));
        EXPECT_TRUE(platform::driver::typeKeys(f, "{ENTER}"));
    });
    tools.roundedRectanglesNumeric();
    EXPECT_NEAR(radius(tall), 7.0875, 1e-5);
    EXPECT_TRUE(messages().empty());
}

TEST_F(RoundedRectangles, WrongSelectionsAreToldWhatToSelect) {
    auto oval = add(host::msoShapeOval, 0, 0, 10, 10);
    auto picture = slide->Shapes().addOfType(host::msoPicture, 1, 0, 0, 10, 10);
    select({reference, oval});
    tools.roundedRectangles();
    select({reference, picture});
    tools.roundedRectangles();
    tools.roundedRectanglesNumeric();
    app->ActiveWindow()->selectNone();
    tools.roundedRectanglesNumeric();
    reference->TextFrame().TextRange().setText("Step");
    app->ActiveWindow()->selectText(reference, 1, 2);
    tools.roundedRectanglesNumeric();
    EXPECT_EQ(messages(),
              (std::vector<std::string>{
                  "Please select only rounded rectangles.", "Please select at least two rounded rectangles.",
                  "Please select at least one rounded rectangle.", "Please select at least one rounded rectangle.",
                  "Please finish editing the text and select the rounded rectangles themselves."}));
    presentation->Close();
    tools.roundedRectangles();
    EXPECT_EQ(messages(), (std::vector<std::string>{"Please open a presentation first."}));
    EXPECT_TRUE(driver.modalForms.empty());
}

}  // namespace
