// The presentation host stand-in: an in-memory object model with the host's object and
// member names, its application events, its COM add-in list, and its own file format.
// Everything the add-ins do to presentations goes through here. Host failures are thrown
// as HostError with the host's error numbers. Indices are 1-based, as in the host.
//
// Getters carry the host's member names (Left, Tags, Slides); setters are "set" + name.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/errors.h"

namespace host {

// The host's error numbers, as signed 32-bit values the way the callers see them.
constexpr long E_FAIL = static_cast<std::int32_t>(0x80004005u);
constexpr long PP_E_INVALIDREQUEST = static_cast<std::int32_t>(0x80048240u);
constexpr long E_INVALIDARG = static_cast<std::int32_t>(0x80070057u);

class HostError : public platform::NumberedError {
public:
    HostError(long number, const std::string& description)
        : platform::NumberedError(number, description, "PowerPoint") {}
};

enum MsoTriState : int { msoFalse = 0, msoTrue = -1, msoCTrue = 1, msoTriStateMixed = -2, msoTriStateToggle = -3 };

enum PpViewType : int {
    ppViewSlide = 1,
    ppViewSlideMaster = 2,
    ppViewNotesPage = 3,
    ppViewHandoutMaster = 4,
    ppViewNotesMaster = 5,
    ppViewOutline = 6,
    ppViewSlideSorter = 7,
    ppViewTitleMaster = 8,
    ppViewNormal = 9,
    ppViewPrintPreview = 10,
    ppViewThumbnails = 11,
    ppViewMasterThumbnails = 12,
};

enum PpSaveAsFileType : int { ppSaveAsPresentation = 1, ppSaveAsDefault = 11 };

// Black-and-white renderings, 1 to 10.
enum MsoBlackWhiteMode : int {
    msoBlackWhiteAutomatic = 1,
    msoBlackWhiteGrayScale = 2,
    msoBlackWhiteLightGrayScale = 3,
    msoBlackWhiteInverseGrayScale = 4,
    msoBlackWhiteGrayOutline = 5,
    msoBlackWhiteBlackTextAndLine = 6,
    msoBlackWhiteHighContrast = 7,
    msoBlackWhiteBlack = 8,
    msoBlackWhiteWhite = 9,
    msoBlackWhiteDontShow = 10,
};

enum MsoFileDialogType : int { msoFileDialogOpen = 1, msoFileDialogSaveAs = 2 };

enum PpSelectionType : int { ppSelectionNone = 0, ppSelectionSlides = 1, ppSelectionShapes = 2, ppSelectionText = 3 };

enum MsoShapeType : int {
    msoAutoShape = 1,
    msoCallout = 2,
    msoChart = 3,
    msoComment = 4,
    msoFreeform = 5,
    msoGroup = 6,
    msoEmbeddedOLEObject = 7,
    msoFormControl = 8,
    msoLine = 9,
    msoLinkedOLEObject = 10,
    msoLinkedPicture = 11,
    msoOLEControlObject = 12,
    msoPicture = 13,
    msoPlaceholder = 14,
    msoTextEffect = 15,
    msoMedia = 16,
    msoTextBox = 17,
    msoTable = 19,
};

// A few AutoShape types by their host numbers; any number may be stored.
enum MsoAutoShapeType : int {
    msoShapeRectangle = 1,
    msoShapeRoundedRectangle = 5,
    msoShapeOval = 9,
    msoShapeRightArrow = 33,
    msoShapeLeftArrow = 34,
    msoShapeUpArrow = 35,
    msoShapeDownArrow = 36,
    msoShapeLeftRightArrow = 37,
    msoShapeUpDownArrow = 38,
    msoShapeStripedRightArrow = 49,
    msoShapeNotchedRightArrow = 50,
    msoShapePentagon = 51,
    msoShapeChevron = 52,
    msoShapeNotPrimitive = 138,
};

enum MsoZOrderCmd : int { msoBringToFront = 0, msoSendToBack = 1, msoBringForward = 2, msoSendBackward = 3 };
enum PpPlaceholderType : int { ppPlaceholderTitle = 1, ppPlaceholderBody = 2, ppPlaceholderSubtitle = 4 };
enum PpSlideLayout : int { ppLayoutTitle = 1, ppLayoutText = 2, ppLayoutTitleOnly = 11, ppLayoutBlank = 12 };
enum MsoTextOrientation : int { msoTextOrientationHorizontal = 1 };

class Application;
class Presentation;
struct PresentationFile;
class Slide;
class Shape;
class DocumentWindow;
class ShapeRange;
class TextFrame;
class TextRange;
class TextFrame2;
struct TextBody;
class Table;
struct TableBody;
class SlideRange;
class CommandBars;
class Adjustments;  // host/autoshape.h
class ShapeNodes;   // host/autoshape.h
class TimeLine;     // host/timeline.h
struct ShapeOutline;

// Any object the host hands out; an add-in may be given something that is not the
// presentation host's Application (another host), which it tells apart by its type.
class HostObject {
public:
    virtual ~HostObject() = default;
};

// A late-bound object, as an add-in's `Object` is to other add-ins.
class AutomationObject : public HostObject {
public:
    // Calls a method by name (compared without regard to case) with text arguments; throws
    // HostError(E_FAIL) for an unknown method.
    virtual std::string invoke(const std::string& method, const std::vector<std::string>& args) = 0;
};

// Named text values on a presentation, slide or shape. Names compare without regard to
// case and are stored in upper case, as the host does.
class Tags {
public:
    Tags() = default;
    // A copy holds the same values but reports changes to nobody.
    Tags(const Tags& other) : items_(other.items_) {}
    Tags& operator=(const Tags& other) {
        items_ = other.items_;
        return *this;
    }

