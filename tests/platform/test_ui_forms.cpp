// Forms worked by a scripted driver: the show/hide/unload cycle, message boxes inside
// handlers, controls that ignore the user, and change handlers that run only on a change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/ui_driver.h"
#include "platform/ui_forms.h"

using namespace platform;

namespace {

// A dialog as the system writes them: controls as named members, handlers bound in the constructor.
class NameForm : public Form {
public:
    NameForm() : Form("frmName") {
        btnOK.onClick = [this] { btnOK_Click(); };
        btnCancel.onClick = [this] { Unload(); };
        btnAsk.onClick = [this] { answer = MsgBox("Keep " + tbName.Text() + "?", vbYesNo + vbQuestion, "Name"); };
        tbName.onChange = [this] { log.push_back("change:" + tbName.Text()); };
        chkRemember.onClick = [this] { log.push_back("remember:" + std::to_string(chkRemember.Value())); };
        optA.onClick = [this] { log.push_back("optA"); };
        cboSize.onChange = [this] { log.push_back("size:" + cboSize.Text()); };
        vsbZoom.onChange = [this] { log.push_back("zoom:" + std::to_string(vsbZoom.Value())); };
    }

    TextBox tbName{*this, "tbName"};
    CommandButton btnOK{*this, "btnOK"};
    CommandButton btnCancel{*this, "btnCancel"};
    CommandButton btnAsk{*this, "btnAsk"};
    CheckBox chkRemember{*this, "chkRemember"};
    OptionButton optA{*this, "optA"};
    ComboBox cboSize{*this, "cboSize"};
    ScrollBar vsbZoom{*this, "vsbZoom"};
    Label lbl0{*this, "lbl(0)"};

    std::vector<std::string> log;
    int answer = 0;

    void Form_Load() override { log.push_back("load"); }
    void Form_Activate() override { log.push_back("activate"); }
    void Form_Unload() override { log.push_back("unload"); }

private:
    void btnOK_Click() {
        log.push_back("ok");
        Hide();
    }
};

class OuterForm : public Form {
public:
    OuterForm() : Form("frmOuter") {
        btnMore.onClick = [this] { inner.Show(true); };
    }
    CommandButton btnMore{*this, "btnMore"};
    NameForm inner;
};

class UiFormTest : public ::testing::Test {
protected:
    ScriptedDriver driver;
    ScopedUiDriver scope{driver};
};

TEST_F(UiFormTest, ModalShowReturnsAfterTheDriverTypedAndClickedOK) {
    NameForm form;
    driver.queueForm("frmName", [](Form& f) {
        EXPECT_TRUE(f.Visible());
        driver::setText(f, "tbName", "Ada");
        driver::click(f, "btnOK");
    });
    form.Show(true);
    EXPECT_EQ(form.tbName.Text(), "Ada");
    EXPECT_TRUE(form.loaded());
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.log, (std::vector<std::string>{"load", "activate", "change:Ada", "ok"}));
    EXPECT_EQ(driver.modalForms, std::vector<std::string>{"frmName"});
}

TEST_F(UiFormTest, AFormTheDriverLeavesOpenIsHiddenWhenShowReturns) {
    NameForm form;
    driver.queueForm("*", [](Form&) {});
    form.Show(true);
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(form.loaded());
}

TEST_F(UiFormTest, MessageBoxInsideAHandlerIsAnsweredFromTheQueue) {
    NameForm form;
    driver.messageAnswers = {vbNo};
    driver.queueForm("frmName", [](Form& f) {
        driver::setText(f, "tbName", "Ada");
        driver::click(f, "btnAsk");
        driver::click(f, "btnCancel");
    });
    form.Show(true);
    EXPECT_EQ(form.answer, vbNo);
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0].text, "Keep Ada?");
    EXPECT_EQ(driver.messages[0].style, vbYesNo + vbQuestion);
    EXPECT_EQ(driver.messages[0].title, "Name");
    EXPECT_EQ(driver.messages[0].answer, vbNo);
    EXPECT_FALSE(form.loaded());
}

