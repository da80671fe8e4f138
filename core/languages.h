// The proofing languages: the table of every language the add-in knows, the user's (up to
// three) chosen languages from the setting "languages", and the small icon drawn for each
// of them. Built once at start-up; the ribbon, the command bars and the settings dialog read it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/collection.h"

namespace platform {
class PictureBox;
}

namespace plorin {

// One proofing language. Selected and IconID are kept for the settings dialog's records;
// nothing sets or reads them here.
class Language {
public:
    std::string Name;             // display name
    std::int32_t LanguageID = 0;  // the language id (LCID) given to the host
    std::string ISO639;           // two-letter code in upper case, drawn on the icon
    bool Selected = false;
    std::int32_t IconID = 0;
};

// A row of the built-in table.
struct LanguageRow {
    const char* name;
    std::int32_t id;
    const char* code;
};

// The 167 languages, in the order the settings dialog lists them.
const std::vector<LanguageRow>& languageTable();

// Every language, keyed by its id in decimal followed by "ID" ("1033ID").
Collection<Language>& languages();
// The key of a language id in languages().
std::string languageKey(std::int32_t languageId);

// The chosen languages: slot i belongs to language button i and to Icons().lngPic(i);
// 0 marks an empty slot.
std::array<std::int32_t, 3>& currentLanguages();

// Builds the collection anew, empties the three slots (and their icons), then reads the
// setting "languages" (default "1033;1031") into them, drawing each language's icon. An entry
// that is not a number or not in the table is reported and ends the reading there: earlier
// slots are set, that slot holds the number if it was one, later entries are not read.
void initializeLanguages();

// Adds one language under its key. A second language with the same id is reported and
// not added.
void addLanguageToCollection(const std::string& name, std::int32_t languageId, const std::string& code);

// Draws the icon of a language into the box as a new 16 by 16 picture: dark blue with the
// code in small white capitals from (1, 2) on (letters A to Z; other characters leave a
// gap). A failure is reported and leaves the box as it was.
void createLanguageIcon(platform::PictureBox& box, const std::string& code);

}  // namespace plorin
