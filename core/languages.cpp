#include "core/languages.h"

#include <cairo.h>

#include <memory>

#include "core/errors.h"
#include "core/icons.h"
#include "core/numbers.h"
#include "core/registry.h"
#include "core/shared_state.h"
#include "platform/picture.h"
#include "platform/text.h"
#include "platform/ui_forms.h"

namespace plorin {

const std::vector<LanguageRow>& languageTable() {
    static const std::vector<LanguageRow> rows = {
        {"Afrikaans", 1078, "AF"},
        {"Albanian", 1052, "SQ"},
        {"Arabic Algeria", 5121, "AR"},
        {"Arabic Bahrain", 15361, "AR"},
        {"Arabic Egypt", 3073, "AR"},
        {"Arabic Iraq", 2049, "AR"},
        {"Arabic Jordan", 11265, "AR"},
        {"Arabic Kuwait", 13313, "AR"},
        {"Arabic Lebanon", 12289, "AR"},
        {"Arabic Libya", 4097, "AR"},
        {"Arabic Morocco", 6145, "AR"},
        {"Arabic Oman", 8193, "AR"},
        {"Arabic Qatar", 16385, "AR"},
        {"Arabic Syria", 10241, "AR"},
        {"Arabic Tunisia", 7169, "AR"},
        {"Arabic UAE", 14337, "AR"},
        {"Arabic Yemen", 9217, "AR"},
        {"Arabic", 1025, "AR"},
        {"Armenian", 1067, "HY"},
        {"Assamese", 1101, "AS"},
        {"Azeri Cyrillic", 2092, "AZ"},
        {"Azeri Latin", 1068, "AZ"},
        {"Basque", 1069, "EU"},
        {"Belgian Dutch", 2067, "NL"},
        {"Belgian French", 2060, "FR"},
        {"Bengali", 1093, "BN"},
        {"Brazilian Portuguese", 1046, "PT"},
        {"Bulgarian", 1026, "BG"},
        {"Burmese", 1109, "MY"},
        {"Byelorussian", 1059, "BE"},
        {"Catalan", 1027, "CA"},
        {"Chinese Hong Kong", 3076, "ZH"},
        {"Chinese Macao", 5124, "ZH"},
        {"Chinese Singapore", 4100, "ZH"},
        {"Croatian", 1050, "HR"},
        {"Czech", 1029, "CS"},
        {"Danish", 1030, "DA"},
        {"Dutch", 1043, "NL"},
        {"English AUS", 3081, "EN"},
        {"English Belize", 10249, "EN"},
        {"English Canadian", 4105, "EN"},
        {"English Caribbean", 9225, "EN"},
        {"English Ireland", 6153, "EN"},
        {"English Jamaica", 8201, "EN"},
        {"English New Zealand", 5129, "EN"},
        {"English Philippines", 13321, "EN"},
        {"English South Africa", 7177, "EN"},
        {"English Trinidad", 11273, "EN"},
        {"English UK", 2057, "EN"},
        {"English US", 1033, "EN"},
        {"English Zimbabwe", 12297, "EN"},
        {"Estonian", 1061, "ET"},
        {"Faeroese", 1080, "FO"},
        {"Farsi", 1065, "FA"},
        {"Finnish", 1035, "FI"},
        {"French Cameroon", 11276, "FR"},
        {"French Canadian", 3084, "FR"},
        {"French Coted Ivoire", 12300, "FR"},
        {"French Luxembourg", 5132, "FR"},
        {"French Mali", 13324, "FR"},
        {"French Monaco", 6156, "FR"},
        {"French Reunion", 8204, "FR"},
        {"French Senegal", 10252, "FR"},
        {"French West Indies", 7180, "FR"},
        {"French Zaire", 9228, "FR"},
        {"French", 1036, "FR"},
        {"Frisian Netherlands", 1122, "FY"},
        {"Gaelic Ireland", 2108, "GA"},
        {"Gaelic Scotland", 1084, "GD"},
        {"Galician", 1110, "GL"},
        {"Georgian", 1079, "KA"},
        {"German Austria", 3079, "DE"},
        {"German Liechtenstein", 5127, "DE"},
        {"German Luxembourg", 4103, "DE"},
        {"German", 1031, "DE"},
        {"Greek", 1032, "EL"},
        {"Gujarati", 1095, "GU"},
        {"Hebrew", 1037, "HE"},
        {"Hindi", 1081, "HI"},
        {"Hungarian", 1038, "HU"},
        {"Icelandic", 1039, "IS"},
        {"Indonesian", 1057, "ID"},
        {"Italian", 1040, "IT"},
        {"Japanese", 1041, "JA"},
        {"Kannada", 1099, "KN"},
        {"Kashmiri", 1120, "KS"},
        {"Kazakh", 1087, "KK"},
        {"Khmer", 1107, "KM"},
        {"Kirghiz", 1088, "KY"},
        {"Korean", 1042, "KO"},
        {"Lao", 1108, "LO"},
        {"Latvian", 1062, "LV"},
        {"Lithuanian", 1063, "LT"},
        {"Macedonian", 1071, "MK"},
        {"Malay Brunei Darussalam", 2110, "MS"},
        {"Malayalam", 1100, "ML"},
        {"Malaysian", 1086, "MS"},
        {"Maltese", 1082, "MT"},
        {"Marathi", 1102, "MR"},
        {"Mexican Spanish", 2058, "ES"},
        {"Mongolian", 1104, "MN"},
        {"Nepali", 1121, "NE"},
        {"Norwegian Bokmol", 1044, "NO"},
        {"Norwegian Nynorsk", 2068, "NO"},
        {"Oriya", 1096, "OR"},
        {"Polish", 1045, "PL"},
        {"Portuguese", 2070, "PT"},
        {"Punjabi", 1094, "PA"},
        {"Rhaeto Romanic", 1047, "RM"},
        {"Romanian Moldova", 2072, "RO"},
        {"Romanian", 1048, "RO"},
        {"Russian Moldova", 2073, "RU"},
        {"Russian", 1049, "RU"},
        {"Sami Lappish", 1083, "SE"},
        {"Sanskrit", 1103, "SA"},
        {"Serbian Cyrillic", 3098, "SR"},
        {"Serbian Latin", 2074, "SR"},
        {"Sesotho", 1072, "ST"},
        {"Simplified Chinese", 2052, "ZH"},
        {"Sindhi", 1113, "SD"},
        {"Slovak", 1051, "SK"},
        {"Slovenian", 1060, "SL"},
        {"Spanish Argentina", 11274, "ES"},
        {"Spanish Bolivia", 16394, "ES"},
        {"Spanish Chile", 13322, "ES"},
        {"Spanish Colombia", 9226, "ES"},
        {"Spanish Costa Rica", 5130, "ES"},
        {"Spanish Dominican Republic", 7178, "ES"},
        {"Spanish Ecuador", 12298, "ES"},
        {"Spanish El Salvador", 17418, "ES"},
        {"Spanish Guatemala", 4106, "ES"},
        {"Spanish Honduras", 18442, "ES"},
        {"Spanish Modern Sort", 3082, "ES"},
        {"Spanish Nicaragua", 19466, "ES"},
        {"Spanish Panama", 6154, "ES"},
        {"Spanish Paraguay", 15370, "ES"},
        {"Spanish Peru", 10250, "ES"},
        {"Spanish Puerto Rico", 20490, "ES"},
        {"Spanish Uruguay", 14346, "ES"},
        {"Spanish Venezuela", 8202, "ES"},
        {"Spanish", 1034, "ES"},
        {"Swahili", 1089, "SW"},
        {"Swedish Finland", 2077, "SV"},
        {"Swedish", 1053, "SV"},
        {"Swiss French", 4108, "FR"},
        {"Swiss German", 2055, "DE"},
        {"Swiss Italian", 2064, "IT"},
        {"Tajik", 1064, "TG"},
        {"Tamil", 1097, "TA"},
        {"Tatar", 1092, "TT"},
        {"Telugu", 1098, "TE"},
        {"Thai", 1054, "TH"},
        {"Tibetan", 1105, "BO"},
        {"Traditional Chinese", 1028, "ZH"},
        {"Tsonga", 1073, "TS"},
        {"Tswana", 1074, "TN"},
        {"Turkish", 1055, "TR"},
        {"Turkmen", 1090, "TK"},
        {"Ukrainian", 1058, "UK"},
        {"Urdu", 1056, "UR"},
        {"Uzbek Cyrillic", 2115, "UZ"},
        {"Uzbek Latin", 1091, "UZ"},
        {"Venda", 1075, "VE"},
        {"Vietnamese", 1066, "VI"},
        {"Welsh", 1106, "CY"},
        {"Xhosa", 1076, "XH"},
        {"Zulu", 1077, "ZU"},
    };
    return rows;
}

namespace {
// Built at connection; the three chosen languages as the ribbon shows them.
struct LanguageState {
    Collection<Language> collection;
    std::array<std::int32_t, 3> current{0, 0, 0};
};
}  // namespace

Collection<Language>& languages() { return state().feature<LanguageState>().collection; }

std::string languageKey(std::int32_t languageId) { return std::to_string(languageId) + "ID"; }

std::array<std::int32_t, 3>& currentLanguages() { return state().feature<LanguageState>().current; }

void addLanguageToCollection(const std::string& name, std::int32_t languageId, const std::string& code) {
    trap("Languages, addLanguageToCollection", [&] {
        Language language;
        language.Name = name;
        language.LanguageID = languageId;
        language.ISO639 = code;
        languages().Add(std::move(language), languageKey(languageId));
    });
}

void initializeLanguages() {
    trap("Languages, initializeLanguages", [] {
        languages().Clear();
        for (const auto& row : languageTable()) addLanguageToCollection(row.name, row.id, row.code);

        // A reconnection starts from empty slots: an empty setting must not leave the
        // languages of the previous connection on the buttons.
        auto& slots = currentLanguages();
        slots = {0, 0, 0};
        for (int i = 0; i < 3; ++i) Icons().lngPic(i).picture.reset();

        const std::string setting = getRegistry("languages", "", "1033;1031");
        if (setting.empty()) return;
        std::size_t start = 0;
        for (int i = 0; i < 3 && start <= setting.size(); ++i) {
            std::size_t end = setting.find(';', start);
            if (end == std::string::npos) end = setting.size();
            const std::string entry = setting.substr(start, end - start);
            start = end + 1;
            // "0" (or nothing) keeps a row the user left empty between two languages.
            if (platform::trimmed(entry).empty() || toInteger32(entry) == 0) continue;
            slots[static_cast<std::size_t>(i)] = toInteger32(entry);
            const Language& language = languages().Item(languageKey(slots[static_cast<std::size_t>(i)]));
            createLanguageIcon(Icons().lngPic(i), language.ISO639);
        }
    });
}

namespace {

// A 5 by 7 pixel capital for each letter, rows from the top, bit 4 the leftmost column. The
// icon's code is set pixel by pixel: it stays sharp at 16 pixels and needs no installed font.
constexpr std::uint8_t kCapitals[26][7] = {
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E},
    {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}, {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E},
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}, {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10},
    {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}, {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},
    {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C},
    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}, {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F},
    {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}, {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11},
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10},
    {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}, {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11},
    {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}, {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04},
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04},
    {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}, {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11},
    {0x11, 0x11, 0x0A, 0x04, 0x04, 0x04, 0x04}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F},
};

}  // namespace