TEST_F(UiFormTest, NestedModalFormsAreWorkedInsideOneAnother) {
    OuterForm outer;
    driver.queueForm("frmOuter", [](Form& f) {
        driver::click(f, "btnMore");
        EXPECT_TRUE(f.Visible());
        f.Hide();
    });
    driver.queueForm("*", [](Form& f) { driver::click(f, "btnOK"); });
    outer.Show(true);
    EXPECT_EQ(driver.modalForms, (std::vector<std::string>{"frmOuter", "frmName"}));
    EXPECT_FALSE(outer.inner.Visible());
    EXPECT_FALSE(outer.Visible());
}

TEST_F(UiFormTest, UnansweredDialogsThrowNamingTheirText) {
    NameForm form;
    form.Load();
    EXPECT_THROW(
        {
            try {
                form.btnAsk.click();
            } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), "no answer queued for message box: Keep ?");
                throw;
            }
        },
        std::runtime_error);
    EXPECT_TRUE(driver.messages.empty());
    EXPECT_THROW(InputBox("Name?", "t"), std::runtime_error);
    EXPECT_THROW(driver.fileDialog("Open", "/"), std::runtime_error);

    // An unscripted modal form fails the Show and is left hidden.
    EXPECT_THROW(form.Show(true), std::runtime_error);
    EXPECT_FALSE(form.Visible());

    driver.onUnansweredMessage = [](const MessageBoxCall& call) { return call.style == vbYesNo ? vbYes : vbOK; };
    EXPECT_EQ(MsgBox("Sure?", vbYesNo, "t"), vbYes);
    EXPECT_EQ(driver.messages.back().answer, vbYes);
}

TEST_F(UiFormTest, UnloadThenLoadRunsFormLoadAgain) {
    NameForm form;
    form.Load();
    form.Load();
    form.Show(false);
    EXPECT_TRUE(form.Visible());
    form.Unload();
    form.Unload();  // not loaded: nothing
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.loaded());
    form.Load();
    EXPECT_EQ(form.log, (std::vector<std::string>{"load", "activate", "unload", "load"}));
}

TEST_F(UiFormTest, ControlsAreFoundByTheirExactName) {
    NameForm form;
    EXPECT_EQ(form.control("lbl(0)"), &form.lbl0);
    EXPECT_EQ(form.control("lbl"), nullptr);
    EXPECT_EQ(&form.get<TextBox>("tbName"), &form.tbName);
    EXPECT_THROW(form.get<CheckBox>("tbName"), std::runtime_error);
    EXPECT_THROW(Label(form, "tbName"), std::logic_error);  // a second control of that name
    {
        Label extra(form, "lbl(1)");
        EXPECT_EQ(form.control("lbl(1)"), &extra);
    }
    EXPECT_EQ(form.control("lbl(1)"), nullptr);
}

TEST_F(UiFormTest, ControlsTheUserCannotReachIgnoreClicks) {
    NameForm form;
    int clicks = 0;
    form.btnOK.onClick = [&] { ++clicks; };
    form.btnOK.click();  // form not loaded
    form.Load();
    form.btnOK.Enabled = false;
    form.btnOK.click();
    EXPECT_FALSE(driver::click(form, "btnOK"));
    form.btnOK.Enabled = true;
    form.btnOK.Visible = false;
    form.btnOK.click();
    form.chkRemember.Enabled = false;
    EXPECT_FALSE(driver::check(form, "chkRemember", 1));
    form.tbName.Locked = true;
    EXPECT_FALSE(driver::setText(form, "tbName", "x"));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(form.chkRemember.Value(), 0);
    EXPECT_EQ(form.tbName.Text(), "");
    form.btnOK.Visible = true;
    EXPECT_TRUE(driver::click(form, "btnOK"));
    EXPECT_EQ(clicks, 1);
}