    int Count() const { return static_cast<int>(items_.size()); }
    std::string Name(int index) const;                            // 1-based; throws HostError when out of range
    std::string Value(int index) const;                           // 1-based
    std::string Item(const std::string& name) const;              // "" when missing
    void Add(const std::string& name, const std::string& value);  // replaces an existing one
    void Delete(const std::string& name);                         // nothing when missing
    const std::vector<std::pair<std::string, std::string>>& all() const { return items_; }

    // Stand-in: called after every Add and effective Delete, so that the owning presentation
    // can note that it has unsaved changes.
    void onChange(std::function<void()> notify) { onChange_ = std::move(notify); }

private:
    std::vector<std::pair<std::string, std::string>> items_;
    std::function<void()> onChange_;
};

// A shape's fill and line (host/shape_format.cpp). Their setters throw HostError(E_FAIL) once
// the shape has been deleted and for values out of range; every change marks the presentation
// unsaved. Colours are RGB as 0x00BBGGRR, the red in the lowest byte.
// The colour of a colour-scheme index (1 background, 2 text, 3 shadow, 4 title, 5 fill,
// 6 to 8 accents) of the stand-in's one scheme; HostError(E_FAIL) for another index.
std::uint32_t schemeColorRGB(int index);

class ColorFormat {
public:
    ColorFormat(const ColorFormat&) = delete;
    ColorFormat& operator=(const ColorFormat&) = delete;
    std::uint32_t RGB() const { return rgb_; }
    void setRGB(std::uint32_t rgb);              // 0 to 0xFFFFFF
    int SchemeColor() const { return scheme_; }  // 0 when set by RGB
    void setSchemeColor(int index);              // 1 to 8; the RGB follows the scheme

private:
    friend class Shape;
    friend struct PresentationFile;
    friend class FillFormat;
    friend class LineFormat;
    ColorFormat(Shape& owner, std::uint32_t rgb) : owner_(&owner), rgb_(rgb) {}
    Shape* owner_;
    std::uint32_t rgb_;
    int scheme_ = 0;
};

// New AutoShapes are filled and outlined; text boxes, pictures and the rest are neither.
class FillFormat {
public:
    FillFormat(const FillFormat&) = delete;
    FillFormat& operator=(const FillFormat&) = delete;
    host::ColorFormat& ForeColor() { return foreColor_; }
    const host::ColorFormat& ForeColor() const { return foreColor_; }
    int Visible() const { return visible_; }  // msoTrue or msoFalse
    void setVisible(int v);                   // msoTrue, msoCTrue or msoFalse

private:
    friend class Shape;
    friend struct PresentationFile;
    explicit FillFormat(Shape& owner);  // the default of the shape's type
    Shape* owner_;
    host::ColorFormat foreColor_;
    int visible_;
};

// A shape's outline (a line shape's line); its weight is in points.
class LineFormat {
public:
    LineFormat(const LineFormat&) = delete;
    LineFormat& operator=(const LineFormat&) = delete;
    host::ColorFormat& ForeColor() { return foreColor_; }
    const host::ColorFormat& ForeColor() const { return foreColor_; }
    float Weight() const { return weight_; }
    void setWeight(float points);  // finite, 0 or more
    int Visible() const { return visible_; }
    void setVisible(int v);

private:
    friend class Shape;
    friend struct PresentationFile;
    explicit LineFormat(Shape& owner);
    Shape* owner_;
    host::ColorFormat foreColor_;
    float weight_;
    int visible_;
};

// Geometry setters, setName, setAutoShapeType, Flip and Delete throw HostError(E_FAIL) once the
// shape has been deleted, and for values that are not finite numbers.
class Shape : public HostObject, public std::enable_shared_from_this<Shape> {
public:
    // How many groups deep shapes may nest: grouping deeper is refused, and a file holding
    // deeper groups is damaged.
    static constexpr int kMaxGroupNesting = 64;
    Shape(const Shape&) = delete;
    Shape& operator=(const Shape&) = delete;

    float Left() const { return left_; }
    float Top() const { return top_; }
    float Width() const { return width_; }
    float Height() const { return height_; }
    float Rotation() const { return rotation_; }  // in [0, 360)
    void setLeft(float v);
    void setTop(float v);
    // Resizing a rotated shape keeps its own rotated top-left corner in place on the slide
    // (Left and Top move); see docs/host-behaviour.md.
    void setWidth(float v);
    void setHeight(float v);
    void setRotation(float v);                     // stored brought into [0, 360)
    int HorizontalFlip() const { return hflip_; }  // MsoTriState
    int VerticalFlip() const { return vflip_; }
    void Flip(int direction);  // 0 horizontal, 1 vertical: toggles the flip
    int Type() const { return type_; }
    int AutoShapeType() const { return autoShapeType_; }
    void setAutoShapeType(int t);
    const std::string& Name() const { return name_; }
    void setName(const std::string& n);
    long Id() const { return id_; }
    host::Tags& tags() { return tags_; }
    host::Tags& Tags() { return tags_; }
    // The slide that holds the shape (nullptr for a deleted shape).
    Slide* Parent() const { return parent_; }
    void Delete();
    // A placeholder's type (ppPlaceholderTitle 1, ...); 0 for other shapes.
    int PlaceholderType() const { return placeholderType_; }

    // Text, tables and groups (host/text.h; host/group.cpp).
    // msoTrue for AutoShapes, callouts, placeholders and text boxes that hold no table.
    int HasTextFrame() const;
    host::TextFrame TextFrame();  // HostError(E_FAIL) when HasTextFrame is msoFalse
    int HasTable() const { return hasTable_ ? msoTrue : msoFalse; }
    // The members of a group (type msoGroup), in order; HostError(E_FAIL) for other shapes.
    host::ShapeRange GroupItems() const;
    // Stand-in: how many groups deep the shape nests (1 for a group of plain shapes, 0 for a
    // shape that is no group).
    int groupNesting() const;
    // Stand-in: a placeholder holding a table (shapes made by AddTable hold one already).
    void setHasTable(bool on);
    // The second-generation text frame (host/text.h): HostError(E_FAIL) when HasTextFrame is
    // msoFalse or the host is older than 12.0.
    host::TextFrame2 TextFrame2();
    // The table (host/table.h); HostError(E_FAIL) when HasTable is msoFalse.
    host::Table Table();

