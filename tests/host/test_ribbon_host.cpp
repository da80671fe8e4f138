#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "host/host.h"
#include "host/ribbon_host.h"

namespace {

using host::RibbonHost;
using host::RibbonValue;
using Outcome = host::RibbonHost::Outcome;

constexpr const char* kOpen =
    "<customUI xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\" onLoad=\"onLoad\">"
    "<ribbon><tabs><tab id=\"t\" label=\"Tab\"><group id=\"g\" label=\"Group\">";
constexpr const char* kClose = "</group></tab></tabs></ribbon></customUI>";

std::string definition(const std::string& controls) { return std::string(kOpen) + controls + kClose; }

// Menus inside menus, `depth` of them, as a damaged or hostile definition may hold.
std::string nestedMenus(int depth) {
    std::string xml;
    for (int i = 0; i < depth; ++i) xml += "<menu id=\"m" + std::to_string(i) + "\" label=\"M\">";
    xml += "<button id=\"b\"/>";
    for (int i = 0; i < depth; ++i) xml += "</menu>";
    return xml;
}

// An add-in whose ribbon callbacks are functions the test sets; it writes down every call.
class FakeRibbonAddIn : public host::AddIn, public host::IRibbonExtensibility {
public:
    using Callback = std::function<RibbonValue(const host::IRibbonControl&, const std::vector<RibbonValue>&)>;

    std::string xml;
    bool failCustomUI = false;
    std::map<std::string, Callback> callbacks;
    std::vector<std::string> calls;  // "name id"
    std::vector<std::string> ribbonIds;
    host::IRibbonUI* ui = nullptr;

    FakeRibbonAddIn() {
        callbacks["onLoad"] = [this](const host::IRibbonControl&, const std::vector<RibbonValue>& a) {
            ui = std::get<host::IRibbonUI*>(a.at(0));
            return RibbonValue{};
        };
    }

    void OnConnection(host::HostObject&, int, host::COMAddIn*) override {}
    void OnDisconnection(int) override { ui = nullptr; }
    void OnAddInsUpdate() override {}
    void OnStartupComplete() override {}
    void OnBeginShutdown() override {}
    host::IRibbonExtensibility* ribbon() override { return this; }

    std::string GetCustomUI(const std::string& ribbonId) override {
        ribbonIds.push_back(ribbonId);
        if (failCustomUI) throw std::runtime_error("no definition today");
        return xml;
    }
    bool hasCallback(const std::string& name) const override { return callbacks.count(name) > 0; }
    RibbonValue invokeCallback(const std::string& name, const host::IRibbonControl& control,
                               const std::vector<RibbonValue>& args) override {
        calls.push_back(name + " " + control.Id);
        auto it = callbacks.find(name);
        if (it == callbacks.end()) throw std::runtime_error("no callback " + name);
        return it->second(control, args);
    }

    int count(const std::string& call) const { return static_cast<int>(std::count(calls.begin(), calls.end(), call)); }
};

class RibbonHostTest : public ::testing::Test {
protected:
    // Connects a fresh fake add-in with the definition to a host of that version.
    FakeRibbonAddIn& connect(const std::string& xml, const std::string& version = "14.0",
                             std::function<void(FakeRibbonAddIn&)> prepare = nullptr) {
        app = std::make_unique<host::Application>(version);
        app->COMAddIns().add("fake.Connect", "", [this, xml, prepare] {
            auto a = std::make_unique<FakeRibbonAddIn>();
            a->xml = xml;
            if (prepare) prepare(*a);
            addIn = a.get();
            return a;
        });
        app->COMAddIns().Item("fake.Connect").setConnect(true);
        return *addIn;
    }
    RibbonHost& ribbon() { return app->Ribbon(); }
    std::string logText() {
        std::string all;
        for (auto& l : ribbon().log()) all += l + "\n";
        return all;
    }