TEST_F(UiFormTest, ControlsInAHiddenOrDisabledFrameCannotBeReached) {
    class PagedForm : public Form {
    public:
        PagedForm() : Form("frmPaged") {
            chk.Container = &page;
            list.Container = &page;
            list.Checkboxes = true;
            for (const char* text : {"First", "Second"}) {
                ListItem row;
                row.text = text;
                list.listItems.push_back(row);
            }
        }
        Frame outer{*this, "outer"};
        Frame page{*this, "page"};
        CheckBox chk{*this, "chk"};
        ListView list{*this, "list"};
        ListView plain{*this, "plain"};
    } form;
    form.page.Container = &form.outer;
    form.Load();
    EXPECT_TRUE(driver::check(form, "chk", 1));
    EXPECT_TRUE(driver::checkItem(form, "list", "Second", true));
    EXPECT_TRUE(form.list.listItems[1].checked);
    // A frame two levels up counts as much as the one around the control.
    form.outer.Visible = false;
    EXPECT_FALSE(driver::check(form, "chk", 0));
    EXPECT_FALSE(driver::checkItem(form, "list", "First", true));
    form.outer.Visible = true;
    form.page.Enabled = false;
    EXPECT_FALSE(driver::check(form, "chk", 0));
    EXPECT_EQ(form.chk.Value(), 1);
    EXPECT_FALSE(form.list.listItems[0].checked);
    // A row that is not there, or a list without check boxes, is the scenario's mistake.
    form.page.Enabled = true;
    EXPECT_THROW(driver::checkItem(form, "list", "Third", true), std::runtime_error);
    EXPECT_THROW(driver::checkItem(form, "plain", "First", true), std::runtime_error);
}

TEST_F(UiFormTest, DriverActionsNameTheFormAndControlWhenTheyCannotApply) {
    NameForm form;
    form.Load();
    try {
        driver::click(form, "btnNope");
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "form frmName has no control btnNope");
    }
    try {
        driver::setText(form, "btnOK", "x");
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "cannot type into control btnOK on form frmName: it is a CommandButton");
    }
    EXPECT_THROW(driver::check(form, "tbName", 1), std::runtime_error);
    EXPECT_THROW(driver::choose(form, "chkRemember", 0), std::runtime_error);
    EXPECT_THROW(driver::scroll(form, "cboSize", 1), std::runtime_error);
    EXPECT_THROW(driver::choose(form, "cboSize", std::string("Huge")), std::runtime_error);
    EXPECT_THROW(driver::choose(form, "cboSize", 3), NumberedError);
}

TEST_F(UiFormTest, ChangeHandlersRunOnlyOnAChange) {
    NameForm form;
    form.Load();
    form.log.clear();
    form.tbName.setText("a");
    form.tbName.setText("a");
    form.chkRemember.setValue(1);
    form.chkRemember.setValue(1);
    form.chkRemember.click();  // checked -> unchecked
    form.optA.setValue(false);
    form.optA.click();
    form.optA.click();
    form.cboSize.AddItem("Small");
    form.cboSize.AddItem("Large");
    driver::choose(form, "cboSize", std::string("Large"));
    form.cboSize.setListIndex(1);
    form.cboSize.setText("Small");  // the choice follows the text
    EXPECT_EQ(form.cboSize.ListIndex(), 0);
    form.cboSize.setListIndex(-1);
    EXPECT_EQ(form.cboSize.Text(), "");
    form.vsbZoom.setValue(0);
    EXPECT_EQ(form.log, (std::vector<std::string>{"change:a", "remember:1", "remember:0", "optA", "size:Large",
                                                  "size:Small", "size:"}));
    EXPECT_THROW(form.chkRemember.setValue(3), NumberedError);
}

