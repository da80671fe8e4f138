// A presentation the add-in opens or makes without a window for its own use (templates,
// the My Elements library): it never stays open behind the user's back.
#pragma once

#include <memory>
#include <string>

#include "host/host.h"

namespace plorin {

// A presentation the add-in opened or made without a window for its own use. It is marked
// saved (so that closing never asks) and closed when the holder lets go or goes, whatever
// happened in between.
class WindowlessPresentation {
public:
    WindowlessPresentation() = default;
    WindowlessPresentation(const WindowlessPresentation&) = delete;
    WindowlessPresentation& operator=(const WindowlessPresentation&) = delete;
    ~WindowlessPresentation() { close(); }

    // Opens the file read-write, not untitled, without a window (closing what was held).
    // Host errors pass through; nothing is held then.
    host::Presentation& open(host::Application& app, const std::string& path);
    // Holds a presentation made by the caller (closing what was held).
    host::Presentation& hold(std::shared_ptr<host::Presentation> presentation);
    // Marks it saved and closes it; never throws. Nothing happens when nothing is held.
    void close() noexcept;

    explicit operator bool() const { return presentation_ != nullptr; }
    host::Presentation* operator->() const { return presentation_.get(); }
    host::Presentation& operator*() const { return *presentation_; }

private:
    std::shared_ptr<host::Presentation> presentation_;
};

}  // namespace plorin