    // msoTrue or msoFalse; a hidden shape stays in Shapes but is not drawn. Setting takes
    // msoTrue, msoCTrue or msoFalse; anything else is HostError(E_FAIL).
    int Visible() const { return visible_; }
    void setVisible(int v);
    // How the shape shows in black-and-white view: 1 (automatic) to 10 (do not show);
    // anything else is HostError(E_FAIL).
    int BlackWhiteMode() const { return blackWhiteMode_; }
    void setBlackWhiteMode(int mode);

    host::FillFormat& Fill() { return fill_; }
    const host::FillFormat& Fill() const { return fill_; }
    host::LineFormat& Line() { return line_; }
    const host::LineFormat& Line() const { return line_; }

    // AutoShape adjustments, freeform nodes and the stacking order (host/autoshape.h).
    host::Adjustments Adjustments();
    host::ShapeNodes Nodes();
    void ZOrder(int zOrderCmd);  // MsoZOrderCmd
    // PlaceholderFormat.Type: the kind of a placeholder (2 body); HostError(E_FAIL) for a
    // shape that is no placeholder. Stand-in: placeholders are made as bodies.
    int PlaceholderFormatType() const;
    void setPlaceholderType(int type) { placeholderType_ = type; }  // stand-in
    int ZOrderPosition() const;                                     // 1 for the backmost shape of its slide

    // Stand-in details (not the host's members): construction by Shapes.
    Shape(Slide* parent, long id, int type, int autoShapeType, float left, float top, float width, float height);
    // A deep copy of everything the shape holds (geometry, name, tags, fill, line, text, table,
    // group members) for `parent` (nullptr: outside any slide, as the clipboard keeps shapes);
    // each copied shape's id is idFor(its old id). Defined in host/clipboard.cpp, which must
    // learn every new field of the shape.
    std::shared_ptr<Shape> deepCopy(Slide* parent, const std::function<long(long)>& idFor) const;

private:
    friend class Shapes;
    friend class Slide;
    friend struct PresentationFile;
    friend class ShapeRange;
    friend class TextFrame;
    friend class TextRange;
    friend class ColorFormat;
    friend class FillFormat;
    friend class LineFormat;
    friend struct ShapePainter;     // host/render.cpp
    friend struct ShapeTextAccess;  // host/text.h, host/table.cpp
    friend class Adjustments;
    friend class ShapeNodes;
    void changed();             // marks the presentation unsaved
    void requireAlive() const;  // HostError(E_FAIL) for a deleted shape
    struct Frame {
        float left, top, width, height;
    };
    Frame frame() const { return {left_, top_, width_, height_}; }
    // A group's members follow its frame from `before` to where it is now.
    void carryMembers(const Frame& before);
    // Maps the shape's frame (and its members') from a box at `from` scaled to one at `to`.
    void reframe(const Frame& from, float scaleX, float scaleY, float toLeft, float toTop);
    // Mirrors the shape (and its members) across the line at axisTwice / 2, flipping it.
    void mirror(float axisTwice, bool horizontal);
    void detach();  // the shape, and a group's members, leave their slide
    Slide* parent_;
    long id_;
    int type_;
    int autoShapeType_;
    float left_, top_, width_, height_;
    float rotation_ = 0;
    int hflip_ = msoFalse, vflip_ = msoFalse;
    std::string name_;
    host::Tags tags_;
    std::shared_ptr<TextBody> text_;  // made on first use
    bool hasTable_ = false;
    int placeholderType_ = 0;
    std::shared_ptr<TableBody> table_;                // a table's cells; made on first use for a placeholder
    std::vector<std::shared_ptr<Shape>> groupItems_;  // a group's members
    int visible_ = msoTrue;
    int blackWhiteMode_ = msoBlackWhiteAutomatic;
    host::FillFormat fill_{*this};  // after type_: the defaults depend on it
    host::LineFormat line_{*this};
    std::shared_ptr<ShapeOutline> outline_;  // adjustments and nodes; made on first use
};

// Adding to the shapes of a deleted slide throws HostError(E_FAIL).
class Shapes {
public:
    Shapes(const Shapes&) = delete;
    Shapes& operator=(const Shapes&) = delete;
    int Count() const { return static_cast<int>(items_.size()); }
    std::shared_ptr<Shape> Item(int index) const;  // 1-based
    std::shared_ptr<Shape> AddShape(int autoShapeType, float left, float top, float width, float height);
    std::shared_ptr<Shape> AddTextbox(int orientation, float left, float top, float width, float height);
    // A table shape (type msoTable); the stand-in keeps no cells.
    std::shared_ptr<Shape> AddTable(int numRows, int numColumns, float left, float top, float width, float height);
    // Any shape type, for building test decks and reading files.
    std::shared_ptr<Shape> addOfType(int type, int autoShapeType, float left, float top, float width, float height);
    // A freeform (type msoFreeform, AutoShape type 138) through the points, in slide
    // coordinates (host/autoshape.cpp). HostError(E_FAIL) for fewer than two points.
    std::shared_ptr<Shape> AddPolyline(const std::vector<std::pair<float, float>>& points);
    // Puts copies of the clipboard's shapes on top of the slide's shapes (host/paste.cpp), with
    // their position, size and content and new ids of this presentation; returns the new
    // shapes. HostError(PP_E_INVALIDREQUEST) when the clipboard holds no shapes or holds a
    // placeholder (nothing is pasted then), HostError(E_FAIL) for a deleted slide.
    host::ShapeRange Paste();
    // The placeholders among the shapes, in order.
    host::ShapeRange Placeholders() const;
    const std::vector<std::shared_ptr<Shape>>& all() const { return items_; }
    // Gives the slide its title placeholder back (at the top of the slide, the slide's width
    // less a twentieth on each side); HostError(E_FAIL) when the slide has a title already.
    std::shared_ptr<Shape> AddTitle();
    // The slide's placeholders in stacking order, 1-based; HostError(E_FAIL) outside them.
    std::shared_ptr<Shape> Placeholders(int index) const;

private:
    friend class Shape;
    friend class Slide;
    friend struct PresentationFile;
    friend class ShapeRange;
    friend class View;
    explicit Shapes(Slide* owner) : owner_(owner) {}
    std::shared_ptr<Shape> group(const std::vector<std::shared_ptr<Shape>>& shapes);  // for ShapeRange.Group
    // Shapes.Paste and View.Paste: `member` names the caller in errors.
    host::ShapeRange paste(bool placeholdersAllowed, const char* member);
    Slide* owner_;
    std::vector<std::shared_ptr<Shape>> items_;
};

// A slide's background (Slide.Background): only its black-and-white mode is kept.
class SlideBackground {
public:
    explicit SlideBackground(Slide& slide) : slide_(&slide) {}
    int BlackWhiteMode() const;
    void setBlackWhiteMode(int mode);  // 1 to 10, else HostError(E_FAIL)

private:
    Slide* slide_;
};

class Slide : public HostObject, public std::enable_shared_from_this<Slide> {
public:
    Slide(const Slide&) = delete;
    Slide& operator=(const Slide&) = delete;
    ~Slide() override;

