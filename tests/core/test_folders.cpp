// Folders made with their parents, the temporary and cache folders, and file names typed by users.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/file_names.h"
#include "core/folders.h"
#include "tests/core/core_fixture.h"
#include "tests/support/fault_fs.h"

namespace {

using testing_core::CoreFixture;

class Folders : public CoreFixture {};

TEST_F(Folders, CreateFolderMakesEveryMissingParentOnce) {
    plorin::createFolder(root + "a/b/c/");
    EXPECT_TRUE(std::filesystem::is_directory(root + "a/b/c"));
    plorin::createFolder(root + "a/b/c");
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Folders, CreateFolderStopsWhenParentsCanNeverExist) {
    // A disk on which no folder can be created.
    test_support::FaultyFileSystem fs(test_support::failCall(test_support::FsCall::createFolder, 1, true, EACCES));
    platform::useFileSystem(&fs);
    plorin::createFolder("/x/y/z/");
    EXPECT_EQ(fs.pathsOf(test_support::FsCall::createFolder), std::vector<std::string>{"/x"})
        << "tried, refused, and that ends it";
    ASSERT_EQ(reportedLocations(), std::vector<std::string>{"Globals, createFolder"});
    EXPECT_NE(plorin::reportedErrors()[0].error.Description.find("/x/"), std::string::npos);
}

TEST_F(Folders, CreateFolderUnderAFileIsReported) {
    writeFile(root + "file");
    plorin::createFolder(root + "file/sub/");
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"Globals, createFolder"});
}

TEST_F(Folders, SpecialFoldersAreNeverEmptyOrTheBareRoot) {
    shell.temp = root + "tmp";
    EXPECT_EQ(plorin::getTmpPath(), root + "tmp/");
    shell.temp = "";
    EXPECT_EQ(plorin::getTmpPath(), "/tmp/");
    shell.temp = "/";
    EXPECT_EQ(plorin::getTmpPath(), "/tmp/");
    shell.cache = "/var/cache/x";
    EXPECT_EQ(plorin::getInternetCachePath(), "/var/cache/x/");
    shell.cache = "/";
    EXPECT_EQ(plorin::getInternetCachePath(), "/tmp/varnotel-cache/");
    shell.cache = "";
    EXPECT_EQ(plorin::getInternetCachePath(), "/tmp/varnotel-cache/");
}

TEST_F(Folders, FileNamesWithReservedCharactersAreInvalid) {
    for (const char* bad : {"a:b", "a\tb", "a/b", "a\\b", "a*", "a?", "<a>", "a|b", "\"a\"", "a\nb", "a\rb"})
        EXPECT_FALSE(plorin::isValidFileName(bad)) << bad;
    EXPECT_TRUE(plorin::isValidFileName("Quarterly review - 2026 final"));
    EXPECT_TRUE(plorin::isValidFileName(""));
}

}  // namespace
