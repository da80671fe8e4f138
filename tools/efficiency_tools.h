// The tool object: every one-click command on shapes, text, slides and presentations is a
// public method of the one EfficiencyTools instance. The ribbon reaches them by number, the
// command bars by name; `callByName` serves the latter.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/variant.h"

namespace host {
class Shape;
class TextFrame;
}  // namespace host

namespace plorin {

struct TextWalkObject;  // tools/text_walker.h
class BlockArrows;      // tools/shape_dialogs.h

class EfficiencyTools {
public:
    EfficiencyTools() = default;
    EfficiencyTools(const EfficiencyTools&) = delete;
    EfficiencyTools& operator=(const EfficiencyTools&) = delete;

    // Calls the public command of that name (compared without regard to case), without an
    // argument or with one text argument. An unknown name, or a call with the wrong number
    // of arguments, raises error 438 ("Object doesn't support this property or method").
    void callByName(const std::string& name, const std::optional<std::string>& argument = std::nullopt);
    // True when a public command of that name exists.
    static bool hasMethod(const std::string& name);

    using Method0 = void (EfficiencyTools::*)();
    using Method1 = void (EfficiencyTools::*)(const std::string&);
    struct MethodEntry {
        const char* name;
        Method0 noArgument;  // one of the two is set
        Method1 oneArgument;
    };
    // Every command family contributes its table (declared below, defined beside its code).
    static const std::vector<const std::vector<MethodEntry>*>& methodTables();

    // ---- Commands, by family ----------------------------------------------------------

    // ---- Links and help (tools/help_and_web_commands.cpp) -----------------------------------------
    // Help topic 1000; the maker's pages on the configured web host; a feedback mail (the
    // update check, startUpdate, is below). The commands that open a feature's dialog (the
    // agenda, the about box, the settings) are the add-in's own: addin/named_commands.h.
    void reference();
    void tutorialVideos();
    void gettingStarted();
    void FAQ();
    void homepage();
    void recommend();
    void feedback();

    // ---- Geometry: visible edges of rotated shapes (tools/shape_metrics.cpp) -----------
    // Every geometry tool works on the visual box: the axis-parallel box a rotated shape
    // occupies, centred on the centre of its frame. A failure is reported with the
    // accessor's location; a getter then returns an empty value.
    Variant getLeft(host::Shape& shape);
    Variant getTop(host::Shape& shape);
    Variant getWidth(host::Shape& shape);
    Variant getHeight(host::Shape& shape);
    // Moves the shape so that its visual left (top) edge lies at value; the size stays.
    void setLeft(host::Shape& shape, double value);
    void setTop(host::Shape& shape, double value);
    // Sizes the visual width (height) to value, keeping the visual left and top edges. Only
    // for rotations of 0, 90, 180 or 270 degrees; any other shows a message and changes nothing.
    void setWidth(host::Shape& shape, double value);
    void setHeight(host::Shape& shape, double value);

    // ---- Align, stretch, move and stack (tools/align.cpp, stretch.cpp, stack.cpp) -------
    // Each takes the active window's selected shapes; the last one is the master, which is
    // never changed. The others are changed in selection order (stacking: in reverse).
    // A failure is reported once with the command's location and ends the command; shapes
    // already changed stay changed. A shape whose rotation forbids sizing gets a message
    // and is left as it is; the command goes on with the next shape.
    void alignLefts();
    void alignCenters();
    void alignRights();
    void alignTops();
    void alignMiddles();
    void alignBottoms();
    void alignWidths();
    void alignHeights();
    void alignWidthsAndHeights();
    // 6 widths, 7 heights, 8 both (height first); any other mode changes nothing.
    void alignSizes(int mode);
    // Moves one edge of each shape onto the master's same edge; the opposite edge stays. A
    // shape whose new extent would be zero or less is skipped.
    void stretchLeft();
    void stretchRight();
    void stretchTop();
    void stretchBottom();
    // Places each shape against the master's facing edge; the size stays.
    void moveLeftToMasterRight();
    void moveRightToMasterLeft();
    void moveTopToMasterBottom();
    void moveBottomToMasterTop();
    // Moves one edge of each shape onto the master's facing edge; the opposite edge stays.
    void stretchLeftToMasterRight();
    void stretchRightToMasterLeft();
    void stretchTopToMasterBottom();
    void stretchBottomToMasterTop();
    // Puts each shape's visual middle at the smaller golden-section point of the master's height.
    void alignVerticallyInGoldenSection();
    // Lines the shapes up gaplessly from the master's edge, away from it: leftwards (upwards)
    // when the first shape lies left of (above) the master, else rightwards (downwards).
    void stackHorizontally();
    void stackVertically();