    long SlideID() const { return id_; }
    int SlideIndex() const;  // throws HostError(E_FAIL) for a deleted slide
    host::Shapes& Shapes() { return shapes_; }
    const host::Shapes& Shapes() const { return shapes_; }
    host::Tags& Tags() { return tags_; }
    int Layout() const { return layout_; }
    // The presentation that holds the slide (nullptr once deleted).
    Presentation* Parent() const { return parent_; }
    void Delete();  // throws HostError(E_FAIL) when already deleted
    // Moves the slide to position toPos (1 to the count of slides); its id stays.
    void MoveTo(int toPos);
    // The slide's notes page (host/notes.cpp): a range of one page whose Shapes hold a body
    // placeholder for the notes text. Made on first use; HostError(E_FAIL) for a deleted slide.
    host::SlideRange NotesPage();
    host::SlideBackground Background() { return host::SlideBackground(*this); }
    // The slide's animations (host/timeline.h); HostError(E_FAIL) for a deleted slide.
    host::TimeLine& TimeLine();

    Slide(Presentation* parent, long id, int layout);

private:
    friend class Slides;
    friend class Presentation;
    friend class Shapes;
    friend class Shape;
    friend class Design;
    friend struct PresentationFile;
    Presentation* parent_;
    long id_;
    int layout_;
    host::Shapes shapes_;
    host::Tags tags_;
    std::shared_ptr<Slide> notesPage_;          // outside the presentation's slides
    std::shared_ptr<host::TimeLine> timeLine_;  // made on first use
    int backgroundBlackWhiteMode_ = msoBlackWhiteAutomatic;
    friend class SlideBackground;
    friend struct ShapePainter;  // host/render.cpp
};

// A design: a slide master and, optionally, a title master. Masters are slides of their own
// outside the presentation's Slides; their shapes take ids from the presentation and mark
// it unsaved like any other.
class Design {
public:
    Design(const Design&) = delete;
    Design& operator=(const Design&) = delete;
    const std::string& Name() const { return name_; }
    std::shared_ptr<Slide> SlideMaster() const { return slideMaster_; }
    int HasTitleMaster() const { return titleMaster_ ? msoTrue : msoFalse; }
    // HostError(E_FAIL) when the design has no title master.
    std::shared_ptr<Slide> TitleMaster() const;
    // Gives the design a title master (the one it has when it has one).
    std::shared_ptr<Slide> AddTitleMaster();

    Design(Presentation* presentation, std::string name);

private:
    friend struct PresentationFile;
    friend class Presentation;
    Presentation* presentation_;
    std::string name_;
    std::shared_ptr<Slide> slideMaster_;
    std::shared_ptr<Slide> titleMaster_;
};

// A new presentation has one design, "Office Theme".
class Designs {
public:
    Designs(const Designs&) = delete;
    Designs& operator=(const Designs&) = delete;
    int Count() const { return static_cast<int>(items_.size()); }
    std::shared_ptr<Design> Item(int index) const;               // 1-based; HostError(E_FAIL) out of range
    std::shared_ptr<Design> Add(const std::string& designName);  // appended
    const std::vector<std::shared_ptr<Design>>& all() const { return items_; }

private:
    friend class Presentation;
    friend struct PresentationFile;
    explicit Designs(Presentation* owner) : owner_(owner) {}
    Presentation* owner_;
    std::vector<std::shared_ptr<Design>> items_;
};

class Slides {
public:
    Slides(const Slides&) = delete;
    Slides& operator=(const Slides&) = delete;
    int Count() const { return static_cast<int>(items_.size()); }
    std::shared_ptr<Slide> Item(int index) const;         // 1-based
    std::shared_ptr<Slide> FindBySlideID(long id) const;  // throws HostError when missing
    std::shared_ptr<Slide> Add(int index, int layout);    // index 1..Count+1
    const std::vector<std::shared_ptr<Slide>>& all() const { return items_; }

private:
    friend class Slide;
    friend class Presentation;
    friend struct PresentationFile;
    explicit Slides(Presentation* owner) : owner_(owner) {}
    Presentation* owner_;
    std::vector<std::shared_ptr<Slide>> items_;
};

// The presentation's extra colours (Presentation.ExtraColors): the custom colours the host
// offers beside the colour scheme, oldest first, as RGB values 0x00BBGGRR. The host keeps at
// most eight: adding a ninth drops the oldest. A colour already in the list is added again.
class ExtraColors {
public:
    static constexpr int kMaxColors = 8;
    ExtraColors(const ExtraColors&) = delete;
    ExtraColors& operator=(const ExtraColors&) = delete;
    int Count() const { return static_cast<int>(colors_.size()); }
    std::uint32_t Item(int index) const;  // 1-based; HostError(E_INVALIDARG) out of range
    void Add(std::uint32_t rgb);          // 0 to 0xFFFFFF, else HostError(E_INVALIDARG)
    void Clear();                         // removes every colour
    const std::vector<std::uint32_t>& all() const { return colors_; }

private:
    friend class Presentation;
    friend struct PresentationFile;
    explicit ExtraColors(Presentation* owner) : owner_(owner) {}
    Presentation* owner_;
    std::vector<std::uint32_t> colors_;
};

// A colour of a colour scheme (ColorScheme.Colors(i)).
class RGBColor {
public:
    explicit RGBColor(std::uint32_t rgb) : rgb_(rgb) {}
    std::uint32_t RGB() const { return rgb_; }

private:
    std::uint32_t rgb_;
};

// The colour scheme of slides (SlideRange.ColorScheme): the stand-in's one scheme, the
// eight colours of schemeColorRGB.
class ColorScheme {
public:
    host::RGBColor Colors(int index) const;  // 1 to 8, else HostError(E_INVALIDARG)
};

// A presentation stays usable as a value after Close (or after its Application has gone), but
// Save, SaveAs, SaveCopyAs and Close then throw HostError(E_FAIL).
class Presentation : public HostObject, public std::enable_shared_from_this<Presentation> {
public:
    Presentation(const Presentation&) = delete;
    Presentation& operator=(const Presentation&) = delete;
    ~Presentation() override;