TEST_F(UiFormTest, ListsKeepTheirChoiceWhenItemsAreRemoved) {
    NameForm form;
    for (const char* s : {"a", "b", "c"}) form.cboSize.AddItem(s);
    form.cboSize.setListIndex(2);
    form.cboSize.RemoveItem(0);
    EXPECT_EQ(form.cboSize.ListIndex(), 1);
    EXPECT_EQ(form.cboSize.Text(), "c");
    form.cboSize.RemoveItem(1);
    EXPECT_EQ(form.cboSize.ListIndex(), -1);
    EXPECT_EQ(form.cboSize.ListCount(), 1);
    EXPECT_EQ(form.cboSize.itemData.size(), 1u);
}

TEST_F(UiFormTest, ScrollBarsClampIntoTheirRangeWhicheverWayRound) {
    NameForm form;
    struct Case {
        int min, max, set, expected;
    } cases[] = {
        {0, 100, 150, 100},
        {0, 100, -5, 0},
        // An up-down from 1 to 10 holds the negated value.
        {-10, -1, 0, -1},
        {-10, -1, -20, -10},
        {-1, -10, -4, -4},
        {-1, -10, 3, -1},
    };
    for (const Case& c : cases) {
        form.vsbZoom.Min = c.min;
        form.vsbZoom.Max = c.max;
        form.vsbZoom.setValue(c.set);
        EXPECT_EQ(form.vsbZoom.Value(), c.expected) << c.min << ".." << c.max << " set " << c.set;
    }
}

}  // namespace

namespace {

TEST_F(UiFormTest, AFieldThatRefusesItsValueKeepsTheFocusAndTheNextActionHasNoEffect) {
    NameForm form;
    form.Load();
    int validations = 0;
    form.tbName.onValidate = [&](bool& cancel) {
        ++validations;
        cancel = form.tbName.Text().empty();
    };
    EXPECT_TRUE(driver::setText(form, "tbName", ""));
    EXPECT_EQ(form.ActiveControl(), &form.tbName);
    // Typing into the same field again validates nothing; leaving it does.
    EXPECT_TRUE(driver::setText(form, "tbName", ""));
    EXPECT_EQ(validations, 0);
    EXPECT_FALSE(driver::click(form, "btnOK"));
    EXPECT_FALSE(driver::check(form, "chkRemember", 1));
    EXPECT_EQ(form.chkRemember.Value(), 0);
    EXPECT_EQ(validations, 2);
    EXPECT_TRUE(form.loaded());
    EXPECT_EQ(form.ActiveControl(), &form.tbName);

    EXPECT_TRUE(driver::setText(form, "tbName", "Ann"));
    EXPECT_TRUE(driver::click(form, "btnOK"));
    EXPECT_EQ(form.ActiveControl(), &form.btnOK);

    // A disabled field is not asked; SetFocus moves the focus without asking.
    form.SetFocus(form.tbName);
    form.tbName.setText("");
    form.tbName.Enabled = false;
    EXPECT_TRUE(driver::setText(form, "cboSize", "L"));
    EXPECT_EQ(validations, 3);
}

TEST_F(UiFormTest, AControlThatCausesNoValidationIsReachedPastARefusedValue) {
    NameForm form;
    form.Load();
    form.tbName.onValidate = [&](bool& cancel) { cancel = form.tbName.Text().empty(); };
    form.btnCancel.CausesValidation = false;
    EXPECT_TRUE(driver::setText(form, "tbName", ""));
    EXPECT_FALSE(driver::click(form, "btnOK"));
    EXPECT_TRUE(driver::click(form, "btnCancel"));
    EXPECT_FALSE(form.loaded());
}

// Enter works the default button and Esc the cancel button, through the same gate as a
// click; a form without them, and any other key, gets the key itself.
TEST_F(UiFormTest, EnterAndEscWorkTheDefaultAndCancelButtons) {
    struct KeyForm : NameForm {
        std::vector<int> keys;
        void Form_KeyPress(int key) override { keys.push_back(key); }
    } form;
    form.Load();
    EXPECT_TRUE(driver::typeKeys(form, "a{ENTER}"));
    EXPECT_EQ(form.keys, (std::vector<int>{'a', vbKeyReturn}));  // no default button yet
    form.btnOK.Default = true;
    form.btnCancel.Cancel = true;
    form.btnCancel.CausesValidation = false;
    form.tbName.onValidate = [&](bool& cancel) { cancel = form.tbName.Text().empty(); };
    EXPECT_TRUE(driver::setText(form, "tbName", ""));
    EXPECT_FALSE(driver::pressKey(form, vbKeyReturn));  // the refused value keeps the focus
    EXPECT_TRUE(form.Visible() || form.loaded());
    EXPECT_TRUE(driver::setText(form, "tbName", "Ann"));
    form.Show(false);
    EXPECT_TRUE(driver::typeKeys(form, "{enter}"));
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.log.back(), "ok");
    EXPECT_TRUE(driver::setText(form, "tbName", ""));
    form.btnCancel.Enabled = false;
    EXPECT_FALSE(driver::typeKeys(form, "{ESC}"));  // a disabled button takes no key
    form.btnCancel.Enabled = true;
    EXPECT_TRUE(driver::typeKeys(form, "{ESC}"));  // Cancel goes past the refused value
    EXPECT_FALSE(form.loaded());
    EXPECT_EQ(form.keys.size(), 2u);
}

