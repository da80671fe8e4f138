// What a user of a registry store sees, the same for the memory and the file registry.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <optional>

#include "platform/registry_store.h"
#include "tests/support/temp_folder.h"

using namespace platform;

namespace {

constexpr auto HKCU = RootKey::CurrentUser;
const std::string kKey = "Software\\Varnotel\\Test";

enum class Kind { Memory, File };

class RegistryBehaviour : public ::testing::TestWithParam<Kind> {
protected:
    void SetUp() override {
        if (GetParam() == Kind::Memory) {
            store_ = makeMemoryRegistry();
            return;
        }
        temp_.emplace("varnotel-registry");
        path_ = temp_->file("config/registry.reg");  // the folder is made by the first write
        store_ = makeFileRegistry(path_);
    }

    // What another process would see: a fresh store on the same file.
    std::unique_ptr<RegistryStore> reopened() { return GetParam() == Kind::File ? makeFileRegistry(path_) : nullptr; }

    RegistryStore& store() { return *store_; }
    std::optional<test_support::TempFolder> temp_;
    std::string path_;
    std::unique_ptr<RegistryStore> store_;
};

RegValue sz(const std::string& text) { return {REG_SZ, text + '\0'}; }

}  // namespace

TEST_P(RegistryBehaviour, MissingKeysAndValuesReadAsNothing) {
    EXPECT_FALSE(store().keyExists(HKCU, kKey));
    EXPECT_EQ(store().queryValue(HKCU, kKey, "Name"), std::nullopt);
    EXPECT_TRUE(store().valueNames(HKCU, kKey).empty());
    EXPECT_TRUE(store().subKeyNames(HKCU, kKey).empty());
    ASSERT_TRUE(store().createKey(HKCU, kKey));
    EXPECT_EQ(store().queryValue(HKCU, kKey, "Name"), std::nullopt);
}

TEST_P(RegistryBehaviour, EmptyTextIsNotMissing) {
    ASSERT_TRUE(store().setValue(HKCU, kKey, "Empty", sz("")));
    ASSERT_TRUE(store().setValue(HKCU, kKey, "NoZero", {REG_SZ, ""}));
    EXPECT_EQ(store().queryValue(HKCU, kKey, "Empty"), sz(""));
    EXPECT_EQ(store().queryValue(HKCU, kKey, "NoZero"), (RegValue{REG_SZ, ""}));
}