    std::unique_ptr<host::Application> app;
    FakeRibbonAddIn* addIn = nullptr;
};

// ---- Loading -------------------------------------------------------------------------------

TEST_F(RibbonHostTest, ARibbonHostLoadsTheDefinitionCallsOnLoadAndDrawsEveryControl) {
    auto& a = connect(definition("<button id=\"b1\" label=\"One\" getEnabled=\"getEnabled\" onAction=\"onAction\"/>"),
                      "14.0", [](FakeRibbonAddIn& f) {
                          f.callbacks["getEnabled"] = [](auto&, auto&) { return RibbonValue{false}; };
                          f.callbacks["onAction"] = [](auto&, auto&) { return RibbonValue{}; };
                      });
    EXPECT_EQ(a.ribbonIds, std::vector<std::string>{"Microsoft.PowerPoint.Presentation"});
    EXPECT_NE(a.ui, nullptr);
    EXPECT_EQ(a.count("getEnabled b1"), 1);
    auto controls = ribbon().controls();
    ASSERT_EQ(controls.size(), 3u);
    EXPECT_EQ(controls[0]->kind, "tab");
    EXPECT_EQ(controls[1]->depth, 1);
    EXPECT_EQ(controls[2]->id, "b1");
    EXPECT_EQ(controls[2]->label, "One");
    EXPECT_EQ(controls[2]->parentId, "g");
    EXPECT_FALSE(controls[2]->enabled);
    EXPECT_TRUE(ribbon().missingCallbacks("fake.Connect").empty());
}

TEST_F(RibbonHostTest, CommandBarHostsNeverAskForARibbon) {
    auto& a = connect(definition("<button id=\"b1\" label=\"One\"/>"), "11.0");
    EXPECT_TRUE(a.ribbonIds.empty());
    EXPECT_TRUE(ribbon().controls().empty());
    EXPECT_TRUE(app->COMAddIns().Item("fake.Connect").Connect());
}

TEST_F(RibbonHostTest, CallbacksTheAddInLacksAreListedAndTheirControlsKeepTheirDefaults) {
    connect(definition("<button id=\"b1\" label=\"One\" getLabel=\"getNothing\" onAction=\"doNothing\"/>"));
    EXPECT_EQ(ribbon().missingCallbacks("fake.Connect"),
              (std::vector<std::string>{"getNothing (b1 getLabel)", "doNothing (b1 onAction)"}));
    EXPECT_EQ(ribbon().control("b1")->label, "One");
    EXPECT_EQ(ribbon().click("b1"), Outcome::failed);
}

struct Refusal {
    const char* name;
    std::string xml;
    const char* why;
};

class RefusedDefinitions : public RibbonHostTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedDefinitions, ShowNothingAndSayWhy) {
    auto& a = connect(GetParam().xml);
    EXPECT_TRUE(ribbon().controls().empty());
    EXPECT_EQ(a.ui, nullptr) << "onLoad must not be called";
    EXPECT_NE(logText().find(GetParam().why), std::string::npos) << logText();
    EXPECT_TRUE(app->COMAddIns().Item("fake.Connect").Connect());
}

