#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "addin/connect.h"
#include "core/collection.h"
#include "core/file_names.h"
#include "core/folders.h"
#include "core/guid.h"
#include "core/help_topics.h"
#include "core/host_version.h"
#include "core/numbers.h"
#include "core/open_url.h"
#include "core/rotation.h"
#include "core/topmost_window.h"
#include "core/undo_fix.h"
#include "core/variant.h"
#include "tests/core/core_fixture.h"

namespace {

using testing_core::CoreFixture;

class Helpers : public CoreFixture {};

TEST_F(Helpers, HostVersionIsOneEntryOfAFamilysList) {
    using plorin::HostFamily;
    plorin::Connect connect;
    const std::pair<const char*, HostFamily> cases[] = {
        {"9.0", HostFamily::commandBars}, {"10.0", HostFamily::commandBars}, {"11.0", HostFamily::commandBars},
        {"12.0", HostFamily::ribbon},     {"14.0", HostFamily::ribbon},      {"15.0", HostFamily::other},
        {"16.0", HostFamily::other},
        // Parts of an entry are no version of the list (a substring test took both for command bars).
        {"1.0", HostFamily::other},       {"", HostFamily::other}};
    for (auto [version, family] : cases) {
        auto& app = startHost(version);
        connect.OnConnection(app, 0, nullptr);
        EXPECT_EQ(plorin::hostFamily(), family) << version;
        EXPECT_EQ(plorin::isHostVersion(plorin::kCommandBarHosts), family == HostFamily::commandBars) << version;
        EXPECT_EQ(plorin::isHostVersion(plorin::kRibbonHosts), family == HostFamily::ribbon) << version;
        connect.OnDisconnection(0);
    }
}

struct Item {
    std::string name;
    plorin::Variant value;
};

TEST_F(Helpers, SortingKeepsEqualValuesInTheirOrder) {
    plorin::Collection<Item> c;
    c.Add({"a", 3});
    c.Add({"b", 1});
    c.Add({"c", 2});
    c.Add({"d", 1});
    auto value = [](const Item& i) { return i.value; };
    auto names = [&] {
        std::string s;
        for (auto& i : c) s += i.name;
        return s;
    };
    plorin::SortCollection<Item>(c, value, true);
    EXPECT_EQ(names(), "bdca");
    plorin::SortCollection<Item>(c, value, false);
    EXPECT_EQ(names(), "acbd");
}

TEST_F(Helpers, SortingWithAKeyPropertyReAddsMovedItemsUnderTheirKeys) {
    plorin::Collection<Item> c;
    c.Add({"zeta", "z"}, "zeta");
    c.Add({"alpha", "a"}, "alpha");
    plorin::SortCollection<Item>(c, [](const Item& i) { return i.value; }, true,
                               [](const Item& i) { return plorin::Variant(i.name); });
    EXPECT_EQ(c.Item(1).name, "alpha");
    EXPECT_EQ(c.Item("ALPHA").name, "alpha");
    EXPECT_EQ(c.Item("zeta").name, "zeta");
}

TEST_F(Helpers, RotationIsBroughtIntoOneTurn) {
    EXPECT_DOUBLE_EQ(plorin::normalizeRotation(90.0f), 90.0);
    EXPECT_DOUBLE_EQ(plorin::normalizeRotation(0.0f), 0.0);
    EXPECT_DOUBLE_EQ(plorin::normalizeRotation(359.75f), -0.25);
    EXPECT_DOUBLE_EQ(plorin::normalizeRotation(359.5f), -0.5);  // 359.5 rounds to 360 (halves to even)
    EXPECT_DOUBLE_EQ(plorin::normalizeRotation(358.5f), 358.5);  // 358.5 rounds to 358
    EXPECT_DOUBLE_EQ(plorin::normalizeRotation(-90.0f), 270.0);
    EXPECT_DOUBLE_EQ(plorin::normalizeRotation(450.0f), 90.0);
}

TEST_F(Helpers, CreateFolderMakesEveryMissingParentOnce) {
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

TEST_F(Helpers, CreateFolderStopsWhenParentsCanNeverExist) {
    NoFolders fs(platform::realFileSystem());
    platform::useFileSystem(&fs);
    plorin::createFolder("/x/y/z/");
    EXPECT_EQ(fs.creates, 1);  // "/x" is tried, refused, and that ends it
    ASSERT_EQ(reportedLocations(), std::vector<std::string>{"Globals, createFolder"});
    EXPECT_NE(plorin::reportedErrors()[0].error.Description.find("/x/"), std::string::npos);
}

TEST_F(Helpers, CreateFolderUnderAFileIsReported) {
    writeFile(root + "file");
    plorin::createFolder(root + "file/sub/");
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"Globals, createFolder"});
}

TEST_F(Helpers, FileNamesWithReservedCharactersAreInvalid) {
    for (const char* bad : {"a:b", "a\tb", "a/b", "a\\b", "a*", "a?", "<a>", "a|b", "\"a\"", "a\nb", "a\rb"})
        EXPECT_FALSE(plorin::isValidFileName(bad)) << bad;
    EXPECT_TRUE(plorin::isValidFileName("Quarterly review - 2026 final"));
    EXPECT_TRUE(plorin::isValidFileName(""));
}