    // ---- Text walker and indents (tools/text_walker.cpp, indents.cpp) ---------------------
    // Each walks the active window's selection (tools/text_walker.h) with its operation. A
    // failure is reported with the command's location; frames already changed stay changed.
    void beautifyIndents();  // every frame reached gets the staircase ruler of `beautify`
    void addIndent();        // the paragraphs reached move one level in ...
    void removeIndent();     // ... or out; only those of the selected text while it is edited
    // The staircase ruler of tools/text_beautifier.h on one frame.
    void beautify(const host::TextFrame& frame);

    // ---- Presentation-wide (tools/copyright.cpp, hidden_shapes.cpp, black_white_mode.cpp) --
    // Puts copyright notice n (from 1) of the current style's templates on every design's
    // slide master, and on hosts 9.0 to 11.0 on every title master, after removing old
    // notices: shapes tagged "plorin_copyright" and those whose trimmed text (or, without
    // text, whose name) is an entry of "copyright_remove.txt". The templates are opened
    // read-only without a window and closed on every path.
    void insertCopyright(std::int16_t n);
    void insertCopyrightNumbered(const std::string& n);  // the command bars' text argument
    // Hides the selected shapes and then tags their slide "plorin_hiddenShapes".
    void hideShapes();
    // Shows every shape of the chosen slides (the selected slides, else the current one)
    // and removes their tag; the host's "invalid request" only skips a step.
    void unhideShapes();
    // Asks when nothing is selected, then shows the dialog BlackWhiteMode modally.
    void setBlackWhiteMode();

    // ---- Selected slides as a presentation (tools/slide_extracts.cpp) ---------------------
    // Shows the folder of the active presentation's file; an unsaved presentation gets a
    // message instead.
    void openContainingFolder();
    // Writes the selected slides to a new extract, asks the host's Save As dialog for a
    // target, copies the extract over it and opens it. A target open in the host is refused.
    void saveSelectedSlides();
    // Asks for the attachment's name, writes the selected slides to a new extract and starts
    // the mail program with subject, name and extract path (an argument vector, no command
    // interpreter). A mail program that is missing or does not start is reported.
    void emailSelectedSlides();

    // ---- AutoShape beautifiers (tools/rounded_rectangles.cpp, process_arrows.cpp,
    // switch_objects.cpp, block_arrows.cpp, autoshape_adjustments.cpp) --------------------
    // Each works on the active window's selected shapes; a wrong selection gets a message,
    // a failure is reported with the command's location.
    // The last selected rounded rectangle's corner radius onto the others.
    void roundedRectangles();
    // A radius typed in millimetres (dialog roundedRectanglesInput) onto every selected one.
    void roundedRectanglesNumeric();
    // The tip angle of the last selected pentagon or chevron onto the others.
    void alignAngles();
    // Lines the selected arrows up into a gapless chain, each tip reaching into the next.
    void processChain();
    // Fits a four-cornered freeform (the header box) to the top band of a pentagon.
    void adjustPentagonHeader();
    // Swaps two shapes by a reference point of their visible boxes, and their layers when
    // asked (dialog SwitchObjectsInput).
    void SwitchObjects();
    // Opens the non-modal dialog BlockArrows when a block arrow is selected.
    void beautifyBlockArrow();
    // Opens the dialog AutoShapeAdjustments, which does the work.
    void tweakAutoShapeAdjustments();
    // The block-arrow dialog while it is loaded, else nullptr.
    BlockArrows* blockArrowsDialog() const;

