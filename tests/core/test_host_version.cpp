// Which host the add-in runs in, and the undo fix it runs there before every command.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "addin/connect.h"
#include "core/host_version.h"
#include "core/undo_fix.h"
#include "tests/core/core_fixture.h"

namespace {

using testing_core::CoreFixture;

class HostVersion : public CoreFixture {};

TEST_F(HostVersion, HostVersionIsOneEntryOfAFamilysList) {
    using plorin::HostFamily;
    plorin::Connect connect;
    const std::pair<const char*, HostFamily> cases[] = {
        {"9.0", HostFamily::commandBars},
        {"10.0", HostFamily::commandBars},
        {"11.0", HostFamily::commandBars},
        {"12.0", HostFamily::ribbon},
        {"14.0", HostFamily::ribbon},
        {"15.0", HostFamily::other},
        {"16.0", HostFamily::other},
        // Parts of an entry are no version of the list (a substring test took both for command bars).
        {"1.0", HostFamily::other},
        {"", HostFamily::other}};
    for (auto [version, family] : cases) {
        auto& app = startHost(version);
        connect.OnConnection(app, 0, nullptr);
        EXPECT_EQ(plorin::hostFamily(), family) << version;
        EXPECT_EQ(plorin::isHostVersion(plorin::kCommandBarHosts), family == HostFamily::commandBars) << version;
        EXPECT_EQ(plorin::isHostVersion(plorin::kRibbonHosts), family == HostFamily::ribbon) << version;
        connect.OnDisconnection(0);
    }
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

}  // namespace
