// The disk as the system's procedures see it: failures are answers, never exceptions.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/filesystem.h"
#include "tests/support/temp_folder.h"

using namespace platform;

namespace {

class DiskFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = temp_.folder();
        std::ofstream(dir_ + "/file.txt") << "text";
        std::filesystem::create_directory(dir_ + "/folder");
    }

    FileSystem& disk = realFileSystem();
    test_support::TempFolder temp_{"varnotel-fs"};
    std::string dir_;
};

}  // namespace

TEST_F(DiskFiles, ExistenceTellsFilesFromFolders) {
    EXPECT_TRUE(disk.fileExists(dir_ + "/file.txt"));
    EXPECT_FALSE(disk.fileExists(dir_ + "/folder"));
    EXPECT_FALSE(disk.fileExists(dir_ + "/missing"));
    EXPECT_FALSE(disk.fileExists(""));
    EXPECT_TRUE(disk.folderExists(dir_ + "/folder"));
    EXPECT_TRUE(disk.folderExists(dir_ + "/folder/"));
    EXPECT_FALSE(disk.folderExists(dir_ + "/file.txt"));
    EXPECT_FALSE(disk.folderExists(dir_ + "/missing/"));
}

TEST_F(DiskFiles, CreatingAFolderNeedsItsParentAndANewName) {
    EXPECT_TRUE(disk.createFolder(dir_ + "/new"));
    EXPECT_FALSE(disk.createFolder(dir_ + "/new"));
    EXPECT_FALSE(disk.createFolder(dir_ + "/missing/child"));
    EXPECT_TRUE(disk.folderExists(dir_ + "/new"));
    EXPECT_TRUE(disk.canWriteIn(dir_ + "/new"));
    EXPECT_FALSE(disk.canWriteIn(dir_ + "/missing"));
    EXPECT_FALSE(disk.canWriteIn(""));
    if (::geteuid() != 0) {  // the super-user may write anywhere
        ::chmod((dir_ + "/new").c_str(), 0555);
        EXPECT_FALSE(disk.canWriteIn(dir_ + "/new"));
        ::chmod((dir_ + "/new").c_str(), 0755);
    }
}

// Durable and cached writes differ only in what reaches the disk before they return.
TEST_F(DiskFiles, WholeFilesRoundTripAndReplaceWithoutLeftovers) {
    const std::string bytes("zero\0and\xff", 9);
    for (const bool cached : {false, true}) {
        SCOPED_TRACE(cached ? "cached" : "durable");
        const auto write = [&](const std::string& path, const std::string& bytes) {
            return cached ? disk.writeAllCached(path, bytes) : disk.writeAll(path, bytes);
        };
        ASSERT_TRUE(write(dir_ + "/file.txt", cached ? "old contents, longer than the new" : "old"));
        ASSERT_TRUE(write(dir_ + "/file.txt", bytes));
        EXPECT_EQ(disk.readAll(dir_ + "/file.txt"), bytes);
        ASSERT_TRUE(write(dir_ + "/empty", ""));
        EXPECT_EQ(disk.readAll(dir_ + "/empty"), "");
        EXPECT_EQ(disk.listFiles(dir_), (std::vector<std::string>{"empty", "file.txt"}));
        EXPECT_EQ(disk.readAll(dir_ + "/missing"), std::nullopt);
        EXPECT_EQ(disk.readAll(dir_ + "/folder"), std::nullopt);
        EXPECT_FALSE(write(dir_ + "/missing/file", "x"));
        EXPECT_FALSE(write(dir_ + "/folder", "x"));
        EXPECT_EQ(disk.listFiles(dir_), (std::vector<std::string>{"empty", "file.txt"}));
    }
    // A cached write of the bytes a file already holds leaves that file in place.
    const auto inode = [&](const char* name) {
        struct stat info {};
        return stat((dir_ + "/" + name).c_str(), &info) == 0 ? info.st_ino : 0;
    };
    const auto before = inode("file.txt");
    ASSERT_TRUE(disk.writeAllCached(dir_ + "/file.txt", bytes));
    EXPECT_EQ(inode("file.txt"), before);
    ASSERT_TRUE(disk.writeAllCached(dir_ + "/file.txt", std::string("zero\0and\xfe", 9)));
    EXPECT_EQ(disk.readAll(dir_ + "/file.txt"), std::string("zero\0and\xfe", 9));
    // The middle way, file flushed and rename left to the system, replaces the same way.
    ASSERT_TRUE(writeFileAtomically(dir_ + "/file.txt", "flushed", Durability::flushed));
    EXPECT_EQ(disk.readAll(dir_ + "/file.txt"), "flushed");
    EXPECT_FALSE(writeFileAtomically(dir_ + "/folder", "x", Durability::flushed));
    EXPECT_EQ(disk.listFiles(dir_), (std::vector<std::string>{"empty", "file.txt"}));
}

