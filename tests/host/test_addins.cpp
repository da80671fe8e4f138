// COM add-ins: connecting and disconnecting, failures, shutdown order, and add-in libraries
// found through a registration file.
#include <sys/stat.h>

#include "host_test_support.h"

using namespace host;
using host_test::hostErrorOf;
using Calls = std::vector<std::string>;

namespace {

class Echo : public AutomationObject {
public:
    std::string invoke(const std::string&, const std::vector<std::string>&) override { return "echo"; }
};

// An in-process add-in that writes its lifecycle calls into a shared list.
class Recorder : public AddIn {
public:
    Recorder(std::string name, Calls& calls, bool refuseConnection = false, bool failDisconnection = false)
        : name_(std::move(name)), calls_(calls), refuse_(refuseConnection), failOff_(failDisconnection) {}
    ~Recorder() override { calls_.push_back(name_ + " released"); }
    void OnConnection(HostObject& app, int mode, COMAddIn* inst) override {
        calls_.push_back(name_ + " OnConnection " + std::to_string(mode) +
                         (dynamic_cast<Application*>(&app) ? " app" : " ?") + (inst ? " inst" : ""));
        if (refuse_) throw platform::NumberedError(1234, "refused");
    }
    void OnDisconnection(int mode) override {
        calls_.push_back(name_ + " OnDisconnection " + std::to_string(mode));
        if (failOff_) throw std::runtime_error("cleanup failed");
    }
    void OnAddInsUpdate() override {}
    void OnStartupComplete() override { calls_.push_back(name_ + " OnStartupComplete"); }
    void OnBeginShutdown() override { calls_.push_back(name_ + " OnBeginShutdown"); }
    std::shared_ptr<AutomationObject> object() override { return echo_; }

private:
    std::string name_;
    Calls& calls_;
    bool refuse_, failOff_;
    std::shared_ptr<Echo> echo_ = std::make_shared<Echo>();
};

AddInFactory recorder(const std::string& name, Calls& calls, bool refuse = false, bool failOff = false) {
    return [=, &calls] { return std::make_unique<Recorder>(name, calls, refuse, failOff); };
}

}  // namespace

TEST(COMAddIns, ConnectDisconnectAndConnectAgain) {
    Calls calls;
    Application app("16.0");
    auto& addIn = app.COMAddIns().add("Test.AddIn", "A test add-in", recorder("a", calls));
    EXPECT_EQ(&app.COMAddIns().Item("test.addin"), &addIn);
    EXPECT_FALSE(addIn.Connect());
    EXPECT_EQ(addIn.Object(), nullptr);

    addIn.setConnect(true);
    EXPECT_TRUE(addIn.Connect());
    EXPECT_EQ(addIn.Object()->invoke("x", {}), "echo");
    addIn.setConnect(true);  // already connected: nothing happens
    addIn.setConnect(false);
    EXPECT_EQ(addIn.Object(), nullptr);
    addIn.setConnect(true);
    EXPECT_EQ(calls,
              (Calls{"a OnConnection 0 app inst", "a OnDisconnection 1", "a released", "a OnConnection 0 app inst"}));
}

TEST(COMAddIns, TheHostsStartConnectsEveryAddInThenTellsEachStartedOneThatTheStartIsComplete) {
    Calls calls;
    Application app("14.0");
    app.COMAddIns().add("A.AddIn", "", recorder("a", calls));
    app.COMAddIns().add("B.AddIn", "", recorder("b", calls, /*refuse=*/true));
    auto& c = app.COMAddIns().add("C.AddIn", "", recorder("c", calls));
    c.setConnect(true);  // connected before the start: neither connected again nor told
    calls.clear();

    EXPECT_EQ(app.COMAddIns().startUp(), 1);
    EXPECT_EQ(calls,
              (Calls{"a OnConnection 1 app inst", "b OnConnection 1 app inst", "b released", "a OnStartupComplete"}));
    EXPECT_TRUE(app.COMAddIns().Item("A.AddIn").Connect());
    EXPECT_FALSE(app.COMAddIns().Item("B.AddIn").Connect());
}

