// The shipped ribbon definition, loaded by the host's ribbon from an installation the way the
// host loads it: every callback it names exists, every control number means something.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <sstream>

#include "addin/connect.h"
#include "addin/ribbon_dispatch.h"
#include "addin/ribbon_enabling.h"
#include "core/icons.h"
#include "core/registry.h"
#include "core/usage_counters.h"
#include "host/ribbon_host.h"
#include "host/text.h"
#include "platform/picture.h"
#include "tests/core/core_fixture.h"
#include "tests/support/file_reading.h"
#include "tools/word_count.h"

namespace {

using testing_core::CoreFixture;

class ShippedRibbon : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        std::filesystem::create_directories(root + "program/ui");
        std::filesystem::copy_file(VARNOTEL_SOURCE_DIR "/install/program/ui/plorinUI.xml",
                                   root + "program/ui/plorinUI.xml");
        // The sample library, so that the ribbon loads as it does for a user.
        for (const char* folder : {"customization", "user"})
            std::filesystem::copy(std::string(VARNOTEL_SOURCE_DIR "/install/") + folder, root + folder,
                                  std::filesystem::copy_options::recursive);
    }
    void TearDown() override {
        app.reset();  // disconnects the add-in
        CoreFixture::TearDown();
    }

    // Loads the add-in into a ribbon host; with `pictures`, every control has its picture.
    host::RibbonHost& load(bool pictures) {
        if (pictures) {
            const platform::Picture dot{1, 1, {0xFF000000u}, ""};
            std::smatch m;
            const std::string xml = test_support::readFile(root + "program/ui/plorinUI.xml");
            const std::regex id("id=\"(vn_[0-9]+)\"");
            for (auto it = std::sregex_iterator(xml.begin(), xml.end(), id); it != std::sregex_iterator(); ++it)
                platform::savePng(dot, root + "program/ui/" + (*it)[1].str() + ".png");
        }
        startHost("14.0");
        app->COMAddIns().add(plorin::kProgId, "Varnotel", [] { return std::make_unique<plorin::Connect>(); });
        app->COMAddIns().Item(plorin::kProgId).setConnect(true);
        app->Ribbon().showTabOf("vn_1001");  // the user opens the add-in's tab
        return app->Ribbon();
    }
};

TEST_F(ShippedRibbon, LoadsWithEveryCallbackKnownAndNothingFailing) {
    auto& ribbon = load(true);
    ASSERT_TRUE(ribbon.loaded(plorin::kProgId));
    EXPECT_TRUE(ribbon.missingCallbacks(plorin::kProgId).empty());
    for (const auto& line : ribbon.log()) EXPECT_EQ(line.find("refused"), std::string::npos) << line;
    for (const auto* c : ribbon.controls()) EXPECT_TRUE(c->failures.empty()) << c->id << ": " << c->failures.front();
    EXPECT_TRUE(plorin::reportedErrors().empty());
    EXPECT_TRUE(driver.messages.empty()) << "the sample installation loads without a message: "
                                         << driver.messages.front().text;
}

TEST_F(ShippedRibbon, EveryIdIsAControlNumberAndEveryControlNumberMeansSomething) {
    std::set<int> known{1025, 1027};  // the style drop-down, the My Elements menu
    for (const auto& row : plorin::dispatchTable()) known.insert(row.number);
    for (const auto& row : plorin::enablingTable()) known.insert(row.numbers.begin(), row.numbers.end());
    known.insert({1085, 1086});

    auto& ribbon = load(true);
    const std::regex form("vn_[0-9]+");
    std::set<int> seen;
    for (const auto* c : ribbon.controls()) {
        ASSERT_TRUE(std::regex_match(c->id, form)) << c->id;
        const int n = plorin::controlNumber(c->id);
        EXPECT_TRUE(seen.insert(n).second) << c->id << " twice";
        // Tabs, groups and the parts of split buttons only hold controls; they take free numbers.
        const auto* parent = c->parentId.empty() ? nullptr : ribbon.control(c->parentId);
        const bool holder = c->kind == "tab" || c->kind == "group" || c->kind == "splitButton" ||
                            (c->kind == "menu" && parent && parent->kind == "splitButton");
        if (holder) continue;
        EXPECT_TRUE(known.count(n) || n > 2000) << c->id << " (" << c->kind << " " << c->label << ")";
    }
    for (int n : known) EXPECT_TRUE(seen.count(n)) << "vn_" << n << " is not on the ribbon";
    EXPECT_EQ(ribbon.control("vn_1025")->kind, "dropDown");
    EXPECT_EQ(ribbon.control("vn_1085")->kind, "toggleButton");
    EXPECT_EQ(ribbon.control("vn_1086")->kind, "toggleButton");
    for (const char* menu : {"vn_2001", "vn_1027", "vn_1105"})
        EXPECT_EQ(ribbon.control(menu)->kind, "dynamicMenu") << menu;
}

TEST_F(ShippedRibbon, WithAPictureMissingOnlyThatControlGoesWithoutOne) {
    auto& ribbon = load(false);
    const auto* align = ribbon.control("vn_1032");
    ASSERT_NE(align, nullptr);
    EXPECT_EQ(align->image, nullptr);
    ASSERT_EQ(align->failures.size(), 1u);
    EXPECT_NE(align->failures.front().find("getImage"), std::string::npos);
    EXPECT_TRUE(ribbon.control("vn_1093")->image) << "the language buttons draw their own";
}