    // Path and name: "Path" is the folder without a trailing "/", "Name" the file name
    // ("Presentation1" for an unsaved one), "FullName" both joined (or Name when unsaved).
    const std::string& FullName() const { return fullName_; }
    std::string Name() const;
    std::string Path() const;
    bool Saved() const { return saved_; }
    void setSaved(bool s) { saved_ = s; }
    bool ReadOnly() const { return readOnly_; }
    host::Slides& Slides() { return slides_; }
    host::Designs& Designs() { return designs_; }
    host::Tags& Tags() { return tags_; }
    host::ExtraColors& ExtraColors() { return extraColors_; }
    float SlideWidth() const { return slideWidth_; }
    float SlideHeight() const { return slideHeight_; }
    Application& app() const { return *app_; }

    // Save fires PresentationBeforeSave; unless a sink cancels it writes FullName and clears
    // Saved. Throws HostError(E_FAIL) for a read-only or never saved presentation (before any
    // event) and when the file cannot be written.
    void Save();
    // The same under a new name: when not cancelled, FullName becomes fileName and the
    // presentation is no longer read-only. The stand-in writes its one format whatever the
    // file type (ppSaveAsPresentation or ppSaveAsDefault; another throws HostError(E_FAIL)):
    // slide ids and everything else are kept.
    void SaveAs(const std::string& fileName, int fileFormat = ppSaveAsDefault);
    void SaveCopyAs(const std::string& fileName);  // writes a copy; no event, name and Saved unchanged
    // Fires PresentationClose while the presentation still counts in Presentations, then
    // removes it and its windows. Close from a PresentationClose handler does nothing.
    void Close();
    bool closed() const { return closed_; }  // stand-in: after Close or the Application's end

    Presentation(Application* app, std::string fullName, bool readOnly);

    // Slide and shape ids are whole numbers from 1 to this, the host's 32-bit range.
    static constexpr long kMaxObjectId = 2147483647;

private:
    friend class Presentations;
    friend class Slides;
    friend class Slide;
    friend class Shape;
    friend class Application;
    friend struct PresentationFile;
    void write(const std::string& fileName) const;
    void requireOpen() const;
    // The next slide or shape id; HostError(E_FAIL) once every id up to kMaxObjectId is used.
    long takeSlideId();
    long takeShapeId();
    void changed() { saved_ = false; }
    // Keeps windows consistent when a slide or shape leaves the presentation.
    void slideRemoved(Slide& slide, int formerIndex);
    void shapeRemoved(Shape& shape);
    Application* app_;
    std::string fullName_;
    bool hasPath_ = true;  // false for "Presentation<N>" that was never saved
    bool readOnly_;
    bool closed_ = false;
    bool closing_ = false;  // PresentationClose is being fired
    bool saved_ = true;
    float slideWidth_ = 720, slideHeight_ = 540;
    long nextSlideId_ = 256;
    long nextShapeId_ = 2;
    host::Slides slides_;
    host::Designs designs_{this};
    host::Tags tags_;
    host::ExtraColors extraColors_{this};
    friend class Shapes;
    friend class ExtraColors;
    friend class Design;
    friend class Designs;
    friend class SlideBackground;
};

class Presentations {
public:
    Presentations(const Presentations&) = delete;
    Presentations& operator=(const Presentations&) = delete;
    int Count() const { return static_cast<int>(items_.size()); }
    std::shared_ptr<Presentation> Item(int index) const;  // 1-based
    // A new empty presentation named "Presentation<N>". With a window, the window becomes
    // active (WindowActivate fires) before NewPresentation fires.
    std::shared_ptr<Presentation> Add(bool withWindow = true);
    // Opens a file in the stand-in's format. Opening a path that is already open gives a
    // separate instance. Throws HostError(E_FAIL) when the file is missing or unreadable.
    // With a window, the window becomes active (WindowActivate fires) before PresentationOpen
    // fires; without one, only PresentationOpen fires. An untitled copy gets a new
    // "Presentation<N>" name and no path.
    std::shared_ptr<Presentation> Open(const std::string& fileName, bool readOnly = false, bool untitled = false,
                                       bool withWindow = true);
    const std::vector<std::shared_ptr<Presentation>>& all() const { return items_; }

private:
    friend class Application;
    friend class Presentation;
    explicit Presentations(Application* app) : app_(app) {}
    std::string untitledName();
    // Puts a new presentation in the list and, when asked, gives it an active window.
    void attach(const std::shared_ptr<Presentation>& p, bool withWindow);
    // After NewPresentation or PresentationOpen: WindowSelectionChange for its new window.
    void announceSelection(const Presentation& p);
    Application* app_;
    std::vector<std::shared_ptr<Presentation>> items_;
    int untitledCount_ = 0;
};

class ShapeRange {
public:
    ShapeRange() = default;
    explicit ShapeRange(std::vector<std::shared_ptr<Shape>> shapes) : shapes_(std::move(shapes)) {}
    int Count() const { return static_cast<int>(shapes_.size()); }
    std::shared_ptr<Shape> Item(int index) const;  // 1-based
    const std::vector<std::shared_ptr<Shape>>& all() const { return shapes_; }