TEST_F(Helpers, HexPaddingUsesTheArgumentsSize) {
    EXPECT_EQ(plorin::padHex(std::int16_t(-1), 2), "FFFF");
    EXPECT_EQ(plorin::padHex(std::int32_t(-1), 4), "FFFFFFFF");
    EXPECT_EQ(plorin::padHex(10, 4), "000A");
    EXPECT_EQ(plorin::padHex(0x1234, 2), "1234");
}

TEST_F(Helpers, GuidsAreUpperCase8_4_4_4_12) {
    std::string g = plorin::getGUID();
    EXPECT_TRUE(std::regex_match(g, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}"))) << g;
    EXPECT_NE(g, plorin::getGUID());
    shell.guidAvailable = false;
    EXPECT_EQ(plorin::getGUID(), "");
}

TEST_F(Helpers, SpecialFoldersAreNeverEmptyOrTheBareRoot) {
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

TEST_F(Helpers, AnyFailureOfTheOpenerIsReportedWithTheUrl) {
    plorin::openURL("https://example.com/a");
    EXPECT_TRUE(plorin::reportedErrors().empty());
    for (int code : {0, 2, 31, 32}) {
        plorin::reportedErrors().clear();
        shell.openResult = code;
        plorin::openURL("https://example.com/a");
        ASSERT_EQ(plorin::reportedErrors().size(), 1u) << code;
        EXPECT_EQ(plorin::reportedErrors()[0].location, "ShellExecute for URL https://example.com/a failed [" + std::to_string(code) + "]");
        EXPECT_FALSE(plorin::reportedErrors()[0].hasError);
    }
    EXPECT_EQ(shell.record.opened.size(), 5u);
}

TEST_F(Helpers, TopMostIsRecordedOnTheForm) {
    platform::Form f("f");
    EXPECT_EQ(plorin::setTopMost(f, true), 1);
    EXPECT_TRUE(f.topMost);
    EXPECT_EQ(plorin::setTopMost(f, false), 0);
    EXPECT_FALSE(f.topMost);
}

TEST_F(Helpers, NumbersAreReadWithAPointWhateverTheLocale) {
    EXPECT_DOUBLE_EQ(plorin::toNumber(" 2.5 "), 2.5);
    EXPECT_DOUBLE_EQ(plorin::toNumber("-3"), -3);
    EXPECT_THROW(plorin::toNumber("abc"), platform::NumberedError);
    EXPECT_THROW(plorin::toNumber(""), platform::NumberedError);
    EXPECT_THROW(plorin::toNumber("2,5"), platform::NumberedError);
}

TEST_F(Helpers, WholeNumbersOfAnyLengthReadAsBefore) {
    // Short whole numbers take a quicker way than the rest; both must agree.
    EXPECT_EQ(plorin::toNumber("1112"), 1112);
    EXPECT_EQ(plorin::toNumber(" 007 "), 7);
    EXPECT_EQ(plorin::toNumber("999999999999999"), 999999999999999.0);     // 15 digits
    EXPECT_EQ(plorin::toNumber("12345678901234567"), 12345678901234567.0);  // beyond: rounded as a double
    EXPECT_EQ(plorin::toNumber("-42"), -42);
    EXPECT_TRUE(std::signbit(plorin::toNumber("-0")));
    EXPECT_EQ(plorin::toNumber("+5"), 5);
    EXPECT_EQ(plorin::toNumber("&H1F"), 31);
    for (const char* bad : {"-", "--1", "1-", "1 2", "12a", "0x10"})
        EXPECT_THROW(plorin::toNumber(bad), platform::NumberedError) << bad;
}

class UndoFix : public CoreFixture {
protected:
    void connect(const std::string& version) {
        startHost(version);
        addIn.OnConnection(*app, 0, nullptr);
    }
    plorin::Connect addIn;
};

TEST_F(UndoFix, RunsTheMacroOfTheWindowlessUndoPresentationAndClosesIt) {
    connect("14.0");
    auto p = app->Presentations().Add(false);
    p->SaveAs(root + "program/plorinUndoFix.ppt");
    p->Close();
    plorin::runUndoFix();
    EXPECT_EQ(app->macrosRun(), std::vector<std::string>{"plorinUndoFix.ppt!plorin.plorinUndoFix"});
    EXPECT_EQ(app->Presentations().Count(), 0);
    EXPECT_TRUE(plorin::reportedErrors().empty());
    addIn.OnDisconnection(0);
}

TEST_F(UndoFix, AMissingUndoPresentationCostsNothingButTheAttempt) {
    connect("14.0");
    plorin::runUndoFix();
    EXPECT_TRUE(app->macrosRun().empty());
    EXPECT_TRUE(plorin::reportedErrors().empty());
    addIn.OnDisconnection(0);
}

TEST_F(UndoFix, HelpOpensTheProgramFoldersHelpPageAtTheContextIdsSection) {
    connect("11.0");
    plorin::reportedErrors().clear();  // the fixture's installation has no menu file
    writeFile(root + "program/help/index.html", "<h1 id=\"contents\">Reference</h1>");
    plorin::showHelpContextID(1000);
    plorin::showHelpContextID(1182);
    EXPECT_EQ(shell.record.opened, (std::vector<std::string>{"file://" + root + "program/help/index.html#contents",
                                                             "file://" + root + "program/help/index.html#margins"}));
    for (const auto& r : plorin::reportedErrors()) ADD_FAILURE() << r.location << ": " << r.error.Description;
    addIn.OnDisconnection(0);
}

}  // namespace
