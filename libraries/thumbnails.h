// The gallery pictures of the Slide Wizard items and the My Elements elements: PNG files made
// from each library slide's shapes, rebuilt only when the source presentations are newer than
// the date of the last build kept in the settings. Also which file is the My Elements library.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace plorin {

// The thumbnail settings, read once when the ribbon loads and kept by the add-in object.
// Dates are day numbers: days since 30 December 1899, the fraction being the time of day.
struct ThumbnailSettings {
    std::int16_t width = 160;  // pixels; also the galleries' item width
    std::int16_t height = 120;
    double slideWizardDate = 0;  // newest template date of the last successful build
    double myElementsDate = 0;   // the library's date at the last successful build
};

// Reads "thumbsWidth", "thumbsHeight", "thumbsDate_slideWizard" and "thumbsDate_myElements".
// A size that is not a whole number from 1 to 1024 gives its default, so that a damaged or
// hand-edited setting can neither make every thumbnail fail nor fill the memory.
ThumbnailSettings readThumbnailSettings();

// The galleries' thumbnail settings as the ribbon's onLoad read them, and whether the Slide
// Wizard's pictures are built: once per loading of the ribbon, when their menu is first
// opened (a failed build is tried again).
struct GalleryThumbnails {
    ThumbnailSettings settings;
    bool slideWizardBuilt = false;
};
GalleryThumbnails& galleryThumbnails();

// A date as the settings keep it: the shortest text that reads back to the same number,
// "." as the decimal separator whatever the locale.
std::string formatDayNumber(double days);
// The number at the start of a text ("." as the decimal separator, blanks before it
// skipped); reading stops at the first character that does not belong to it, and a text
// that does not start with a number gives 0.
double parseDayNumber(const std::string& text);
// The day number of a file's last change (UTC), or nothing when the file does not exist.
std::optional<double> fileDayNumber(const std::string& path);

// The thumbnail of a Slide Wizard item: the thumbs folder, @file, "_", @slideNo, ".png";
// "" when that name would leave the thumbs folder.
std::string slideWizardThumbPath(const std::string& file, const std::string& slideNo);
// The thumbnail of a My Elements element: the My Elements folder's "thumbs/<slide id>.png".
std::string myElementsThumbPath(long slideId);

// The My Elements library presentation: on command-bar hosts always "myelements.ppt"; on
// other hosts "myelements.pptx" when it exists, else "myelements.ppt" (in the My Elements
// folder). Raises error 91 when the add-in is not connected to a host.
std::string getMyElementsFile();

// Renders a thumbnail for every Slide Wizard item inside a submenu whose template (in the
// first style's folder) changed after settings.slideWizardDate. Each template is opened once
// per run of items using it, without a window, and closed again on every path; an item whose
// template cannot be opened, whose slide is missing or empty, or whose picture cannot be
// saved is skipped and counted. The user's clipboard is put back afterwards. With every item
// done the newest template date is stored (setting and `settings`) and the result is true;
// otherwise a critical message tells the user and the result is false (nothing stored).
// Without styles nothing is done and the result is true. Raises error 91 without a host.
bool createSlideWizardThumbs(ThumbnailSettings& settings);

// Brings the thumbnails of the My Elements index up to date when the library changed after
// settings.myElementsDate: only elements whose slide changed (by its fingerprint in the saved
// library), whose picture is missing or was changed since it was drawn, or that were never
// drawn are rendered; the library is then opened once, without a window, and closed on every
// path, and the clipboard is put back. "thumbs/drawn.txt" records what each picture shows.
// Nothing happens when there is no library or no index loaded. An element whose slide is
// missing or whose picture cannot be saved is skipped and counted: a critical message then
// tells the user; otherwise the library's date is stored (setting and `settings`). Raises
// error 91 without a host.
void createMyElementsThumbs(ThumbnailSettings& settings);

}  // namespace plorin