    // Over several shapes a value on which they differ reads msoTriStateMixed (-2); an
    // empty range reads msoFalse (Type: 0).
    int Type() const;
    int AutoShapeType() const;  // host/autoshape.cpp
    int HasTextFrame() const;
    int HasTable() const;
    // The text frames of the shapes that have one; HostError(E_FAIL) when none has.
    host::TextFrame TextFrame() const;
    // Makes the shapes, live shapes of one slide and no group members, the members of a new
    // group shape put in the place of the topmost one. HostError(E_FAIL) for fewer than two.
    std::shared_ptr<Shape> Group() const;
    // Sets every shape's Visible (BlackWhiteMode); the first refusal stops it.
    void setVisible(int v) const;
    void setBlackWhiteMode(int mode) const;
    // Puts deep copies of the shapes on the clipboard (host/clipboard.h), replacing what it
    // held. HostError(E_FAIL) for an empty range or a deleted shape (the clipboard unchanged).
    void Copy() const;

private:
    std::vector<std::shared_ptr<Shape>> shapes_;
};

class SlideRange {
public:
    SlideRange() = default;
    explicit SlideRange(std::vector<std::shared_ptr<Slide>> slides) : slides_(std::move(slides)) {}
    int Count() const { return static_cast<int>(slides_.size()); }
    std::shared_ptr<Slide> Item(int index) const;  // 1-based
    const std::vector<std::shared_ptr<Slide>>& all() const { return slides_; }
    // The slides' colour scheme; HostError(PP_E_INVALIDREQUEST) for an empty range.
    host::ColorScheme ColorScheme() const;

private:
    std::vector<std::shared_ptr<Slide>> slides_;
};

class Selection : public HostObject {
public:
    int Type() const { return type_; }
    // The selected shapes; throws HostError(PP_E_INVALIDREQUEST) when the selection holds none.
    host::ShapeRange ShapeRange() const;
    // The selected slides (the current slide for a shape or text selection). With nothing
    // selected in a view that shows a slide (normal, slide, notes page) it is the slide in
    // view. Throws HostError(PP_E_INVALIDREQUEST) when there is none.
    host::SlideRange SlideRange() const;
    // The selected text; throws HostError(PP_E_INVALIDREQUEST) unless the type is text. Text
    // in a table stands in its first selected cell, else in its first cell.
    host::TextRange TextRange() const;
    // The window whose selection this is (nullptr for a selection made up by a test).
    host::DocumentWindow* Parent() const { return window_; }

    // Stand-in details: what the window's selection holds.
    DocumentWindow* window_ = nullptr;
    int type_ = ppSelectionNone;
    std::vector<std::shared_ptr<Shape>> shapes_;
    std::vector<std::shared_ptr<Slide>> slides_;
    int textStart_ = 1, textLength_ = 0;  // a text selection's characters
};

// A part of a window that shows one view: normal view has the thumbnails, slide and notes
// panes, every other view one pane of its own type.
class Pane {
public:
    Pane(const Pane&) = delete;
    Pane& operator=(const Pane&) = delete;
    int ViewType() const { return viewType_; }
    bool Active() const;
    void Activate();  // makes it the window's active pane; no event

    Pane(DocumentWindow* window, int viewType) : window_(window), viewType_(viewType) {}

private:
    DocumentWindow* window_;
    int viewType_;
};

class Panes {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    host::Pane& Item(int index) const;  // 1-based; HostError(E_FAIL) when out of range

private:
    friend class DocumentWindow;
    friend class Pane;
    std::vector<std::unique_ptr<Pane>> items_;
};

// What a document window shows (DocumentWindow.View).
class View {
public:
    View(const View&) = delete;
    View& operator=(const View&) = delete;
    // Pastes the clipboard's shapes onto the slide shown (host/paste.cpp), placeholders
    // included, as Shapes.Paste places them, and selects them (WindowSelectionChange fires).
    // The active pane must show a slide: the slide pane, or the slide or title master (the
    // stand-in has no masters: the slide shown takes the shapes). Throws
    // HostError(PP_E_INVALIDREQUEST) in any other pane (outline, thumbnails, slide sorter,
    // notes page), without a slide shown, or without shapes on the clipboard; E_FAIL for a
    // closed window.
    void Paste();
    // Shows slide `index` (1-based) of the window's presentation; HostError(E_FAIL) when out
    // of range or for a closed window.
    void GotoSlide(int index);

    explicit View(DocumentWindow* window) : window_(window) {}

private:
    DocumentWindow* window_;
};

// Once its presentation is closed a window is closed too: Activate, the select calls and
// showSlide then throw HostError(E_FAIL).
class DocumentWindow : public HostObject, public std::enable_shared_from_this<DocumentWindow> {
public:
    DocumentWindow(const DocumentWindow&) = delete;
    DocumentWindow& operator=(const DocumentWindow&) = delete;

