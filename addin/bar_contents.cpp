// What the command bars hold, as data: the Efficiency Tools bar with its popups and the
// host commands of the Shortcuts bar.
#include "addin/bar_front_end.h"

#include "addin/toggle_groups.h"

namespace plorin {

namespace {
constexpr BarEntry::Kind B = BarEntry::button;
constexpr bool G = true, CUST = true, PIC = true;
constexpr const char* kBar = nullptr;
constexpr const char* kTools = kToolsPopup;
constexpr const char* kHelp = kHelpPopup;

BarEntry pic(const char* caption, const char* parameter, int toolId, int picture, bool group, bool customisable,
             const char* popup = kBar) {
    return {B, caption, parameter, toolId, picture, PIC, group, customisable, 0, popup};
}
BarEntry face(const char* caption, const char* parameter, int toolId, int faceId, bool group, bool customisable,
              const char* popup) {
    return {B, caption, parameter, toolId, faceId, false, group, customisable, 0, popup};
}
BarEntry builtIn(int id, bool group) { return {BarEntry::builtIn, nullptr, "", 0, 0, false, group, false, id, kBar}; }
BarEntry popup(const char* caption, bool group) {
    return {BarEntry::popup, caption, "", 0, 0, false, group, false, 0, kBar};
}
}  // namespace

const std::vector<BarEntry>& efficiencyToolsContents() {
    static const std::vector<BarEntry> rows = [] {
        std::vector<BarEntry> r = {
            pic(nullptr, "!about", 1000, 1, false, false),
            pic("Align left to master left", "alignLefts", 1100, 2, false, CUST),
            pic("Align center to master center", "alignCenters", 1101, 3, false, CUST),
            pic("Align right to master right", "alignRights", 1102, 4, false, CUST),
            pic("Align top to master top", "alignTops", 1103, 5, G, CUST),
            pic("Align middle to master middle", "alignMiddles", 1104, 6, false, CUST),
            pic("Align bottom to master bottom", "alignBottoms", 1105, 7, false, CUST),
            builtIn(408, G),
            builtIn(465, false),
            pic("Stretch to master width", "alignWidths", 1120, 8, G, CUST),
            pic("Stretch to master height", "alignHeights", 1121, 9, false, CUST),
            pic("Stretch to master width and height", "alignWidthsAndHeights", 1122, 10, false, CUST),
            pic("Align angles", "alignAngles", 1130, 11, G, CUST),
            pic("Align process chain", "processChain", 1131, 12, false, CUST),
            pic("Adjust pentagon header", "adjustPentagonHeader", 1132, 13, false, CUST),
            pic("Stretch to master left", "stretchLeft", 1140, 14, G, CUST),
            pic("Stretch to master right", "stretchRight", 1141, 15, false, CUST),
            pic("Stretch to master top", "stretchTop", 1142, 16, false, CUST),
            pic("Stretch to master bottom", "stretchBottom", 1143, 17, false, CUST),
            pic("Move left to master right", "moveLeftToMasterRight", 1150, 18, G, CUST),
            pic("Move right to master left", "moveRightToMasterLeft", 1151, 19, false, CUST),
            pic("Move top to master bottom", "moveTopToMasterBottom", 1152, 20, false, CUST),
            pic("Move bottom to master top", "moveBottomToMasterTop", 1153, 21, false, CUST),
            pic("Stretch left to master right", "stretchLeftToMasterRight", 1160, 22, G, CUST),
            pic("Stretch right to master left", "stretchRightToMasterLeft", 1161, 23, false, CUST),
            pic("Stretch top to master bottom", "stretchTopToMasterBottom", 1162, 24, false, CUST),
            pic("Stretch bottom to master top", "stretchBottomToMasterTop", 1163, 25, false, CUST),
            pic("Switch objects", "switchObjects", 1170, 26, G, CUST),
            pic(kFitButton, "adjustAutoShapeToText", 1180, 29, G, CUST),
            pic(kWrapButton, "wrapText", 1181, 30, false, CUST),
            pic("Set AutoShape margins", "setMargins", 1182, 31, false, CUST),
            pic("Beautify indents", "beautifyIndents", 1190, 32, G, CUST),
            pic("Decrease indent level", "removeIndent", 1191, 33, false, CUST),
            pic("Increase indent level", "addIndent", 1192, 34, false, CUST),
            {BarEntry::languages, nullptr, "", kLanguageToolId, 0, PIC, G, false, 0, kBar},
            popup(kToolsPopup, G),
            popup(kHelpPopup, false),
            face("Agenda Wizard", "showAgendaWizard", 1236, 0, G, false, kTools),
            face("Disconnect selected agenda slides from Agenda Wizard", "disconnectAgendaSlides", 1236, 0, false,
                 false, kTools),
            pic("Save selected slides as new presentation", "saveSelectedSlides", 1210, 35, G, CUST, kTools),
            pic("E-mail selected slides", "emailSelectedSlides", 1211, 36, false, CUST, kTools),
            pic("Open containing folder", "openContainingFolder", 1212, 37, false, CUST, kTools),
            pic("Hide selected shapes", "hideShapes", 1220, 38, G, CUST, kTools),
            pic("Unhide all hidden shapes", "unhideShapes", 1221, 39, false, CUST, kTools),
            pic("Rounded rectangles", "roundedRectangles", 1245, 51, G, CUST, kTools),
            pic("Beautify block arrows", "beautifyBlockArrow", 1231, 41, false, CUST, kTools),
            pic("Tweak AutoShape adjustments", "tweakAutoShapeAdjustments", 1242, 49, false, CUST, kTools),
            pic("Pick color from screen", "pickColorFromScreen", 1237, 42, G, CUST, kTools),
        };
        const std::vector<BarEntry> rest = {
            // Built always, so the settings dialog lists it; shown only with custom colours.
            face("Reset custom colors", "resetCustomColors", 1244, 0, false, CUST, kTools),
            pic("Set black and white mode", "setBlackWhiteMode", 1243, 50, false, CUST, kTools),
            pic("Paste on selected slides", "pasteOnSelectedSlides", 1232, 46, G, CUST, kTools),
            pic("Remove all speech notes", "removeAllSpeechNotes", 1230, 40, false, CUST, kTools),
            pic("Align vertically in golden section", "alignVerticallyInGoldenSection", 1235, 47, false, CUST, kTools),
            pic("Create motion path", "createMotionPath", 1233, 43, false, CUST, kTools),
            pic("Text statistics", "countWords", 1234, 44, false, CUST, kTools),
            face("Settings", "!showSettings", 1240, 855, G, false, kTools),
            face("Reference", "!reference", 0, 984, false, false, kHelp),
            face("FAQ", "!FAQ", 0, 610, false, false, kHelp),
            face("Check for updates", "!startUpdate", 0, 610, G, false, kHelp),
            face("Varnotel web site", "!homepage", 0, 610, false, false, kHelp),
            face("Send feedback", "!feedback", 0, 363, G, false, kHelp),
            face("Recommend to a friend", "!recommend", 0, 363, false, false, kHelp),
            pic("Info", "!about", 0, 1, G, false, kHelp),
        };
        r.insert(r.end(), rest.begin(), rest.end());
        return r;
    }();
    return rows;
}

const std::vector<BuiltInControl>& shortcutsContents() {
    static const std::vector<BuiltInControl> rows = {
        {1402, false}, {164, G},      {165, false},  {166, G},     {167, false}, {170, false}, {171, false},
        {196, G},      {197, false},  {199, false},  {198, false}, {206, G},     {1042, G},    {1043, false},
        {2061, G},     {2062, false}, {2063, false}, {2710, G},    {58, G},      {57, false},
    };
    return rows;
}

}  // namespace plorin
