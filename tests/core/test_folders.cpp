// Folders made with their parents, the temporary and cache folders, and file names typed by users.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/file_names.h"
#include "core/folders.h"
#include "tests/core/core_fixture.h"

namespace {

using testing_core::CoreFixture;

class Folders : public CoreFixture {};

TEST_F(Folders, CreateFolderMakesEveryMissingParentOnce) {
    plorin::createFolder(root + "a/b/c/");
    EXPECT_TRUE(std::filesystem::is_directory(root + "a/b/c"));
    plorin::createFolder(root + "a/b/c");
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

// A disk on which no folder can ever be created or found.

class NoFolders : public platform::ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;
    int creates = 0;
    bool folderExists(const std::string&) override { return false; }
    bool createFolder(const std::string&) override {
        ++creates;
        return false;
    }
};

TEST_F(Folders, CreateFolderStopsWhenParentsCanNeverExist) {
    NoFolders fs(platform::realFileSystem());
    platform::useFileSystem(&fs);
    plorin::createFolder("/x/y/z/");
    EXPECT_EQ(fs.creates, 1);  // "/x" is tried, refused, and that ends it
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