    // ---- Slides and animations (tools/slide_tools.cpp) ------------------------------------
    // Pastes the clipboard onto every selected slide in selection order from the slide pane
    // of normal view, then returns to the view that was active. An empty or unsuitable
    // clipboard gets a message; slides already pasted keep their copies.
    void pasteOnSelectedSlides();
    // After a Yes, empties the notes body of every slide of the active presentation.
    void removeAllSpeechNotes();
    // Animates the first selected shape on a straight path to the centre of the second and
    // shows the animation pane.
    void createMotionPath();
    // A motion path's number: fixed-point with a "." and no exponent, whatever the locale.
    static std::string motionPathNumber(double value);

    // ---- Extra colours (tools/color_tools.cpp, pick_color.cpp) ----------------------------
    // Replaces the active presentation's extra colours by the palette in the setting
    // "customColors" (entries "#RRGGBB" separated by ","), pushing the present ones out with
    // filler colours first. A palette with an entry that is no colour is refused with a
    // message before anything changes.
    void resetCustomColors();
    // Opens the colour picker `pickColor` modally over the selected slides' colour scheme.
    void pickColorFromScreen();
    // An entry of "customColors": one leading character, then six hexadecimal digits RRGGBB;
    // the colour as RGB 0x00BBGGRR, or nothing for any other text.
    static std::optional<std::uint32_t> customColor(std::string_view entry);

    // ---- Margins, language, fit and wrap, word count (tools/margins.cpp, text_tools.cpp,
    // word_count.cpp) ------------------------------------------------------------------------
    // Asks for the margins in the dialog "Set margins" (tools/margin_input.h) and, on OK, sets
    // them on every frame the selection reaches. The dialog is unloaded afterwards.
    void setMargins();
    // Marks the selection's text with a proofing language: an id as a number (ribbon) or as
    // decimal text (command bars). In the notes pane: the selected notes text, or with
    // nothing selected all text of the current slide's notes page; elsewhere the walker's
    // reach, notes pages of selected slides included. A text that is no number is reported
    // with "EfficiencyTools, setLanguage" and nothing changes.
    void setLanguage(const Variant& languageId);
    void setLanguageText(const std::string& languageId) { setLanguage(Variant(languageId)); }  // for callByName
    // Toggle fit-shape-to-text (word wrap) on the selected shapes: mixed or off becomes on
    // for all, on becomes off; the command-bar button shows the new state. Shapes without
    // text get an empty text first so that the switch reaches them.
    void adjustAutoShapeToText();
    void wrapText();
    // Counts characters with and without blanks and the words of the selected shapes and
    // shows them in the window "WordCount" (tools/word_count.h).
    void countWords();

    // ---- Links and dialogs (tools/check_for_updates.cpp) ---------------------------------------
    // Asks the update add-in "plorinrenew.Connect" for a check now: connects it when it is
    // off and calls its "check", which returns at once. Without the update add-in in the
    // host's list the user is told to check the installation. Failures are reported as
    // "EfficiencyTools, startUpdate".
    void startUpdate();

private:
    // ---- Slide extract internals ------------------------------------------------------------
    // A copy of the active window's presentation that keeps only the selected slides (by
    // their ids, in their order), saved under a new unique name in the user's private extract
    // folder and listed in the setting "slideExtracts". Returns its full path. `extracting`
    // of the event sink is set while it runs. A failure is reported with "EfficiencyTools,
    // emailSelectedSlides" and ends the calling command.
    std::string extractSelectedSlides();
    // ".ppt" on the command-bar hosts, ".pptx" on every other.
    std::string getExtension();