    host::Presentation& Presentation() const { return *presentation_; }
    host::Selection& Selection() { return selection_; }
    host::Panes& Panes() { return panes_; }
    host::Pane& ActivePane() { return panes_.Item(activePane_); }
    host::View& View() { return view_; }
    int ViewType() const { return viewType_; }
    // Stand-in: switches the view. Normal view has the thumbnails, slide and notes panes with
    // the slide pane active; outline view the outline, slide and notes panes with the outline
    // pane active; slide master view the master thumbnails and the master pane, the master
    // pane active; every other view one pane of its own. The thumbnail views (11, 12) are
    // panes, not views: writing one shows the view that holds it with that pane active. The
    // selection is left alone.
    void setViewType(int v);
    void Activate();  // makes it the active window; fires WindowActivate

    // Stand-in: selecting fires WindowSelectionChange. The shapes must be live shapes of one
    // slide of this window's presentation, the slides live slides of it (HostError(E_FAIL)
    // otherwise); selecting shapes shows their slide, selecting slides shows the first one.
    // An empty list selects nothing.
    void selectShapes(const std::vector<std::shared_ptr<Shape>>& shapes);
    void selectSlides(const std::vector<std::shared_ptr<Slide>>& slides);
    void selectNone();
    // Selects `length` characters from character `start` (1-based, both clamped into the
    // text) of a live shape with a text frame, or a table, on a slide of this presentation
    // (HostError(E_FAIL) otherwise); shows its slide. In a table the selection is an
    // insertion point at the start of a cell (Selection.TextRange).
    void selectText(const std::shared_ptr<Shape>& shape, int start, int length);
    std::shared_ptr<Slide> currentSlide() const;  // the slide shown in the pane, or nullptr
    // Shows a slide of this presentation (HostError(E_FAIL) for another one). Shapes or text
    // of another slide are no longer selected; WindowSelectionChange fires.
    void showSlide(const std::shared_ptr<Slide>& slide);
    bool closed() const { return closed_; }  // stand-in

    // A new window shows slide 1, if there is one. Presentations fire WindowSelectionChange
    // for it after NewPresentation or PresentationOpen.
    DocumentWindow(Application* app, std::shared_ptr<host::Presentation> presentation);

private:
    friend class Application;
    friend class Presentation;
    friend class Presentations;
    friend class Pane;
    friend class View;
    friend class Slides;
    friend class Selection;
    void requireOpen() const;
    void changeSelection(int type, std::vector<std::shared_ptr<Shape>> shapes,
                         std::vector<std::shared_ptr<Slide>> slides);
    void selectionChanged();  // fires WindowSelectionChange for the selection as it is
    Application* app_;
    bool closed_ = false;
    std::shared_ptr<host::Presentation> presentation_;
    std::weak_ptr<Slide> current_;
    host::Selection selection_;
    host::Panes panes_;
    int viewType_ = 0;
    int activePane_ = 1;
    host::View view_{this};
};

class Windows {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    std::shared_ptr<DocumentWindow> Item(int index) const;  // 1-based
    const std::vector<std::shared_ptr<DocumentWindow>>& all() const { return items_; }

private:
    friend class Application;
    friend class Presentations;
    friend class Presentation;
    friend class DocumentWindow;
    std::vector<std::shared_ptr<DocumentWindow>> items_;
};

// The application events an add-in can sink. Default handlers do nothing.
class ApplicationEvents {
public:
    virtual ~ApplicationEvents() = default;
    virtual void NewPresentation(Presentation&) {}
    virtual void PresentationOpen(Presentation&) {}
    virtual void PresentationClose(Presentation&) {}
    virtual void PresentationBeforeSave(Presentation&, bool& /*cancel*/) {}
    virtual void PresentationPrint(Presentation&) {}
    virtual void SlideShowBegin() {}
    virtual void SlideShowEnd() {}
    virtual void WindowActivate(Presentation&, DocumentWindow&) {}
    virtual void WindowSelectionChange(Selection&) {}
};

// ---- Add-ins -------------------------------------------------------------------------

class COMAddIn;
class IRibbonExtensibility;  // host/ribbon.h
class RibbonHost;            // host/ribbon_host.h

// The lifecycle every add-in implements.
class IDTExtensibility2 {
public:
    virtual ~IDTExtensibility2() = default;
    // `application` is the host's Application, or another host's object.
    virtual void OnConnection(HostObject& application, int connectMode, COMAddIn* addInInst) = 0;
    virtual void OnDisconnection(int removeMode) = 0;
    virtual void OnAddInsUpdate() = 0;
    virtual void OnStartupComplete() = 0;
    virtual void OnBeginShutdown() = 0;
};

// An add-in object as the host creates it from a library.
class AddIn : public IDTExtensibility2 {
public:
    // What other add-ins reach as COMAddIn.Object (nullptr when the add-in offers none).
    virtual std::shared_ptr<AutomationObject> object() { return nullptr; }
    // The add-in's ribbon callbacks (nullptr when it offers no ribbon). Hosts that draw a
    // ribbon load it from here after OnConnection and drop it before releasing the add-in.
    virtual IRibbonExtensibility* ribbon() { return nullptr; }
};

// Libraries export `extern "C" host::AddIn* varnotel_create_addin(const char* progId)`;
// it returns a new add-in object (owned by the host) or nullptr for an unknown ProgID.
using AddInFactory = std::function<std::unique_ptr<AddIn>()>;

class COMAddIn {
public:
    COMAddIn(const COMAddIn&) = delete;
    COMAddIn& operator=(const COMAddIn&) = delete;

    const std::string& ProgId() const { return progId_; }
    const std::string& Description() const { return description_; }
    bool Connect() const { return connected_; }
    // True creates the add-in object and calls OnConnection(app, ext_cm_AfterStartup, this);
    // when creating (e.g. loading the library) or OnConnection fails, the object is released,
    // Connect stays false and the failure is thrown as HostError. False calls
    // OnDisconnection(ext_dm_UserClosed) and releases the object; a failure there is
    // swallowed (the add-in is gone either way). Setting the current value again, or
    // changing it from inside the add-in's own OnConnection/OnDisconnection, does nothing.
    void setConnect(bool on);
    // The add-in's object() while connected, else nullptr.
    std::shared_ptr<AutomationObject> Object() const;

