#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/registry.h"
#include "tests/core/core_fixture.h"

using platform::RegValue;
using platform::RootKey;
using plorin::getRegistry;
using plorin::setRegistry;

namespace {

const std::string kKey = plorin::kSettingsKey;

class Settings : public testing_core::CoreFixture {
protected:
    void store(const std::string& name, RegValue v, const std::string& key = kKey) {
        ASSERT_TRUE(registry->setValue(RootKey::CurrentUser, key, name, v));
    }
};

TEST_F(Settings, MissingValueGivesTheDefaultAndCreatesNothing) {
    EXPECT_EQ(getRegistry("languages", "", "1033;1031"), "1033;1031");
    EXPECT_FALSE(registry->keyExists(RootKey::CurrentUser, kKey));
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Settings, ExistingEmptyValueIsNotTheDefault) {
    setRegistry("languages", "", "");
    EXPECT_EQ(getRegistry("languages", "", "1033;1031"), "");
}

TEST_F(Settings, WriteCreatesTheWholeKeyPathAndStoresText) {
    setRegistry("statsSlideWizard", "3", "");
    auto v = registry->queryValue(RootKey::CurrentUser, kKey, "statsSlideWizard");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->type, platform::REG_SZ);
    EXPECT_EQ(v->data, std::string("3\0", 2));
    EXPECT_TRUE(registry->keyExists(RootKey::CurrentUser, "Software\\Varnotel"));
    EXPECT_EQ(getRegistry("statsSlideWizard", "", "0"), "3");
}

TEST_F(Settings, SubKeyIsAppendedAfterOneBackslash) {
    setRegistry("top", "120", "Varnotel for presentations - Efficiency Tools");
    EXPECT_TRUE(
        registry->queryValue(RootKey::CurrentUser, kKey + "\\Varnotel for presentations - Efficiency Tools", "top"));
    EXPECT_FALSE(registry->queryValue(RootKey::CurrentUser, kKey, "top"));
    EXPECT_EQ(getRegistry("top", "Varnotel for presentations - Efficiency Tools", "200"), "120");
    EXPECT_EQ(getRegistry("top", "", "200"), "200");
}

TEST_F(Settings, ValuesOfOtherTypesReadAsText) {
    store("dword", {platform::REG_DWORD, std::string("\x05\0\0\0", 4)});
    store("negative", {platform::REG_DWORD, std::string("\xff\xff\xff\xff", 4)});
    store("big", {platform::REG_DWORD_BIG_ENDIAN, std::string("\0\0\x01\x00", 4)});
    store("noTerminator", {platform::REG_SZ, "abc"});
    store("zeroLength", {platform::REG_SZ, ""});
    setenv("VARNOTEL_TEST_VAR", "expanded", 1);
    store("expand", {platform::REG_EXPAND_SZ, std::string("a%VARNOTEL_TEST_VAR%b\0", 22)});
    EXPECT_EQ(getRegistry("dword", "", "x"), "5");
    EXPECT_EQ(getRegistry("negative", "", "x"), "-1");
    EXPECT_EQ(getRegistry("big", "", "x"), "256");
    EXPECT_EQ(getRegistry("noTerminator", "", "x"), "abc");
    EXPECT_EQ(getRegistry("zeroLength", "", "x"), "");
    EXPECT_EQ(getRegistry("expand", "", "x"), "aexpandedb");
}

TEST_F(Settings, RegistryRefusesBinaryFromTextAndUnknownTypes) {
    plorin::Registry reg;
    reg.SectionKey = kKey;
    reg.ValueKey = "blob";
    reg.ValueType = platform::REG_BINARY;
    try {
        reg.setValue(plorin::Variant("text"));
        FAIL() << "binary from text must be refused";
    } catch (const platform::NumberedError& e) {
        EXPECT_EQ(e.number(), plorin::errRegistryWrite);
        EXPECT_EQ(e.source(), "plorin.Registry");
        EXPECT_EQ(std::string(e.what()).rfind("Failed to set registry value Key: '2147483649',Section: '", 0), 0u);
    }
    reg.ValueType = 11;
    EXPECT_THROW(reg.setValue(plorin::Variant("x")), platform::NumberedError);
    reg.ValueType = platform::REG_DWORD;
    reg.setValue(plorin::Variant(42));
    EXPECT_EQ(reg.Value().toText(), "42");
    EXPECT_EQ(reg.ValueType, platform::REG_DWORD);
}

TEST_F(Settings, RemoteMachineCannotBeReachedSoReadsGiveTheDefault) {
    plorin::Registry reg;
    reg.SectionKey = kKey;
    reg.ValueKey = "x";
    setRegistry("x", "local", "");
    reg.setMachine("ab");
    EXPECT_EQ(reg.Machine(), "");
    EXPECT_EQ(reg.Value().toText(), "local");
    reg.setMachine("server");
    EXPECT_EQ(reg.Machine(), "\\\\server");
    reg.Default = plorin::Variant("fallback");
    EXPECT_EQ(reg.Value().toText(), "fallback");
}

// A store whose reads or writes fail, to see the settings functions keep their promise.
class FailingStore : public platform::RegistryStore {
public:
    explicit FailingStore(platform::RegistryStore& t) : t_(t) {}
    bool failReads = false, failWrites = false;
    std::optional<RegValue> queryValue(RootKey r, const std::string& k, const std::string& n) override {
        if (failReads) throw platform::NumberedError(plorin::errInvalidArgument, "registry file unreadable");
        return t_.queryValue(r, k, n);
    }
    bool keyExists(RootKey r, const std::string& k) override { return t_.keyExists(r, k); }
    bool createKey(RootKey r, const std::string& k) override { return t_.createKey(r, k); }
    bool setValue(RootKey r, const std::string& k, const std::string& n, const RegValue& v,
                  platform::Durability d) override {
        return !failWrites && t_.setValue(r, k, n, v, d);
    }
    bool deleteValue(RootKey r, const std::string& k, const std::string& n) override { return t_.deleteValue(r, k, n); }
    bool deleteKey(RootKey r, const std::string& k) override { return t_.deleteKey(r, k); }
    std::vector<std::string> valueNames(RootKey r, const std::string& k) override { return t_.valueNames(r, k); }
    std::vector<std::string> subKeyNames(RootKey r, const std::string& k) override { return t_.subKeyNames(r, k); }

private:
    platform::RegistryStore& t_;
};

TEST_F(Settings, FailuresAreReportedOnceAndNeverReachTheCaller) {
    FailingStore failing(*registry);
    platform::useRegistryStore(&failing);
    setRegistry("a", "1", "");
    failing.failWrites = true;
    setRegistry("a", "2", "");
    failing.failWrites = false;
    failing.failReads = true;
    EXPECT_EQ(getRegistry("a", "", "default"), "");  // a failed read is not the default
    failing.failReads = false;
    EXPECT_EQ(getRegistry("a", "", "default"), "1");  // the failed write changed nothing
    ASSERT_EQ(reportedLocations(), (std::vector<std::string>{"Globals, setRegistry", "Globals, getRegistry"}));
    EXPECT_EQ(plorin::reportedErrors()[0].error.Number, plorin::errRegistryWrite);
}

}  // namespace