TEST_F(DiskFiles, ReplacingAFileKeepsItsPermissions) {
    chmod((dir_ + "/file.txt").c_str(), 0640);
    ASSERT_TRUE(disk.writeAll(dir_ + "/file.txt", "new"));
    struct stat info {};
    ASSERT_EQ(stat((dir_ + "/file.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    chmod((dir_ + "/file.txt").c_str(), 0600);
    ASSERT_TRUE(disk.writeAllCached(dir_ + "/file.txt", "newer"));
    ASSERT_EQ(stat((dir_ + "/file.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(DiskFiles, DeletingTouchesOnlyFiles) {
    EXPECT_FALSE(disk.deleteFile(dir_ + "/folder"));
    EXPECT_TRUE(disk.folderExists(dir_ + "/folder"));
    EXPECT_TRUE(disk.deleteFile(dir_ + "/file.txt"));
    EXPECT_FALSE(disk.fileExists(dir_ + "/file.txt"));
    EXPECT_FALSE(disk.deleteFile(dir_ + "/file.txt"));
}

TEST_F(DiskFiles, CopyingOverAnExistingFileNeedsPermission) {
    ASSERT_TRUE(disk.writeAll(dir_ + "/target", "old"));
    EXPECT_FALSE(disk.copyFile(dir_ + "/file.txt", dir_ + "/target", false));
    EXPECT_EQ(disk.readAll(dir_ + "/target"), "old");
    EXPECT_TRUE(disk.copyFile(dir_ + "/file.txt", dir_ + "/target", true));
    EXPECT_EQ(disk.readAll(dir_ + "/target"), "text");
    EXPECT_TRUE(disk.copyFile(dir_ + "/file.txt", dir_ + "/fresh", false));
    EXPECT_FALSE(disk.copyFile(dir_ + "/missing", dir_ + "/other", true));
    EXPECT_FALSE(disk.copyFile(dir_ + "/folder", dir_ + "/other", true));
}

TEST_F(DiskFiles, LastModifiedHasSubSecondPrecision) {
    const timespec times[2] = {{1700000000, 250000000}, {1700000000, 250000000}};
    ASSERT_EQ(utimensat(AT_FDCWD, (dir_ + "/file.txt").c_str(), times, 0), 0);
    auto seconds = disk.lastModified(dir_ + "/file.txt");
    ASSERT_TRUE(seconds);
    EXPECT_NEAR(*seconds, 1700000000.25, 1e-6);
    EXPECT_EQ(disk.lastModified(dir_ + "/missing"), std::nullopt);
}

TEST_F(DiskFiles, ListingsAreSortedNamesOfOneKind) {
    for (const char* name : {"b", "A", "c"}) disk.writeAll(dir_ + "/" + name, "");
    disk.createFolder(dir_ + "/sub");
    EXPECT_EQ(disk.listFiles(dir_ + "/"), (std::vector<std::string>{"A", "b", "c", "file.txt"}));
    EXPECT_EQ(disk.listFolders(dir_), (std::vector<std::string>{"folder", "sub"}));
    EXPECT_TRUE(disk.listFiles(dir_ + "/missing").empty());
    EXPECT_TRUE(disk.listFolders(dir_ + "/file.txt").empty());
}

TEST_F(DiskFiles, OnlyRegularFilesAreReadAndNothingWaitsForAWriter) {
    ASSERT_EQ(mkfifo((dir_ + "/fifo").c_str(), 0600), 0);
    int error = 0;
    EXPECT_FALSE(readFileBytes(dir_ + "/fifo", error));
    EXPECT_EQ(error, EINVAL);
    EXPECT_FALSE(disk.readAll(dir_ + "/fifo"));
    EXPECT_FALSE(readFileBytes(dir_ + "/folder", error));
    EXPECT_EQ(error, EISDIR);
    EXPECT_EQ(disk.readAll(dir_ + "/file.txt"), "text");  // a regular file reads as before
    // A bound refuses a longer file without reading it whole; one at the bound reads.
    EXPECT_FALSE(readFileBytes(dir_ + "/file.txt", error, nullptr, 3));
    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(readFileBytes(dir_ + "/file.txt", error, nullptr, 4), "text");
}

TEST_F(DiskFiles, ReplacingALinkWritesThroughToItsTarget) {
    std::filesystem::create_symlink("file.txt", dir_ + "/link");
    ASSERT_TRUE(writeFileAtomically(dir_ + "/link", "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir_ + "/link"));
    EXPECT_EQ(disk.readAll(dir_ + "/file.txt"), "new");
}

TEST_F(DiskFiles, LinksAreFollowedToTheFileTheyEndIn) {
    std::filesystem::create_symlink("file.txt", dir_ + "/one");
    std::filesystem::create_symlink(dir_ + "/one", dir_ + "/two");
    EXPECT_EQ(resolveLinks(dir_ + "/two"), dir_ + "/file.txt");
    std::filesystem::create_symlink("not-yet", dir_ + "/dangling");
    EXPECT_EQ(resolveLinks(dir_ + "/dangling"), dir_ + "/not-yet");
    std::filesystem::create_symlink("loop-b", dir_ + "/loop-a");
    std::filesystem::create_symlink("loop-a", dir_ + "/loop-b");
    EXPECT_EQ(resolveLinks(dir_ + "/loop-a"), dir_ + "/loop-a");
    EXPECT_EQ(resolveLinks(dir_ + "/file.txt"), dir_ + "/file.txt");
}