void createLanguageIcon(platform::PictureBox& box, const std::string& code) {
    trap("Languages, createLanguageIcon", [&] {
        constexpr int kSize = 16;
        constexpr std::uint32_t kDarkBlue = 0xFF0A246Au;  // RGB 10, 36, 106
        platform::Canvas canvas(kSize, kSize);
        if (!canvas.ok()) raiseError(errOutOfMemory, "Out of memory");
        canvas.fill(kDarkBlue);

        // The text cell starts at (1, 2); at 6.5 points its capitals stand two pixels lower,
        // seven pixels high, six pixels apart.
        cairo_t* cr = canvas.context();
        double x = 1;
        const double top = 4;
        for (char ch : code) {
            const char c = platform::asciiUpper(ch);
            if (c >= 'A' && c <= 'Z') {
                const auto& rows = kCapitals[c - 'A'];
                for (int row = 0; row < 7; ++row)
                    for (int col = 0; col < 5; ++col)
                        if (rows[row] & (0x10 >> col)) cairo_rectangle(cr, x + col, top + row, 1, 1);
            }
            x += 6;
        }
        cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
        cairo_fill(cr);
        if (cairo_status(cr) != CAIRO_STATUS_SUCCESS)
            raiseError(errInvalidArgument,
                       std::string("Cannot draw the language icon: ") + cairo_status_to_string(cairo_status(cr)));

        auto picture = std::make_shared<platform::Picture>(canvas.toPicture());
        picture->source = "language icon " + code;
        box.picture = std::move(picture);
    });
}

}  // namespace plorin