INSTANTIATE_TEST_SUITE_P(
    RibbonHost, RefusedDefinitions,
    ::testing::Values(
        Refusal{"Empty", "", "an empty ribbon definition; no ribbon shown"},
        Refusal{"NotXml", "<customUI", "not well-formed"},
        Refusal{"OtherNamespace", "<customUI xmlns=\"urn:other\"><ribbon/></customUI>", "not a customUI document"},
        Refusal{"UnknownElement", definition("<knob id=\"k\"/>"), "not allowed inside <group>"},
        Refusal{"MisspeltAttribute", definition("<button id=\"b\" getEnable=\"getEnabled\"/>"),
                "unknown attribute getEnable"},
        Refusal{"DuplicateId", definition("<button id=\"b\"/><button id=\"b\"/>"), "the id b is used twice"},
        Refusal{"MissingId", definition("<button label=\"x\"/>"), "needs exactly one of id"},
        Refusal{"ButtonInTab", std::string(kOpen) + "</group><button id=\"x\"/><group id=\"h\">" + kClose,
                "not allowed inside <tab>"},
        Refusal{"MenusNestedWithoutEnd", definition(nestedMenus(20000)), "nested more than 64 elements deep"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RibbonHostTest, AFailingGetCustomUIShowsNothingButTheAddInStaysConnected) {
    connect(definition("<button id=\"b\"/>"), "14.0", [](FakeRibbonAddIn& f) { f.failCustomUI = true; });
    EXPECT_TRUE(ribbon().controls().empty());
    EXPECT_NE(logText().find("GetCustomUI failed: no definition today"), std::string::npos);
    EXPECT_TRUE(app->COMAddIns().Item("fake.Connect").Connect());
}

TEST_F(RibbonHostTest, AFailingCallbackLeavesTheDefaultAndIsLogged) {
    connect(definition("<button id=\"b\" label=\"Static\" getLabel=\"getLabel\" getImage=\"getImage\"/>"), "14.0",
            [](FakeRibbonAddIn& f) {
                f.callbacks["getLabel"] = [](auto&, auto&) -> RibbonValue { throw std::runtime_error("broken"); };
                f.callbacks["getImage"] = [](auto&, auto&) { return RibbonValue{42}; };
            });
    const auto* b = ribbon().control("b");
    EXPECT_EQ(b->failures, (std::vector<std::string>{"getLabel: broken"})) << "no picture before its tab is shown";
    ASSERT_TRUE(ribbon().showTabOf("b"));
    EXPECT_EQ(ribbon().shownTab(), "t");
    EXPECT_EQ(b->label, "Static");
    EXPECT_EQ(b->image, nullptr);
    EXPECT_EQ(b->failures,
              (std::vector<std::string>{"getLabel: broken", "getImage: returned a value of the wrong type"}));
    EXPECT_NE(logText().find("getLabel failed for b: broken"), std::string::npos);
}

TEST_F(RibbonHostTest, PicturesAreAskedForOnlyWhileTheirTabIsShown) {
    auto& a = connect(definition("<button id=\"b\" getImage=\"getImage\" onAction=\"onAction\"/>"), "14.0",
                      [](FakeRibbonAddIn& f) {
                          f.callbacks["getImage"] = [](auto&, auto&) { return RibbonValue{}; };
                          f.callbacks["onAction"] = [](auto&, auto&) { return RibbonValue{}; };
                      });
    ribbon().controls();
    EXPECT_EQ(a.count("getImage b"), 0) << "the host starts on its own first tab";
    a.ui->Invalidate();
    ribbon().controls();
    EXPECT_EQ(a.count("getImage b"), 0);
    EXPECT_EQ(ribbon().click("b"), host::RibbonHost::Outcome::done) << "a click opens the control's tab";
    EXPECT_EQ(a.count("getImage b"), 1);
    a.ui->InvalidateControl("b");
    ribbon().controls();
    EXPECT_EQ(a.count("getImage b"), 2);
    EXPECT_FALSE(ribbon().showTabOf("nothing"));
}

// ---- Redrawing -----------------------------------------------------------------------------

TEST_F(RibbonHostTest, TheHostAsksAgainOnlyForWhatWasInvalidated) {
    auto& a = connect(
        definition("<button id=\"b1\" getEnabled=\"getEnabled\"/><button id=\"b2\" getEnabled=\"getEnabled\"/>"),
        "14.0", [](FakeRibbonAddIn& f) { f.callbacks["getEnabled"] = [](auto&, auto&) { return RibbonValue{true}; }; });
    ribbon().controls();
    EXPECT_EQ(a.count("getEnabled b1"), 1) << "looking again without a change asks nothing";

    a.ui->InvalidateControl("b2");
    EXPECT_EQ(a.count("getEnabled b2"), 1) << "invalidating alone does not draw";
    ribbon().controls();
    EXPECT_EQ(a.count("getEnabled b1"), 1);
    EXPECT_EQ(a.count("getEnabled b2"), 2);

    a.ui->Invalidate();
    ribbon().draw();
    EXPECT_EQ(a.count("getEnabled b1"), 2);
    EXPECT_EQ(a.count("getEnabled b2"), 3);
}

TEST_F(RibbonHostTest, DrawingFollowsWhatTheCallbacksSayNow) {
    bool enabled = false;
    auto& a = connect(definition("<button id=\"b\" getEnabled=\"getEnabled\" onAction=\"onAction\"/>"), "14.0",
                      [&](FakeRibbonAddIn& f) {
                          f.callbacks["getEnabled"] = [&](auto&, auto&) { return RibbonValue{enabled}; };
                          f.callbacks["onAction"] = [](auto&, auto&) { return RibbonValue{}; };
                      });
    EXPECT_EQ(ribbon().click("b"), Outcome::disabled);
    EXPECT_EQ(a.count("onAction b"), 0);
    enabled = true;
    EXPECT_EQ(ribbon().click("b"), Outcome::disabled) << "not redrawn before an invalidation";
    a.ui->Invalidate();
    EXPECT_EQ(ribbon().click("b"), Outcome::done);
    EXPECT_EQ(a.count("onAction b"), 1);
}

// ---- Clicking ------------------------------------------------------------------------------

TEST_F(RibbonHostTest, ClicksCallOnActionAsEachKindOfControlDoes) {
    std::vector<std::string> heard;
    auto record = [&](const host::IRibbonControl& c, const std::vector<RibbonValue>& args) {
        std::string s = c.Id + "/" + c.Tag;
        for (auto& v : args) {
            if (auto* b = std::get_if<bool>(&v)) s += *b ? " true" : " false";
            if (auto* n = std::get_if<int>(&v)) s += " " + std::to_string(*n);
            if (auto* t = std::get_if<std::string>(&v)) s += " '" + *t + "'";
        }
        heard.push_back(s);
        return RibbonValue{};
    };
    connect(definition("<button id=\"b\" tag=\"7\" onAction=\"act\"/>"
                       "<toggleButton id=\"tb\" onAction=\"act\"/>"
                       "<splitButton id=\"s\"><button id=\"sb\" onAction=\"act\"/><menu id=\"sm\"/></splitButton>"
                       "<dropDown id=\"d\" onAction=\"act\"><item id=\"i0\" label=\"Zero\"/><item id=\"i1\" "
                       "label=\"One\"/></dropDown>"
                       "<labelControl id=\"l\" label=\"Just text\"/>"),
            "14.0", [&](FakeRibbonAddIn& f) { f.callbacks["act"] = record; });
    EXPECT_EQ(ribbon().click("b"), Outcome::done);
    EXPECT_EQ(ribbon().click("tb"), Outcome::done);
    EXPECT_EQ(ribbon().click("tb"), Outcome::done);
    EXPECT_EQ(ribbon().click("s"), Outcome::done);
    EXPECT_EQ(ribbon().choose("d", 1), Outcome::done);
    EXPECT_EQ(ribbon().choose("d", 2), Outcome::badItem);
    EXPECT_EQ(ribbon().click("l"), Outcome::notClickable);
    EXPECT_EQ(ribbon().click("nope"), Outcome::notFound);
    EXPECT_EQ(heard, (std::vector<std::string>{"b/7", "tb/ true", "tb/ false", "sb/", "d/ 'i1' 1"}));
    EXPECT_EQ(ribbon().control("d")->selectedIndex, 1);
    EXPECT_EQ(ribbon().control("d")->items, (std::vector<std::string>{"Zero", "One"}));
}

TEST_F(RibbonHostTest, AControlInsideAHiddenOrDisabledContainerCannotBeClicked) {
    auto& a = connect(definition("<menu id=\"m\" enabled=\"false\"><button id=\"inDisabled\" onAction=\"act\"/></menu>"
                                 "<menu id=\"h\" getVisible=\"no\"><button id=\"inHidden\" onAction=\"act\"/></menu>"),
                      "14.0", [](FakeRibbonAddIn& f) {
                          f.callbacks["act"] = [](auto&, auto&) { return RibbonValue{}; };
                          f.callbacks["no"] = [](auto&, auto&) { return RibbonValue{false}; };
                      });
    EXPECT_EQ(ribbon().click("inDisabled"), Outcome::disabled);
    EXPECT_EQ(ribbon().click("inHidden"), Outcome::hidden);
    EXPECT_TRUE(a.calls.size() == 2u) << "only onLoad and getVisible were called";
}

// ---- Dynamic menus -------------------------------------------------------------------------

TEST_F(RibbonHostTest, ADynamicMenuAsksForItsContentWhenOpenedAndAgainAfterAnInvalidation) {
    int round = 0;
    auto& a = connect(definition("<dynamicMenu id=\"dm\" label=\"Menu\" getContent=\"content\"/>"), "14.0",
                      [&](FakeRibbonAddIn& f) {
                          f.callbacks["content"] = [&](auto&, auto&) {
                              ++round;
                              return RibbonValue{
                                  std::string("<menu xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\" >"
                                              "<button id=\"item" +
                                              std::to_string(round) + "\" tag=\"" + std::to_string(round) +
                                              "\" label=\"Item\" onAction=\"pick\"/></menu>")};
                          };
                          f.callbacks["pick"] = [](auto&, auto&) { return RibbonValue{}; };
                      });
    EXPECT_EQ(ribbon().click("item1"), Outcome::notFound) << "content exists only once the menu opened";
    EXPECT_EQ(ribbon().openMenu("dm"), Outcome::done);
    const auto* item = ribbon().control("item1");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->dynamic);
    EXPECT_EQ(item->parentId, "dm");
    EXPECT_EQ(ribbon().click("item1"), Outcome::done);
    EXPECT_EQ(a.count("pick item1"), 1);

    EXPECT_EQ(ribbon().openMenu("dm"), Outcome::done);
    EXPECT_EQ(round, 1) << "the content is kept until invalidated";
    a.ui->InvalidateControl("dm");
    EXPECT_EQ(ribbon().openMenu("dm"), Outcome::done);
    EXPECT_EQ(round, 2);
    EXPECT_EQ(ribbon().control("item1"), nullptr);
    EXPECT_NE(ribbon().control("item2"), nullptr);
}

TEST_F(RibbonHostTest, ContentOutsideTheSchemaIsRefused) {
    connect(definition("<dynamicMenu id=\"dm\" getContent=\"content\"/>"), "14.0", [](FakeRibbonAddIn& f) {
        f.callbacks["content"] = [](auto&, auto&) {
            return RibbonValue{
                std::string("<menu xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\">"
                            "<tab id=\"x\"/></menu>")};
        };
    });
    EXPECT_EQ(ribbon().openMenu("dm"), Outcome::failed);
    EXPECT_NE(logText().find("the content of dm is refused"), std::string::npos) << logText();
}

// ---- Lifetime ------------------------------------------------------------------------------

TEST_F(RibbonHostTest, DisconnectingTakesTheAddInsRibbonAway) {
    connect(definition("<button id=\"b\"/>"));
    ASSERT_FALSE(ribbon().controls().empty());
    app->COMAddIns().Item("fake.Connect").setConnect(false);
    EXPECT_TRUE(ribbon().controls().empty());
    EXPECT_FALSE(ribbon().loaded("fake.Connect"));
    app->COMAddIns().Item("fake.Connect").setConnect(true);
    EXPECT_EQ(ribbon().controls().size(), 3u);
}

}  // namespace
