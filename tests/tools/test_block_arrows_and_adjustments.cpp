// Block arrows on both host families, and typed adjustment values for every selected shape.
#include <cmath>

#include "autoshape_fixture.h"
#include "platform/locale.h"

namespace {

using testing_tools::AutoShapeFixture;

class BlockArrowsTest : public AutoShapeFixture {
protected:
    plorin::BlockArrows& open() {
        tools.beautifyBlockArrow();
        plorin::BlockArrows* form = tools.blockArrowsDialog();
        if (!form) throw std::runtime_error("no dialog");
        return *form;
    }
};

TEST_F(BlockArrowsTest, RibbonHostsGetTheRatioAndTheHeadLengthForEveryType) {
    start("14.0");
    std::vector<std::shared_ptr<host::Shape>> arrows;
    for (int type : {33, 34, 35, 36, 37, 38, 49, 50}) arrows.push_back(add(type, 0, 0, 200, 100));
    auto rectangle = add(host::msoShapeRoundedRectangle, 0, 0, 50, 50);
    arrows.push_back(rectangle);
    select(arrows);
    auto& form = open();
    EXPECT_EQ(form.tbAngle.Text(), "120");
    EXPECT_FALSE(form.tbAngle.Enabled);
    form.obAngle[1]->click();  // right angle
    form.btnOK.click();
    for (std::size_t i = 0; i + 1 < arrows.size(); ++i) {
        EXPECT_FLOAT_EQ(adj(arrows[i], 1), 0.5f) << arrows[i]->AutoShapeType();
        EXPECT_NEAR(adj(arrows[i], 2), 0.5f, 1e-6) << arrows[i]->AutoShapeType();
    }
    EXPECT_FLOAT_EQ(adj(rectangle, 1), 0.16667f);
    EXPECT_EQ(tools.blockArrowsDialog(), nullptr);
}

TEST_F(BlockArrowsTest, OlderHostsWriteEachTypesOwnFormula) {
    start("11.0");
    struct Case {
        int type;
        float first, second;
    };
    // Right angle (k = 0.5) on 200 x 100 arrows; shaft margin (100 - 50) / 100 / 2 = 0.25.
    const Case cases[] = {{33, 0.75f, 0.25f}, {49, 0.75f, 0.25f}, {50, 0.75f, 0.25f}, {34, 0.25f, 0.25f},
                          {37, 0.25f, 0.25f}, {35, 1.0f, 0.25f},  {36, 0.0f, 0.25f},  {38, 0.25f, 1.0f}};
    std::vector<std::shared_ptr<host::Shape>> arrows;
    for (const auto& c : cases) arrows.push_back(add(c.type, 0, 0, 200, 100));
    select(arrows);
    auto& form = open();
    form.obAngle[1]->click();
    form.btnOK.click();
    for (std::size_t i = 0; i < arrows.size(); ++i) {
        EXPECT_NEAR(adj(arrows[i], 1), cases[i].first, 1e-6) << cases[i].type;
        EXPECT_NEAR(adj(arrows[i], 2), cases[i].second, 1e-6) << cases[i].type;
    }
}

TEST_F(BlockArrowsTest, UserDefinedValuesAreCheckedBeforeOkTakesEffect) {
    start("11.0");
    auto arrow = add(host::msoShapeRightArrow, 0, 0, 200, 100);
    select({arrow});
    auto& form = open();
    form.obAngle[3]->click();
    EXPECT_TRUE(form.tbAngle.Enabled);
    for (const char* angle : {"0", "-5", "181", "abc"}) {
        form.tbAngle.setText(angle);
        form.btnOK.click();
    }
    form.tbAngle.setText("90");
    form.tbRatio.setText("ten");
    form.btnOK.click();
    form.tbRatio.setText("101");
    form.btnOK.click();
    const std::string angleMessage = "Please enter an angle in the range of 0 to 180 degrees.";
    EXPECT_EQ(messages(),
              (std::vector<std::string>{
                  angleMessage, angleMessage, angleMessage, angleMessage,
                  "Please enter a value in the range of 0 to 100 in the field 'Shaft width / arrowhead width.'",
                  "Please enter a value in the range of 0 to 100 in the field 'Shaft width / arrowhead width."}));
    EXPECT_FLOAT_EQ(adj(arrow, 1), 0.75f);  // the older hosts' default, untouched
    EXPECT_NE(tools.blockArrowsDialog(), nullptr);
    // 180 degrees: practically no head; ratio 100: the shaft as wide as the head.
    form.tbAngle.setText("180");
    form.tbRatio.setText("100");
    form.btnOK.click();
    EXPECT_NEAR(adj(arrow, 1), 1.0f, 1e-6);
    EXPECT_FLOAT_EQ(adj(arrow, 2), 0.0f);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(tools.blockArrowsDialog(), nullptr);
}

TEST_F(BlockArrowsTest, AnArrowWithoutWidthStopsTheCommandWithTheFormOpen) {
    start("11.0");
    auto good = add(host::msoShapeRightArrow, 0, 0, 200, 100);
    auto flat = add(host::msoShapeRightArrow, 0, 0, 0, 100);
    select({good, flat});
    auto& form = open();
    form.btnOK.click();
    EXPECT_EQ(reportedLocations(), (std::vector<std::string>{"BlockArrows, btnOK_Click"}));
    EXPECT_NEAR(adj(good, 2), 0.25f, 1e-6);
    EXPECT_NE(tools.blockArrowsDialog(), nullptr);
    // Cancel closes it; reopened, it starts afresh with the wide angle.
    form.obAngle[2]->click();
    form.btnCancel.click();
    EXPECT_EQ(tools.blockArrowsDialog(), nullptr);
    EXPECT_EQ(open().tbAngle.Text(), "120");
}

TEST_F(BlockArrowsTest, WithoutABlockArrowThereIsOnlyAMessage) {
    start("14.0");
    select({add(host::msoShapeRectangle, 0, 0, 10, 10)});
    tools.beautifyBlockArrow();
    app->ActiveWindow()->selectNone();
    tools.beautifyBlockArrow();
    const std::string message = "Please select at least one block arrow before invoking this function.";
    EXPECT_EQ(messages(), (std::vector<std::string>{message, message}));
    EXPECT_EQ(tools.blockArrowsDialog(), nullptr);
}

// The angle and ratio boxes are checked when they lose the focus; Enter confirms and Esc
// leaves in this dialog as in the modal ones beside it.
TEST_F(BlockArrowsTest, BoxesAreCheckedOnLeavingAndEveryShapeDialogAnswersEnterAndEsc) {
    start("14.0");
    auto arrow = add(host::msoShapeRightArrow, 0, 0, 200, 100);
    auto other = add(host::msoShapeRoundedRectangle, 300, 0, 20, 20);
    select({arrow});
    auto& form = open();
    EXPECT_TRUE(platform::driver::click(form, "obAngle(3)"));
    EXPECT_TRUE(platform::driver::setText(form, "tbAngle", "0"));
    EXPECT_FALSE(platform::driver::setText(form, "tbRatio", "30"));
    EXPECT_TRUE(platform::driver::setText(form, "tbAngle", "60"));
    EXPECT_TRUE(platform::driver::setText(form, "tbRatio", "abc"));
    EXPECT_FALSE(platform::driver::click(form, "obAngle(0)"));
    EXPECT_EQ(messages(),
              (std::vector<std::string>{
                  "Please enter an angle in the range of 0 to 180 degrees.",
                  "Please enter a value in the range of 0 to 100 in the field 'Shaft width / arrowhead width.'"}));
    EXPECT_TRUE(platform::driver::setText(form, "tbRatio", "30"));
    EXPECT_TRUE(platform::driver::typeKeys(form, "{ENTER}"));
    EXPECT_FLOAT_EQ(adj(arrow, 1), 0.3f);
    EXPECT_NEAR(adj(arrow, 2), 0.866025f, 1e-6);
    EXPECT_EQ(tools.blockArrowsDialog(), nullptr);
    EXPECT_TRUE(platform::driver::typeKeys(open(), "{ESC}"));
    EXPECT_EQ(tools.blockArrowsDialog(), nullptr);

    // The modal dialogs: Esc changes nothing, Enter confirms what was typed or chosen.
    select({arrow});
    for (const char* keys : {"{ESC}", "{ENTER}"})
        driver.queueForm("AutoShapeAdjustments", [keys](platform::Form& f) {
            platform::driver::setText(f, "tbAdj(0)", "0.25");
            platform::driver::typeKeys(f, keys);
        });
    tools.tweakAutoShapeAdjustments();
    EXPECT_FLOAT_EQ(adj(arrow, 1), 0.3f);
    tools.tweakAutoShapeAdjustments();
    EXPECT_FLOAT_EQ(adj(arrow, 1), 0.25f);
    select({arrow, other});
    for (const char* keys : {"{ESC}", "{ENTER}"})
        driver.queueForm("SwitchObjectsInput", [keys](platform::Form& f) { platform::driver::typeKeys(f, keys); });
    tools.SwitchObjects();
    EXPECT_FLOAT_EQ(arrow->Left(), 0);
    tools.SwitchObjects();
    EXPECT_FLOAT_EQ(arrow->Left(), 300);
    EXPECT_TRUE(messages().empty());
}

class Adjustments : public AutoShapeFixture {
protected:
    // Works the dialog: reads what it shows, types the texts (box index, text) and presses OK.
    void tweak(std::vector<std::pair<int, std::string>> typed) {
        driver.queueForm("AutoShapeAdjustments", [this, typed](platform::Form& f) {
            shown.clear();
            for (int i = 0; i < 8; ++i) {
                auto& box = f.get<platform::TextBox>("tbAdj(" + std::to_string(i) + ")");
                if (box.Visible) shown.push_back(box.Text());
            }
            warning = f.get<platform::Label>("lAdj(0)").Caption;
            okEnabled = f.get<platform::CommandButton>("btnOK").Enabled;
            for (const auto& [i, text] : typed)
                f.get<platform::TextBox>("tbAdj(" + std::to_string(i) + ")").setText(text);
            f.get<platform::CommandButton>("btnOK").click();
        });
        tools.tweakAutoShapeAdjustments();
    }
    std::vector<std::string> shown;
    std::string warning;
    bool okEnabled = false;
};

TEST_F(Adjustments, EverySelectedShapeGetsTheValuesItHas) {
    start("14.0");
    auto r1 = add(host::msoShapeRoundedRectangle, 0, 0, 10, 10);
    auto r2 = add(host::msoShapeRoundedRectangle, 0, 0, 10, 10);
    tweak({});
    select({r1, r2});
    tweak({{0, "0.25"}});
    EXPECT_EQ(shown, (std::vector<std::string>{"0.16667"}));
    EXPECT_FLOAT_EQ(adj(r1, 1), 0.25f);
    EXPECT_FLOAT_EQ(adj(r2, 1), 0.25f);
    // A rectangle has none: skipped while the arrow gets both values.
    auto rectangle = add(host::msoShapeRectangle, 0, 0, 10, 10);
    auto arrow = add(host::msoShapeRightArrow, 0, 0, 10, 10);
    select({rectangle, r1, arrow});
    tweak({{0, "0.3"}, {1, "0.6"}});
    EXPECT_EQ(shown, (std::vector<std::string>{"0.5", "0.5"}));
    EXPECT_FLOAT_EQ(adj(arrow, 1), 0.3f);
    EXPECT_FLOAT_EQ(adj(arrow, 2), 0.6f);
    EXPECT_FLOAT_EQ(adj(r1, 1), 0.3f);
    EXPECT_EQ(rectangle->Adjustments().Count(), 0);
    EXPECT_EQ(reportedLocations().size(), 1u);  // the first tweak had nothing selected
}

TEST_F(Adjustments, AShapeWithoutValuesLastDisablesOk) {
    start("14.0");
    auto arrow = add(host::msoShapeRightArrow, 0, 0, 10, 10);
    auto rectangle = add(host::msoShapeRectangle, 0, 0, 10, 10);
    select({arrow, rectangle});
    tweak({});
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(warning, "At least one shape in your selection does not support adjustments.");
    EXPECT_FALSE(okEnabled);
    EXPECT_FLOAT_EQ(adj(arrow, 1), 0.5f);
}

TEST_F(Adjustments, TheTextThatPassesIsTheNumberWritten) {
    start("11.0");
    auto callout = add(109, 0, 0, 10, 10);
    select({callout});
    tweak({{2, "abc"}});
    tweak({{2, "1,000"}});  // no thousands separators: refused, not written as 1
    EXPECT_EQ(messages(), (std::vector<std::string>{"Please enter a numeric value for adjustment 3.",
                                                    "Please enter a numeric value for adjustment 3."}));
    EXPECT_FLOAT_EQ(adj(callout, 3), -0.08f);
    {
        platform::ScopedDecimalSeparator comma(',');
        callout->Adjustments().setItem(1, 0.5f);
        tweak({{2, "0,5"}, {3, "0.5"}, {1, "1,000"}});
        EXPECT_EQ(shown[0], "0.5");  // shown with a point all the same
        EXPECT_FLOAT_EQ(adj(callout, 2), 1.0f);
        EXPECT_FLOAT_EQ(adj(callout, 3), 0.5f);
        EXPECT_FLOAT_EQ(adj(callout, 4), 0.5f);
    }
}

}  // namespace
