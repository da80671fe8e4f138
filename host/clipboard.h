// The clipboard of the host's machine, shared by every Application in the process as the
// system's clipboard is shared by every program. Copying shapes puts deep copies of them
// here; the clipboard offers them as a bitmap too, rendered on demand.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui_forms.h"

namespace host {

class Shape;

class Clipboard {
public:
    Clipboard() = default;
    Clipboard(const Clipboard&) = delete;
    Clipboard& operator=(const Clipboard&) = delete;

    // What it holds, as one value: callers keep it to put the user's clipboard back later.
    // The shapes are copies nobody can change, so a kept value stays as it was.
    struct Contents {
        std::vector<std::shared_ptr<const Shape>> shapes;
        std::shared_ptr<const platform::Picture> bitmap;
    };

    bool empty() const { return contents_.shapes.empty() && !contents_.bitmap; }
    bool hasShapes() const { return !contents_.shapes.empty(); }
    // True when a bitmap can be had: a stored one, or shapes to render.
    bool hasBitmap() const { return !empty(); }

    // The copied shapes (detached copies, outside any slide), in the order they were copied.
    const std::vector<std::shared_ptr<const Shape>>& shapes() const { return contents_.shapes; }
    // The stored bitmap, or the shapes drawn at 96 dpi over their bounding box on white;
    // nullptr when the clipboard is empty. A new picture for every call.
    std::shared_ptr<platform::Picture> bitmap() const;

    // Replaces what it holds by deep copies of the shapes (nothing for an empty list). Throws
    // HostError(E_FAIL) for a deleted shape, leaving the clipboard as it was.
    void setShapes(const std::vector<std::shared_ptr<Shape>>& shapes);
    // Replaces what it holds by a copy of the picture.
    void setBitmap(const platform::Picture& picture);
    void clear() { contents_ = {}; }

    const Contents& contents() const { return contents_; }
    void setContents(Contents contents) { contents_ = std::move(contents); }

private:
    Contents contents_;
};

// The one clipboard of the process.
Clipboard& clipboard();

}  // namespace host