TEST_F(ShippedRibbon, TheLibraryMenusOpenWithTheSampleLibrarysGalleriesAndPictures) {
    using Outcome = host::RibbonHost::Outcome;
    auto& ribbon = load(true);
    ASSERT_EQ(ribbon.openMenu("vn_2001"), Outcome::done);
    const auto* steps = ribbon.control("slideWizard_1_1");
    ASSERT_NE(steps, nullptr);
    EXPECT_EQ(steps->kind, "gallery");
    EXPECT_EQ(steps->items,
              (std::vector<std::string>{"Three steps", "Four steps", "Phase headers", "Input, process, output"}));
    ASSERT_EQ(steps->itemImages.size(), 4u);
    for (const auto& image : steps->itemImages) {
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width, 160);
        EXPECT_EQ(image->height, 120);
    }
    EXPECT_NE(ribbon.control("slideWizard_4_6"), nullptr) << "the last of six galleries in four menus";

    ASSERT_EQ(ribbon.openMenu("vn_1027"), Outcome::done);
    EXPECT_EQ(ribbon.control("myElements_1")->items, (std::vector<std::string>{"Traffic lights", "Signature box"}));
    EXPECT_TRUE(ribbon.control("myElements_2")->itemImages.at(0));

    EXPECT_EQ(ribbon.openMenu("vn_1105"), Outcome::disabled) << "copyright notices need a window";
    app->Presentations().Add(true)->Slides().Add(1, 12);
    app->ActiveWindow()->selectNone();  // a selection change redraws the ribbon
    ASSERT_EQ(ribbon.openMenu("vn_1105"), Outcome::done);
    EXPECT_EQ(ribbon.control("copyright_2")->kind, "button");
    for (const auto* c : ribbon.controls()) EXPECT_TRUE(c->failures.empty()) << c->id << ": " << c->failures.front();
    EXPECT_TRUE(driver.messages.empty());
}

TEST_F(ShippedRibbon, AClickOnAnEnabledButtonRaisesItsCounter) {
    auto& ribbon = load(true);
    EXPECT_EQ(ribbon.click("vn_1028"), host::RibbonHost::Outcome::done);
    EXPECT_EQ(ribbon.click("vn_1032"), host::RibbonHost::Outcome::disabled);
    plorin::flushUsageCounters();  // what is counted in memory
    EXPECT_EQ(plorin::getRegistry("statsMyElements", "", ""), "1");
    EXPECT_EQ(plorin::getRegistry("statsEfficiencyTools", "", ""), "");
}

// A host connects and disconnects the add-in several times in one process (the update add-in
// does on every install): each connection starts from nothing the last one left behind.
TEST_F(ShippedRibbon, TheThirdConnectionInOneProcessBehavesLikeTheFirst) {
    auto& ribbon = load(true);
    auto& entry = app->COMAddIns().Item(plorin::kProgId);
    auto box = app->Presentations().Add(true)->Slides().Add(1, 12)->Shapes().AddShape(1, 10, 10, 200, 50);
    box->TextFrame().TextRange().setText("Three short words");
    driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    driver.onUnscriptedForm = [](platform::Form&) {};
    // What a user meets in one connection: the ribbon, the galleries, dialogs, the agenda.
    const auto use = [&] {
        std::ostringstream seen;
        app->ActiveWindow()->selectShapes({box});  // a selection change redraws the ribbon
        seen << "loaded " << ribbon.loaded(plorin::kProgId) << ", " << ribbon.controls().size() << " controls\n";
        for (const char* menu : {"vn_2001", "vn_1027", "vn_1105"})
            seen << menu << " " << static_cast<int>(ribbon.openMenu(menu)) << "\n";
        for (const char* gallery : {"slideWizard_1_1", "myElements_1"}) {
            const auto* g = ribbon.control(gallery);
            seen << gallery << ":";
            if (g)
                for (std::size_t i = 0; i < g->items.size(); ++i)
                    seen << " " << g->items[i] << (i < g->itemImages.size() && g->itemImages[i] ? "+" : "-");
            seen << "\n";
        }
        for (const char* button : {"vn_1018", "vn_1087", "vn_1112", "vn_1021", "vn_1028"})
            seen << button << " " << static_cast<int>(ribbon.click(button)) << "\n";
        seen << "word count " << plorin::wordCountWindow().Visible() << "\n";  // modeless
        for (const auto& form : driver.modalForms) seen << "form " << form << "\n";
        for (const auto& m : driver.messages) seen << "message " << m.text << "\n";
        for (const auto& where : reportedLocations()) seen << "error " << where << "\n";
        for (const auto* c : ribbon.controls())
            for (const auto& failure : c->failures) seen << "failure " << c->id << " " << failure << "\n";
        driver.modalForms.clear();
        driver.messages.clear();
        plorin::reportedErrors().clear();
        return seen.str();
    };
    std::vector<std::string> rounds;
    for (int round = 0; round < 3; ++round) {
        if (round > 0) entry.setConnect(true);
        rounds.push_back(use());
        entry.setConnect(false);
        EXPECT_FALSE(plorin::iconsLoaded()) << "round " << round;
        EXPECT_TRUE(shell.record.mutexes.empty()) << "round " << round;
    }
    EXPECT_EQ(rounds[2], rounds[0]);
    EXPECT_EQ(rounds[1], rounds[0]);
    for (const char* opened : {"form AgendaWizard", "form MarginInput", "form myElementsAdd", "word count 1"})
        EXPECT_NE(rounds[0].find(opened), std::string::npos) << rounds[0];
    EXPECT_EQ(rounds[0].find("error "), std::string::npos) << rounds[0];
}

}  // namespace