TEST_P(RegistryBehaviour, EveryTypeAndAwkwardTextComesBackByteForByte) {
    std::string allBytes;
    for (int b = 0; b < 300; ++b) allBytes += static_cast<char>(b & 0xFF);
    const std::vector<std::pair<std::string, RegValue>> table = {
        {"plain", sz("hello")},
        {"quotes and backslashes", sz(R"(C:\Program Files\"x"\ \\server\)")},
        {"line breaks", sz("one\ntwo\r\nthree\n")},
        {"utf-8", sz("Gr\xC3\xBC\xC3\x9F"
                     "e \xE2\x82\xAC \xF0\x9F\x98\x80")},
        {"not utf-8", sz("\xFF\xFE")},
        {"no terminating zero", {REG_SZ, "abc"}},
        {"inner zero", {REG_SZ, std::string("a\0b\0", 4)}},
        {"expand", {REG_EXPAND_SZ, std::string("%HOME%\\x\0", 9)}},
        {"multi", {REG_MULTI_SZ, std::string("a\0bc\0\0", 6)}},
        {"binary", {REG_BINARY, allBytes}},
        {"empty binary", {REG_BINARY, ""}},
        {"dword", {REG_DWORD, std::string("\x0a\x00\x00\x80", 4)}},
        {"short dword", {REG_DWORD, std::string("\x01\x02", 2)}},
        {"big-endian dword", {REG_DWORD_BIG_ENDIAN, std::string("\x00\x00\x01\x00", 4)}},
        {"none", {REG_NONE, ""}},
        {"qword", {11, std::string("\x01\x00\x00\x00\x00\x00\x00\x00", 8)}},
        {"name \"quoted\" \\ \n", sz("x")},
        {"", sz("the default value")},
        {"@", sz("a value named @")},
    };
    for (const auto& [name, value] : table) ASSERT_TRUE(store().setValue(HKCU, kKey, name, value)) << name;
    auto again = reopened();
    for (RegistryStore* reader : {&store(), again.get()}) {
        if (!reader) continue;
        for (const auto& [name, value] : table) EXPECT_EQ(reader->queryValue(HKCU, kKey, name), value) << name;
    }
}

TEST_P(RegistryBehaviour, WritingAValueCreatesEveryParentKey) {
    ASSERT_TRUE(store().setValue(HKCU, "Software\\A\\B\\C", "v", sz("1")));
    for (const char* key : {"Software", "Software\\A", "Software\\A\\B", "Software\\A\\B\\C", "\\Software\\A\\"})
        EXPECT_TRUE(store().keyExists(HKCU, key)) << key;
    EXPECT_EQ(store().subKeyNames(HKCU, "Software\\A"), std::vector<std::string>{"B"});
    EXPECT_FALSE(store().keyExists(RootKey::LocalMachine, "Software\\A"));
    EXPECT_TRUE(store().keyExists(HKCU, ""));  // a root key always exists
}

TEST_P(RegistryBehaviour, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
    ASSERT_TRUE(store().setValue(HKCU, "Software\\MixedCase", "Colour", sz("red")));
    ASSERT_TRUE(store().setValue(HKCU, "SOFTWARE\\mixedcase", "COLOUR", sz("blue")));
    EXPECT_EQ(store().queryValue(HKCU, "software\\MIXEDCASE", "colour"), sz("blue"));
    EXPECT_EQ(store().valueNames(HKCU, "Software\\MixedCase"), std::vector<std::string>{"Colour"});
    EXPECT_EQ(store().subKeyNames(HKCU, "Software"), std::vector<std::string>{"MixedCase"});
}

TEST_P(RegistryBehaviour, EnumerationKeepsTheOrderOfWriting) {
    for (const char* name : {"c", "a", "b"}) ASSERT_TRUE(store().setValue(HKCU, kKey, name, sz(name)));
    for (const char* sub : {"Zeta", "Alpha", "Mu"}) ASSERT_TRUE(store().createKey(HKCU, kKey + "\\" + sub));
    ASSERT_TRUE(store().setValue(HKCU, kKey, "a", sz("changed")));
    EXPECT_EQ(store().valueNames(HKCU, kKey), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(store().subKeyNames(HKCU, kKey), (std::vector<std::string>{"Zeta", "Alpha", "Mu"}));
    ASSERT_TRUE(store().deleteValue(HKCU, kKey, "c"));
    ASSERT_TRUE(store().deleteKey(HKCU, kKey + "\\Zeta"));
    EXPECT_EQ(store().valueNames(HKCU, kKey), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(store().subKeyNames(HKCU, kKey), (std::vector<std::string>{"Alpha", "Mu"}));
    EXPECT_EQ(store().queryValue(HKCU, kKey, "b"), sz("b"));  // positions are still right
}

TEST_P(RegistryBehaviour, DeletingSaysWhetherThereWasSomethingToDelete) {
    ASSERT_TRUE(store().setValue(HKCU, kKey + "\\Sub\\Deeper", "v", sz("1")));
    ASSERT_TRUE(store().setValue(HKCU, kKey, "v", sz("1")));
    EXPECT_TRUE(store().deleteValue(HKCU, kKey, "V"));
    EXPECT_FALSE(store().deleteValue(HKCU, kKey, "v"));
    EXPECT_FALSE(store().deleteValue(HKCU, "Software\\Missing", "v"));
    EXPECT_TRUE(store().deleteKey(HKCU, kKey + "\\sub"));
    EXPECT_FALSE(store().keyExists(HKCU, kKey + "\\Sub\\Deeper"));
    EXPECT_FALSE(store().deleteKey(HKCU, kKey + "\\Sub"));
    EXPECT_FALSE(store().deleteKey(HKCU, ""));
    EXPECT_TRUE(store().keyExists(HKCU, kKey));
}

TEST_P(RegistryBehaviour, KeyNamesWithLineBreaksAreRefusedWithoutChange) {
    EXPECT_FALSE(store().createKey(HKCU, "Software\\Bad\nName"));
    EXPECT_FALSE(store().setValue(HKCU, "Software\\Bad\rName", "v", sz("1")));
    EXPECT_FALSE(store().keyExists(HKCU, "Software"));
}

INSTANTIATE_TEST_SUITE_P(Stores, RegistryBehaviour, ::testing::Values(Kind::Memory, Kind::File),
                         [](const auto& info) { return info.param == Kind::Memory ? "Memory" : "File"; });