TEST(COMAddIns, FailedConnectionReleasesTheAddInAndKeepsItsNumber) {
    Calls calls;
    Application app("16.0");
    auto& addIn = app.COMAddIns().add("Test.Refuses", "", recorder("r", calls, true));
    EXPECT_EQ(hostErrorOf([&] { addIn.setConnect(true); }), 1234);
    EXPECT_FALSE(addIn.Connect());
    EXPECT_EQ(calls, (Calls{"r OnConnection 0 app inst", "r released"}));

    auto& empty = app.COMAddIns().add("Test.Nothing", "", [] { return std::unique_ptr<AddIn>(); });
    EXPECT_EQ(hostErrorOf([&] { empty.setConnect(true); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { app.COMAddIns().add("TEST.NOTHING", "", nullptr); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { app.COMAddIns().Item("Test.Missing"); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { app.COMAddIns().Item(3); }), E_FAIL);
}

TEST(COMAddIns, FailingDisconnectionStillReleases) {
    Calls calls;
    Application app("16.0");
    auto& addIn = app.COMAddIns().add("Test.Sticky", "", recorder("s", calls, false, true));
    addIn.setConnect(true);
    addIn.setConnect(false);
    EXPECT_FALSE(addIn.Connect());
    EXPECT_EQ(calls.back(), "s released");
}

TEST(COMAddIns, ShutdownDisconnectsInReverseOrderBeforeThePresentationsGo) {
    Calls calls;
    {
        Application app("16.0");
        app.COMAddIns().add("One", "", recorder("1", calls)).setConnect(true);
        app.COMAddIns().add("Two", "", recorder("2", calls));  // never connected
        app.COMAddIns().add("Three", "", recorder("3", calls)).setConnect(true);
        calls.clear();
    }
    EXPECT_EQ(calls, (Calls{"3 OnBeginShutdown", "1 OnBeginShutdown", "3 OnDisconnection 0", "3 released",
                            "1 OnDisconnection 0", "1 released"}));
}

namespace {

struct Registrations : ::testing::Test {
    host_test::ScratchDir dir;
    Application app{"16.0"};

    // A registration file in the scratch folder naming the fixture library by a relative path.
    std::string registrationFile(const std::string& extra = "") {
        const auto library = std::filesystem::relative(VARNOTEL_TEST_ADDIN_FIXTURE, dir.folder());
        const auto file = dir.file("addins.reg");
        host_test::writeAll(file,
                            "# test add-ins\r\n\n"
                            "Fixture.Echo\t" +
                                library.string() + "\tEchoes\r\n" + "Fixture.Refuses\t" + library.string() + "\n" +
                                extra);
        return file;
    }
};

}  // namespace

TEST_F(Registrations, AddInsFromALibraryConnectAndDisconnect) {
    ASSERT_EQ(app.COMAddIns().loadRegistrations(
                  registrationFile("Fixture.Unknown\t" + std::string(VARNOTEL_TEST_ADDIN_FIXTURE) + "\n")),
              3);
    auto& echo = app.COMAddIns().Item("Fixture.Echo");
    EXPECT_EQ(echo.Description(), "Echoes");
    echo.setConnect(true);
    ASSERT_EQ(app.Presentations().Count(), 1);
    auto deck = app.Presentations().Item(1);
    EXPECT_EQ(deck->Tags().Item("state"), "connected");
    EXPECT_EQ(echo.Object()->invoke("Echo", {"a", "b"}), "ab");
    echo.setConnect(false);
    EXPECT_EQ(deck->Tags().Item("state"), "disconnected");
    echo.setConnect(true);  // the library is still loaded
    EXPECT_TRUE(echo.Connect());

    auto& refuses = app.COMAddIns().Item("Fixture.Refuses");
    try {
        refuses.setConnect(true);
        ADD_FAILURE() << "connected";
    } catch (const HostError& e) {
        EXPECT_EQ(e.number(), E_FAIL);
        EXPECT_STREQ(e.what(), "fixture refuses to connect");
    }
    EXPECT_FALSE(refuses.Connect());
    EXPECT_EQ(hostErrorOf([&] { app.COMAddIns().Item("Fixture.Unknown").setConnect(true); }), E_FAIL);
}

TEST_F(Registrations, AMissingLibraryFailsOnConnectWithTheLoaderMessage) {
    host_test::writeAll(dir.file("missing.reg"), "Fixture.Gone\tlibnot-there.so\tgone\n");
    ASSERT_EQ(app.COMAddIns().loadRegistrations(dir.file("missing.reg")), 1);
    auto& gone = app.COMAddIns().Item(1);
    try {
        gone.setConnect(true);
        ADD_FAILURE() << "connected";
    } catch (const HostError& e) {
        EXPECT_EQ(e.number(), E_FAIL);
        EXPECT_NE(std::string(e.what()).find(dir.file("libnot-there.so")), std::string::npos) << e.what();
    }
    EXPECT_FALSE(gone.Connect());
}

TEST_F(Registrations, UnreadableOrMalformedFilesAreRefused) {
    EXPECT_EQ(hostErrorOf([&] { app.COMAddIns().loadRegistrations(dir.file("none.reg")); }), E_FAIL);
    host_test::writeAll(dir.file("bad.reg"), "Only.ProgId\n");
    EXPECT_EQ(hostErrorOf([&] { app.COMAddIns().loadRegistrations(dir.file("bad.reg")); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { app.COMAddIns().loadRegistrations(registrationFile("Fixture.Echo\tx.so\n")); }),
              E_FAIL);
    // A FIFO in the file's place is refused at once instead of blocking the host's start.
    ASSERT_EQ(::mkfifo(dir.file("fifo.reg").c_str(), 0600), 0);
    EXPECT_EQ(hostErrorOf([&] { app.COMAddIns().loadRegistrations(dir.file("fifo.reg")); }), E_FAIL);
    host_test::writeAll(dir.file("huge.reg"), std::string(2 << 20, '#'));
    EXPECT_EQ(hostErrorOf([&] { app.COMAddIns().loadRegistrations(dir.file("huge.reg")); }), E_FAIL);
    host_test::writeAll(dir.file("latin1.reg"), "Fixture.Caf\xE9\tx.so\n");
    EXPECT_EQ(hostErrorOf([&] { app.COMAddIns().loadRegistrations(dir.file("latin1.reg")); }), E_FAIL);
}

TEST_F(Registrations, AFileSavedAsUtf16IsReadLikeUtf8) {
    const std::string utf8 = "Fixture.Echo\t" +
                             std::filesystem::relative(VARNOTEL_TEST_ADDIN_FIXTURE, dir.folder()).string() +
                             "\tEcho \xC3\xA9t\xC3\xA9\r\n";
    std::string utf16 = "\xFF\xFE";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        // Only ASCII and two-byte sequences here: enough to stand for an editor's UTF-16.
        unsigned c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0xC0) c = ((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
        utf16 += static_cast<char>(c & 0xFF);
        utf16 += static_cast<char>(c >> 8);
    }
    host_test::writeAll(dir.file("utf16.reg"), utf16);
    ASSERT_EQ(app.COMAddIns().loadRegistrations(dir.file("utf16.reg")), 1);
    EXPECT_EQ(app.COMAddIns().Item("Fixture.Echo").Description(), "Echo \xC3\xA9t\xC3\xA9");
}
