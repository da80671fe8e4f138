// The host's Save As dialog: what it asks, what it gives back, and the replace question.
#include "host_test_support.h"
#include "platform/ui_driver.h"

using namespace host;

namespace {

struct FileDialogTest : ::testing::Test {
    host_test::ScratchDir dir;
    Application app{"14.0"};
    platform::ScriptedDriver ui;
    platform::ScopedUiDriver scope{ui};
};

TEST_F(FileDialogTest, OkGivesTheChosenFileAndCancelGivesNone) {
    auto dialog = app.FileDialog(msoFileDialogSaveAs);
    dialog->Title = "Save it";
    ui.fileAnswers = {dir.file("new.pptx"), std::nullopt, std::string()};
    EXPECT_EQ(dialog->Show(), -1);
    EXPECT_EQ(dialog->SelectedItems(), std::vector<std::string>{dir.file("new.pptx")});
    EXPECT_EQ(dialog->Show(), 0);
    EXPECT_TRUE(dialog->SelectedItems().empty());
    EXPECT_EQ(dialog->Show(), 0);  // an empty name is no choice
    EXPECT_EQ(ui.fileDialogTitles, (std::vector<std::string>{"Save it", "Save it", "Save it"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FileDialogTest, AnExistingFileIsTakenOnlyAfterTheUserAgreesToReplaceIt) {
    const std::string existing = dir.file("old.pptx");
    std::ofstream(existing) << "x";
    auto dialog = app.FileDialog(msoFileDialogSaveAs);
    ui.fileAnswers = {existing, dir.file("other.pptx")};
    ui.messageAnswers = {platform::vbNo};
    EXPECT_EQ(dialog->Show(), -1);
    EXPECT_EQ(dialog->SelectedItems(), std::vector<std::string>{dir.file("other.pptx")});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "old.pptx already exists.\r\nDo you want to replace it?");
    EXPECT_EQ(ui.messages[0].style, platform::vbYesNo | platform::vbExclamation);

    ui.fileAnswers = {existing};
    ui.messageAnswers = {platform::vbYes};
    EXPECT_EQ(dialog->Show(), -1);
    EXPECT_EQ(dialog->SelectedItems(), std::vector<std::string>{existing});
}

TEST_F(FileDialogTest, OnlyTheSaveAsDialogIsThere) { EXPECT_THROW(app.FileDialog(msoFileDialogOpen), HostError); }

}  // namespace