    // ---- Geometry internals ---------------------------------------------------------------
    // The internal forms report a failure with their accessor's location, then throw
    // FailureReported (core/errors.h) so that the calling command ends quietly.
    struct VisualBox {
        double left = 0, top = 0, height = 0, width = 0;
    };
    VisualBox getRotatedMetrics(host::Shape& shape);
    void placeVisualLeft(host::Shape& shape, double value);
    void placeVisualTop(host::Shape& shape, double value);
    // False when the rotation forbids sizing (the message has been shown).
    bool sizeVisualWidth(host::Shape& shape, double value);
    bool sizeVisualHeight(host::Shape& shape, double value);
    // Workers by edge code: 0 left, 1 centre, 2 right, 3 top, 4 middle, 5 bottom.
    void align(int mode);
    void stretch(int mode);
    void moveToMaster(int mode);
    void stretchToMaster(int mode);
    // Moves one visual edge (code 0, 2, 3 or 5) of a shape, whose box is `box`, to `target`.
    void stretchEdge(host::Shape& shape, const VisualBox& box, int edge, double target);
    void stack(bool horizontal);
    // Calls body(shape, masterBox) for every selected shape but the master (the last one),
    // whose visual box is read once first.
    template <class F>
    void forEachAgainstMaster(F&& body);

    // ---- Text internals -------------------------------------------------------------------
    // Walks the object and applies the named operation ("beautifyIndents", "addIndent",
    // "removeIndent", "setMargins", "setLanguage"; any other name: nothing) to each frame.
    void iterate(const TextWalkObject& object, const std::string& operation, const Variant& value = {});
    // Moves the frame's paragraphs (those of the selected text while text is edited) one
    // level in (step +1) or out (-1), within 1 to 5 on hosts 9.0 to 11.0 and 1 to 9 on 12.0
    // and 14.0, where the ruler is then laid out anew; other hosts: nothing.
    void indentLevel(const host::TextFrame& frame, std::int16_t step);
    // The walker's operations "setMargins" and "setLanguage": the still-loaded dialog's
    // margins onto one frame, and a proofing language (a whole number) onto its text: the
    // selected part while text is selected, else all of it; a frame without text is left.
    void margins(const host::TextFrame& frame);
    void setLang(const host::TextFrame& frame, const Variant& languageId);

    // ---- AutoShape internals ----------------------------------------------------------------
    // The first adjustment of a rounded rectangle := radius / its shorter side.
    void setRadius(host::Shape& shape, double radius);
    std::shared_ptr<BlockArrows> blockArrows_;  // loaded by beautifyBlockArrow
    // Switches AutoSize (wrap == false) or WordWrap of the selected shapes and the button's state.
    void toggleTextFrame(bool wrap);
};

// The command tables of the families.
extern const std::vector<EfficiencyTools::MethodEntry> kGeometryMethods;
extern const std::vector<EfficiencyTools::MethodEntry> kTextMethods;
extern const std::vector<EfficiencyTools::MethodEntry> kSlideExtractMethods;
extern const std::vector<EfficiencyTools::MethodEntry> kAutoShapeMethods;
extern const std::vector<EfficiencyTools::MethodEntry> kTextToolMethods;
extern const std::vector<EfficiencyTools::MethodEntry> kLinkMethods;

// "mailto:" feedback address "?subject=" and the encoded subject.
std::string feedbackMailLink();
extern const std::vector<EfficiencyTools::MethodEntry> kSlideToolMethods;
extern const std::vector<EfficiencyTools::MethodEntry> kColorToolMethods;
extern const std::vector<EfficiencyTools::MethodEntry> kUpdateMethods;
extern const std::vector<EfficiencyTools::MethodEntry> kPresentationMethods;

}  // namespace plorin