// A tree whose labels the form lets the user edit, refusing names that start with "x".
class TreeForm : public Form {
public:
    TreeForm() : Form("frmTree") {
        tree.LabelEdit = true;
        tree.nodes = {
            {"1ID", "One", "", true, "", 1}, {"2ID", "Two", "1ID", true, "", 2}, {"3ID", "Three", "", true, "", 1}};
        tree.onAfterLabelEdit = [this](const std::string& text, bool& cancel) {
            edits.push_back(std::to_string(tree.editingIndex()) + ":" + text);
            cancel = !text.empty() && text[0] == 'x';
        };
    }
    TreeView tree{*this, "tree"};
    std::vector<std::string> edits;
};

TEST_F(UiFormTest, TreeLabelsAreEditedOnTheSelectedNodeAndTheFormMayRefuseThem) {
    TreeForm form;
    form.Load();
    EXPECT_FALSE(driver::editLabel(form, "tree", "None")) << "no node selected";
    EXPECT_TRUE(driver::choose(form, "tree", std::string("Two")));
    EXPECT_TRUE(driver::editLabel(form, "tree", "Deux"));
    EXPECT_TRUE(driver::editLabel(form, "tree", "xDeux"));  // refused: the label stays
    EXPECT_EQ(form.tree.nodes[1].text, "Deux");
    EXPECT_EQ(form.edits, (std::vector<std::string>{"1:Deux", "1:xDeux"}));
    EXPECT_EQ(form.tree.editingIndex(), -1);

    // An edit the form started is finished by the next label typed, wherever the selection is.
    form.tree.selectNode(2);
    form.tree.StartLabelEdit();
    EXPECT_EQ(form.tree.editingIndex(), 2);
    form.tree.selectNode(0);  // a click elsewhere ends it, as Escape
    EXPECT_EQ(form.tree.editingIndex(), -1);
    EXPECT_FALSE(form.tree.endLabelEdit("Drei"));
    EXPECT_EQ(form.tree.nodes[2].text, "Three");

    form.tree.clear();
    EXPECT_EQ(form.tree.selectedIndex, -1);
    form.tree.StartLabelEdit();  // nothing to edit
    EXPECT_EQ(form.tree.editingIndex(), -1);

    form.tree.LabelEdit = false;
    form.tree.nodes = {{"1ID", "One", "", false, "", 0}};
    form.tree.selectNode(0);
    EXPECT_FALSE(driver::editLabel(form, "tree", "Eins")) << "labels the user may not edit";
    EXPECT_THROW(driver::editLabel(form, "nope", "x"), std::runtime_error);
}

}  // namespace