    COMAddIn(Application* app, std::string progId, std::string description, AddInFactory factory);

private:
    friend class Application;
    friend class COMAddIns;
    // Creates the object and calls OnConnection(connectMode); see setConnect.
    void connect(int connectMode);
    // Calls OnDisconnection(removeMode) and releases the object; swallows its failures.
    void disconnect(int removeMode);
    Application* app_;
    std::string progId_;
    std::string description_;
    AddInFactory factory_;
    std::unique_ptr<AddIn> addIn_;
    bool connected_ = false;
    bool busy_ = false;  // inside OnConnection / OnDisconnection
};

class COMAddIns {
public:
    COMAddIns(const COMAddIns&) = delete;
    COMAddIns& operator=(const COMAddIns&) = delete;
    int Count() const { return static_cast<int>(items_.size()); }
    COMAddIn& Item(int index);                  // 1-based; HostError when out of range
    COMAddIn& Item(const std::string& progId);  // compared without regard to case; HostError when missing
    // Registers an add-in (tests) or one found in a registration file. Throws HostError(E_FAIL)
    // for an empty ProgID or one already registered.
    COMAddIn& add(const std::string& progId, const std::string& description, AddInFactory factory);
    // Reads a registration file: lines "ProgID<TAB>library path relative to the file's
    // folder<TAB>description" (blank lines and "#" comments skipped, description optional);
    // each library is loaded with dlopen when first connected and stays loaded until the
    // process ends. Returns the number of entries read; throws HostError(E_FAIL) when the file
    // cannot be read, a line lacks its library path, or a ProgID is already registered
    // (entries before the faulty line stay registered).
    int loadRegistrations(const std::string& registrationFile);
    // The host's own start: connects every registered add-in that is not connected yet
    // (OnConnection with ext_cm_Startup), then calls OnStartupComplete on each add-in this
    // start connected, in registration order. An add-in that fails to connect stays
    // unconnected and the others go on; a failing OnStartupComplete is ignored. Returns the
    // number of add-ins connected.
    int startUp();

private:
    friend class Application;
    explicit COMAddIns(Application* app) : app_(app) {}
    Application* app_;
    std::vector<std::unique_ptr<COMAddIn>> items_;
};

// The host's Save As dialog (Application.FileDialog(msoFileDialogSaveAs)). Show asks the
// user interface (platform/ui_driver.h) for a file; a file that exists already is only taken after
// the user agreed to replace it ("... already exists. Do you want to replace it?", Yes/No;
// No asks for a file again). Nothing is written: the caller does with the name what it likes.
class FileDialog {
public:
    std::string Title = "Save As";
    std::string InitialFileName;
    int InitialView = 1;
    int FilterIndex = 1;
    // -1 when a file was chosen (SelectedItems then holds it), 0 for Cancel.
    int Show();
    const std::vector<std::string>& SelectedItems() const { return selected_; }

private:
    std::vector<std::string> selected_;
};

class Application : public HostObject {
public:
    explicit Application(std::string version);
    // Calls OnBeginShutdown on every connected add-in, then disconnects them in reverse order
    // (OnDisconnection(ext_dm_HostShutdown)), then drops windows and presentations without
    // events. Add-in libraries stay loaded.
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    const std::string& Version() const { return version_; }
    host::Presentations& Presentations() { return presentations_; }
    host::Windows& Windows() { return windows_; }
    // Throws HostError(PP_E_INVALIDREQUEST) when there is no window / presentation.
    std::shared_ptr<DocumentWindow> ActiveWindow() const;
    std::shared_ptr<Presentation> ActivePresentation() const;
    host::COMAddIns& COMAddIns() { return addIns_; }
    host::CommandBars& CommandBars();  // host/command_bars.h
    host::RibbonHost& Ribbon();        // host/ribbon_host.h; empty on hosts without a ribbon
    // A new file dialog of the type; only msoFileDialogSaveAs is modelled, any other type
    // throws HostError(E_FAIL).
    std::shared_ptr<host::FileDialog> FileDialog(int type);
    // Runs a macro "File.ppt!Module.Macro" of an open presentation. The stand-in records the
    // call and returns ""; a macro whose presentation is not open throws HostError(E_FAIL).
    std::string Run(const std::string& macroName, const std::vector<std::string>& args = {});
    const std::vector<std::string>& macrosRun() const { return macrosRun_; }

    // Event sinks (not owned). Events go to every sink in the order they were added; a sink
    // advised twice is called once, unadvising one that is not advised does nothing.
    void advise(ApplicationEvents* sink);
    void unadvise(ApplicationEvents* sink);
    // Stand-in: fire events that have no model action of their own.
    void printPresentation(Presentation& p);
    void beginSlideShow();
    void endSlideShow();

    // Internal: event fan-out used by the model. Goes to the sinks advised when the event
    // starts that are still advised when their turn comes. A sink's failure is dropped, as
    // the host ignores what an event handler returns, and the next sink still gets the event.
    template <class F>
    void fire(F&& f) {
        const auto sinks = sinks_;
        for (auto* s : sinks) {
            if (std::find(sinks_.begin(), sinks_.end(), s) == sinks_.end()) continue;
            try {
                f(*s);
            } catch (...) {
            }
        }
    }

private:
    friend class DocumentWindow;
    friend class Presentations;
    friend class Presentation;
    friend double hostVersionNumber(const Application& app);
    std::string version_;
    double versionNumber_;  // the version parsed once: text frames ask on every access
    host::Presentations presentations_;
    host::Windows windows_;
    std::weak_ptr<DocumentWindow> active_;
    host::COMAddIns addIns_;
    std::vector<ApplicationEvents*> sinks_;
    std::vector<std::string> macrosRun_;
    std::shared_ptr<host::CommandBars> commandBars_;  // made on first use
    std::shared_ptr<host::RibbonHost> ribbon_;        // made on first use
};

}  // namespace host
