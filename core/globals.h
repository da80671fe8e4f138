// Small helpers shared across the add-in: the host-version test, the
// undo fix run before every command, sorting of collections, rotation normalisation,
// folder creation, file-name checks and text conversion.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/collection.h"
#include "core/variant.h"

namespace host {
class COMAddIn;
class Shape;
}

namespace plorin {

// The product's name: the title of its messages.
constexpr const char* kProductName = "Varnotel for presentations";

// The host families.
constexpr const char* kCommandBarHosts = "9.0;10.0;11.0";
constexpr const char* kRibbonHosts = "12.0;14.0";

// True when the host's version text occurs anywhere in the list (plain, case-sensitive
// substring test). Not trapped: a failure reaches the caller.
bool isHostVersion(const std::string& versionList);

// The update add-in's entry in the host's COM add-in list: the first whose ProgID is
// "plorinrenew.Connect", or nullptr when it is not installed.
constexpr const char* kUpdateAddInProgId = "plorinrenew.Connect";
host::COMAddIn* findUpdateAddIn();

// Opens the undo-fix presentation without a window, runs its macro and closes it; every
// failing step is skipped.
void runUndoFix();

// Rounds halves to even, as the host's conversions do.
double roundHalfEven(double value);

// The shape's rotation brought into one turn (359.5 and more give a small negative value).
double normalizeRotation(host::Shape& shape);
double normalizeRotation(float rotation);

// Creates the folder and every missing parent. A folder that cannot be created (or whose
// parent can never exist) is reported and ends the call.
void createFolder(const std::string& path);

// False when the name holds \ / : * ? < > | " or TAB, LF, CR.
bool isValidFileName(const std::string& name);

// Bytes decoded in the platform's code page (UTF-8 here: the bytes are the text).
std::string ByteArrayToString(const std::vector<std::uint8_t>& bytes);
std::string ByteArrayToString(const std::string& bytes);

template <class T>
long arrayLength(const std::vector<T>& a) {
    return static_cast<long>(a.size());
}

// Sorts in place by a property (a value read from each item), by selection with removal
// and insertion, so equal values keep their order. With a key property, moved items are
// re-added under the key given by that property's text; otherwise without a key.
template <class T>
void SortCollection(Collection<T>& c, const std::function<Variant(const T&)>& property, bool ascending,
                    const std::function<Variant(const T&)>& keyProperty = nullptr) {
    for (int i = 1; i <= c.Count() - 1; ++i) {
        int best = i;
        Variant bestValue = property(c.Item(i));
        for (int j = i + 1; j <= c.Count(); ++j) {
            Variant v = property(c.Item(j));
            if (ascending ? v.lessThan(bestValue) : bestValue.lessThan(v)) {
                best = j;
                bestValue = v;
            }
        }
        if (best != i) {
            T item = c.Item(best);
            c.Remove(best);
            std::string key = keyProperty ? keyProperty(item).toText() : std::string();
            c.Add(std::move(item), key, i);
        }
    }
}

// A text converted to a number the way the system's conversions do ("." decimal point,
// blanks around allowed); raises errTypeMismatch when it is not a number.
double toNumber(const std::string& text);

}  // namespace plorin
