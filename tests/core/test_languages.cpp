#include <gtest/gtest.h>

#include <set>

#include "core/icons.h"
#include "core/languages.h"
#include "core/registry.h"
#include "tests/core/core_fixture.h"

namespace {

using testing_core::CoreFixture;

// ---- The table -----------------------------------------------------------------------------

TEST(LanguageTable, Holds167LanguagesWithUniqueIdsAndTwoLetterCodes) {
    const auto& rows = plorin::languageTable();
    ASSERT_EQ(rows.size(), 167u);
    std::set<std::int32_t> ids;
    for (const auto& r : rows) {
        EXPECT_TRUE(ids.insert(r.id).second) << r.name;
        ASSERT_EQ(std::string(r.code).size(), 2u) << r.name;
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(r.code[0])) &&
                    std::isupper(static_cast<unsigned char>(r.code[1])))
            << r.name;
    }
    EXPECT_STREQ(rows.front().name, "Afrikaans");
    EXPECT_STREQ(rows.back().name, "Zulu");
    EXPECT_EQ(rows.back().id, 1077);
}

TEST(LanguageTable, RelatedLanguagesShareTheirCode) {
    for (const auto& r : plorin::languageTable()) {
        const std::string name = r.name;
        if (name.rfind("Arabic", 0) == 0) {
            EXPECT_STREQ(r.code, "AR") << name;
        } else if (name.rfind("Uzbek", 0) == 0) {
            EXPECT_STREQ(r.code, "UZ") << name;
        } else if (name.rfind("Spanish", 0) == 0) {
            EXPECT_STREQ(r.code, "ES") << name;
        }
    }
}

// ---- Start-up ------------------------------------------------------------------------------

class Languages : public CoreFixture {
protected:
    void TearDown() override {
        plorin::currentLanguages() = {0, 0, 0};
        plorin::unloadIcons();
        CoreFixture::TearDown();
    }
    std::array<std::int32_t, 3> slots() const { return plorin::currentLanguages(); }
    bool drawn(int slot) const { return plorin::Icons().lngPic(slot).picture != nullptr; }
};

TEST_F(Languages, TheCollectionIsKeyedByTheIdFollowedByID) {
    plorin::initializeLanguages();
    ASSERT_EQ(plorin::languages().Count(), 167);
    EXPECT_EQ(plorin::languages().Item("1031ID").Name, "German");
    EXPECT_EQ(plorin::languages().Item("2115ID").ISO639, "UZ");
    EXPECT_EQ(plorin::languages().Item(1).LanguageID, 1078) << "kept in table order";
    EXPECT_FALSE(plorin::languages().Exists("1031"));
    EXPECT_THROW(plorin::languages().Item("99999ID"), platform::NumberedError);
}

TEST_F(Languages, ABuildAfterAnotherStartsAfresh) {
    plorin::initializeLanguages();
    plorin::initializeLanguages();
    EXPECT_EQ(plorin::languages().Count(), 167);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

struct SettingCase {
    const char* name;
    const char* value;  // nullptr: the setting is missing
    std::array<std::int32_t, 3> slots;
    std::array<bool, 3> icons;
    bool reported;
};

class LanguageSetting : public Languages, public ::testing::WithParamInterface<SettingCase> {};

TEST_P(LanguageSetting, FillsTheSlotsAndDrawsTheirIcons) {
    const auto& c = GetParam();
    if (c.value) plorin::setRegistry("languages", c.value, "");
    plorin::initializeLanguages();
    EXPECT_EQ(slots(), c.slots);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(drawn(i), c.icons[static_cast<std::size_t>(i)]) << "slot " << i;
    EXPECT_EQ(!plorin::reportedErrors().empty(), c.reported);
    if (c.reported) {
        EXPECT_EQ(reportedLocations(), std::vector<std::string>{"Languages, initializeLanguages"});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Languages, LanguageSetting,
    ::testing::Values(
        SettingCase{"Missing", nullptr, {1033, 1031, 0}, {true, true, false}, false},
        SettingCase{"Empty", "", {0, 0, 0}, {false, false, false}, false},
        SettingCase{"One", "1036", {1036, 0, 0}, {true, false, false}, false},
        SettingCase{"FiveOnlyThreeCount", "1033;1031;1036;1040;1049", {1033, 1031, 1036}, {true, true, true}, false},
        SettingCase{"NotANumberStopsThere", "1033;abc;1036", {1033, 0, 0}, {true, false, false}, true},
        SettingCase{"UnknownIdIsKeptWithoutIcon", "1033;99999;1036", {1033, 99999, 0}, {true, false, false}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Languages, AReconnectionWithAnEmptySettingLeavesNoLanguageOfTheLastOne) {
    plorin::initializeLanguages();
    ASSERT_EQ(slots()[0], 1033);
    plorin::setRegistry("languages", "", "");
    plorin::initializeLanguages();
    EXPECT_EQ(slots(), (std::array<std::int32_t, 3>{0, 0, 0}));
    EXPECT_FALSE(drawn(0));
}

// ---- Icons ---------------------------------------------------------------------------------

class LanguageIcon : public Languages {};

TEST_F(LanguageIcon, IsSixteenPixelsSquareDarkBlueWithTheCodeInWhite) {
    auto& box = plorin::Icons().lngPic(0);
    plorin::createLanguageIcon(box, "EN");
    ASSERT_TRUE(box.picture);
    const auto& p = *box.picture;
    ASSERT_EQ(p.width, 16);
    ASSERT_EQ(p.height, 16);
    EXPECT_EQ(p.pixels[0], 0xFF0A246Au) << "the border stays outside: the corner is fill";
    EXPECT_EQ(p.pixels[15 * 16 + 15], 0xFF0A246Au);
    int light = 0;
    for (auto px : p.pixels)
        if (((px >> 16) & 0xFF) > 0x80 && ((px >> 8) & 0xFF) > 0x80) ++light;
    EXPECT_GT(light, 20) << "the letters are drawn in white";
    EXPECT_EQ(p.pixels[4 * 16 + 1], 0xFFFFFFFFu) << "the E's corner, where the text begins";
    EXPECT_EQ(p.pixels[1 * 16 + 1], 0xFF0A246Au) << "nothing above the capitals";
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(LanguageIcon, DifferentCodesDrawDifferentIcons) {
    auto& a = plorin::Icons().lngPic(0);
    auto& b = plorin::Icons().lngPic(1);
    plorin::createLanguageIcon(a, "AR");
    plorin::createLanguageIcon(b, "UZ");
    ASSERT_TRUE(a.picture && b.picture);
    EXPECT_NE(a.picture->pixels, b.picture->pixels);
}

}  // namespace
