#include "addin/ribbon_dispatch.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "addin/addin_state.h"
#include "addin/named_commands.h"
#include "core/errors.h"
#include "core/languages.h"
#include "core/numbers.h"
#include "core/registry.h"
#include "core/usage_counters.h"
#include "libraries/my_elements.h"
#include "platform/text.h"
#include "tools/efficiency_tools.h"

namespace plorin {

std::int16_t controlNumber(const std::string& controlId) {
    return toInteger16(controlId.size() > 3 ? controlId.substr(3) : std::string());
}

namespace {
constexpr CommandTarget T = CommandTarget::tools;
constexpr CommandTarget L = CommandTarget::library;
}  // namespace

const std::vector<DispatchRow>& dispatchTable() {
    static const std::vector<DispatchRow> rows = {
        {1002, "about", T, -1},
        {1005, "startUpdate", T, -1},
        {1006, "homepage", T, -1},
        {1007, "feedback", T, -1},
        {1008, "recommend", T, -1},
        {1010, "about", T, -1},
        {1011, "showSettings", T, -1},
        {1013, "gettingStarted", T, -1},
        {1014, "FAQ", T, -1},
        {1015, "tutorialVideos", T, -1},
        {1018, "showAgendaWizard", T, -1},
        {1019, "reference", T, -1},
        {1020, "disconnectAgendaSlides", T, -1},
        {1021, "agendaUpdatePagenumbers", T, -1},
        {1028, "addMyElements", L, -1},
        {1029, "manageMyElements", L, -1},
        {1032, "alignLefts", T, -1},
        {1033, "alignCenters", T, -1},
        {1034, "alignRights", T, -1},
        {1036, "alignTops", T, -1},
        {1037, "alignMiddles", T, -1},
        {1038, "alignBottoms", T, -1},
        {1040, "alignWidths", T, -1},
        {1041, "alignHeights", T, -1},
        {1042, "alignWidthsAndHeights", T, -1},
        {1044, "stretchLeft", T, -1},
        {1046, "stretchLeft", T, -1},
        {1047, "stretchRight", T, -1},
        {1048, "stretchTop", T, -1},
        {1049, "stretchBottom", T, -1},
        {1051, "moveLeftToMasterRight", T, -1},
        {1053, "moveLeftToMasterRight", T, -1},
        {1054, "moveRightToMasterLeft", T, -1},
        {1055, "moveTopToMasterBottom", T, -1},
        {1056, "moveBottomToMasterTop", T, -1},
        {1058, "stackHorizontally", T, -1},
        {1059, "stackVertically", T, -1},
        {1061, "alignVerticallyInGoldenSection", T, -1},
        {1063, "stretchLeftToMasterRight", T, -1},
        {1065, "stretchLeftToMasterRight", T, -1},
        {1066, "stretchRightToMasterLeft", T, -1},
        {1067, "stretchTopToMasterBottom", T, -1},
        {1068, "stretchBottomToMasterTop", T, -1},
        {1071, "alignAngles", T, -1},
        {1073, "alignAngles", T, -1},
        {1074, "processChain", T, -1},
        {1075, "adjustPentagonHeader", T, -1},
        {1076, "beautifyBlockArrow", T, -1},
        {1078, "roundedRectangles", T, -1},
        {1080, "roundedRectangles", T, -1},
        {1081, "roundedRectanglesNumeric", T, -1},
        {1082, "SwitchObjects", T, -1},
        {1087, "setMargins", T, -1},
        {1089, "beautifyIndents", T, -1},
        {1090, "removeIndent", T, -1},
        {1091, "addIndent", T, -1},
        {1093, "setLanguage", T, 0},
        {1094, "setLanguage", T, 1},
        {1095, "setLanguage", T, 2},
        {1098, "emailSelectedSlides", T, -1},
        {1100, "emailSelectedSlides", T, -1},
        {1101, "saveSelectedSlides", T, -1},
        {1102, "openContainingFolder", T, -1},
        {1104, "pickColorFromScreen", T, -1},
        {1106, "resetCustomColors", T, -1},
        {1108, "removeAllSpeechNotes", T, -1},
        {1109, "tweakAutoShapeAdjustments", T, -1},
        {1110, "setBlackWhiteMode", T, -1},
        {1111, "createMotionPath", T, -1},
        {1112, "countWords", T, -1},
        {1114, "hideShapes", T, -1},
        {1115, "unhideShapes", T, -1},
        {1117, "pasteOnSelectedSlides", T, -1},
    };
    return rows;
}

const DispatchRow* dispatchRowFor(int n) {
    const auto& rows = dispatchTable();
    auto it = std::find_if(rows.begin(), rows.end(), [n](const DispatchRow& r) { return r.number == n; });
    return it == rows.end() ? nullptr : &*it;
}

const std::vector<const std::vector<LibraryProcedure>*>& libraryProcedureTables() {
    static const std::vector<const std::vector<LibraryProcedure>*> tables = {
        // One line per library module.
        &kMyElementsProcedures,
    };
    return tables;
}

const LibraryProcedure* findLibraryProcedure(const std::string& name) {
    for (const auto* table : libraryProcedureTables())
        for (const auto& p : *table)
            if (platform::equalsNoCase(p.name, name)) return &p;
    return nullptr;
}

bool commandAvailable(const DispatchRow& row) {
    return row.target == CommandTarget::tools ? commandExists(row.command)
                                              : findLibraryProcedure(row.command) != nullptr;
}

bool dispatchCommand(int n) {
    const DispatchRow* row = dispatchRowFor(n);
    if (!row || !commandAvailable(*row)) return false;
    if (row->target == CommandTarget::library) {
        findLibraryProcedure(row->command)->run();
        return true;
    }
    EfficiencyTools* tools = addInState().tools.get();
    if (!tools) raiseObjectNotSet();
    if (row->languageSlot >= 0) {
        // The language id held in the slot, not the slot's index.
        const std::int32_t id = currentLanguages()[static_cast<std::size_t>(row->languageSlot)];
        runCommandByName(*tools, row->command, std::to_string(id));
    } else {
        runCommandByName(*tools, row->command);
    }
    return true;
}

}  // namespace plorin
