#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "sim/simulator.h"

namespace {

class Simulator : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/varnotel-simtest-XXXXXX";
        dir = mkdtemp(tmpl);
        setenv("VARNOTEL_REGISTRY", (dir + "/registry.reg").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("VARNOTEL_REGISTRY");
        std::filesystem::remove_all(dir);
    }
    bool run(const std::string& scenario, std::string& transcript) {
        std::ostringstream out;
        bool ok;
        {
            sim::Simulator s({VARNOTEL_STAGE, "14.0", false}, out);
            std::istringstream in(scenario);
            ok = s.run(in);
        }
        transcript = out.str();
        return ok;
    }
    std::string dir;
};

TEST_F(Simulator, TheBuiltInDemoLoadsTheAddInFromTheInstallationAndUnloadsIt) {
    std::string t;
    ASSERT_TRUE(run(sim::builtInDemo(), t)) << t;
    EXPECT_NE(t.find("plorin.Connect connected"), std::string::npos) << t;
    EXPECT_NE(t.find("plorin.Connect disconnected"), std::string::npos) << t;
    EXPECT_EQ(t.find("ERROR"), std::string::npos) << t;
}

TEST_F(Simulator, ExampleScenariosRun) {
    for (auto& entry : std::filesystem::directory_iterator(VARNOTEL_SOURCE_DIR "/sim/examples")) {
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        std::string t;
        EXPECT_TRUE(run(text.str(), t)) << entry.path() << "\n" << t;
    }
}

TEST_F(Simulator, AMessageBoxWithoutAnAnswerFailsTheScenario) {
    std::string t;
    // Saving into the temporary folder is warned about once the event handlers are in;
    // until then an unknown command is the simplest failing line.
    EXPECT_FALSE(run("host 14.0\nfrobnicate\n", t));
    EXPECT_NE(t.find("unknown command"), std::string::npos);
}

}  // namespace
