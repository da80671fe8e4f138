// What the add-ins ask of the shell: opening addresses and the help, new GUIDs, topmost windows.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "addin/connect.h"
#include "core/guid.h"
#include "core/help_topics.h"
#include "core/open_url.h"
#include "core/topmost_window.h"
#include "tests/core/core_fixture.h"

namespace {

using testing_core::CoreFixture;

class Shell : public CoreFixture {};

TEST_F(Shell, AnyFailureOfTheOpenerIsReportedWithTheUrl) {
    plorin::openURL("https://example.com/a");
    EXPECT_TRUE(plorin::reportedErrors().empty());
    for (int code : {0, 2, 31, 32}) {
        plorin::reportedErrors().clear();
        shell.openResult = code;
        plorin::openURL("https://example.com/a");
        ASSERT_EQ(plorin::reportedErrors().size(), 1u) << code;
        EXPECT_EQ(plorin::reportedErrors()[0].location,
                  "ShellExecute for URL https://example.com/a failed [" + std::to_string(code) + "]");
        EXPECT_FALSE(plorin::reportedErrors()[0].hasError);
    }
    EXPECT_EQ(shell.record.opened.size(), 5u);
}

TEST_F(Shell, HelpOpensTheProgramFoldersHelpPageAtTheContextIdsSection) {
    plorin::Connect addIn;
    addIn.OnConnection(startHost("11.0"), 0, nullptr);
    plorin::reportedErrors().clear();  // the fixture's installation has no menu file
    writeFile(root + "program/help/index.html", "<h1 id=\"contents\">Reference</h1>");
    plorin::showHelpContextID(1000);
    plorin::showHelpContextID(1182);
    EXPECT_EQ(shell.record.opened, (std::vector<std::string>{"file://" + root + "program/help/index.html#contents",
                                                             "file://" + root + "program/help/index.html#margins"}));
    for (const auto& r : plorin::reportedErrors()) ADD_FAILURE() << r.location << ": " << r.error.Description;
    addIn.OnDisconnection(0);
}

TEST_F(Shell, GuidsAreUpperCase8_4_4_4_12) {
    std::string g = plorin::getGUID();
    EXPECT_TRUE(std::regex_match(g, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}"))) << g;
    EXPECT_NE(g, plorin::getGUID());
    shell.guidAvailable = false;
    EXPECT_EQ(plorin::getGUID(), "");
}

TEST_F(Shell, HexPaddingUsesTheArgumentsSize) {
    EXPECT_EQ(plorin::padHex(std::int16_t(-1), 2), "FFFF");
    EXPECT_EQ(plorin::padHex(std::int32_t(-1), 4), "FFFFFFFF");
    EXPECT_EQ(plorin::padHex(10, 4), "000A");
    EXPECT_EQ(plorin::padHex(0x1234, 2), "1234");
}

TEST_F(Shell, TopMostIsRecordedOnTheForm) {
    platform::Form f("f");
    EXPECT_EQ(plorin::setTopMost(f, true), 1);
    EXPECT_TRUE(f.topMost);
    EXPECT_EQ(plorin::setTopMost(f, false), 0);
    EXPECT_FALSE(f.topMost);
}

}  // namespace
