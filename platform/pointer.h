// The mouse pointer: where the cursor stands on the screen, and the low-level mouse hooks
// that hear every move and button event before any window does. A hook answers each event:
// 0 lets it go on to the window under the cursor, anything else swallows it. Hooks are
// asked newest first; each passes the event on to the next with callNextHook.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

// Hook type and codes, with the values the system's code uses.
constexpr int WH_MOUSE_LL = 14;
constexpr int HC_ACTION = 0;
// Mouse messages.
constexpr std::uintptr_t WM_MOUSEMOVE = 0x200;
constexpr std::uintptr_t WM_LBUTTONDOWN = 0x201;
constexpr std::uintptr_t WM_LBUTTONUP = 0x202;
constexpr std::uintptr_t WM_RBUTTONDOWN = 0x204;
constexpr std::uintptr_t WM_RBUTTONUP = 0x205;

// The event record a low-level mouse hook gets.
struct MouseHookEvent {
    ScreenPoint pt;
    std::uint32_t mouseData = 0;
    std::uint32_t flags = 0;
    std::uint32_t time = 0;
    std::uintptr_t extraInfo = 0;
};

// A hook procedure: hook code, message, event; returns 0 to pass the event, else swallows it.
using MouseHookProc = std::int32_t (*)(int code, std::uintptr_t message, const MouseHookEvent* event);

class Pointer {
public:
    Pointer() = default;
    Pointer(const Pointer&) = delete;
    Pointer& operator=(const Pointer&) = delete;
    virtual ~Pointer() = default;

    virtual ScreenPoint cursorPos() const = 0;
    // Installs a hook; returns its handle (never 0), or 0 for another hook type than
    // WH_MOUSE_LL or no procedure.
    virtual std::int32_t setHook(int hookType, MouseHookProc proc) = 0;
    // Removes the hook; false when no hook has that handle.
    virtual bool unhook(std::int32_t handle) = 0;
    // From inside a hook: the next hook's answer to the event, or 0 when no hook follows.
    // The handle is not needed (hooks pass 0). Outside of a hook: 0.
    virtual std::int32_t callNextHook(std::int32_t handle, int code, std::uintptr_t message,
                                      const MouseHookEvent* event) = 0;
};

// A pointer moved and clicked by a test or the simulator. Every event runs through the hooks
// first; what no hook swallowed reaches the windows and is recorded.
class ScriptedPointer : public Pointer {
public:
    ScreenPoint cursorPos() const override { return cursor_; }
    std::int32_t setHook(int hookType, MouseHookProc proc) override;
    bool unhook(std::int32_t handle) override;
    std::int32_t callNextHook(std::int32_t handle, int code, std::uintptr_t message,
                              const MouseHookEvent* event) override;

    // Moves the cursor, unless a hook swallows the move. True when it moved.
    bool moveTo(int x, int y);
    // A button message (down or up) where the cursor stands. True when it reached the window
    // below, false when a hook swallowed it.
    bool button(std::uintptr_t message);
    int hookCount() const { return static_cast<int>(hooks_.size()); }

    struct Delivered {
        std::uintptr_t message;
        ScreenPoint pt;
    };
    std::vector<Delivered> delivered;  // button events that reached the windows, in order

private:
    struct Hook {
        std::int32_t handle;
        MouseHookProc proc;
    };
    // Asks the hooks from position `at` of the chain the event runs through.
    std::int32_t ask(std::size_t at, int code, std::uintptr_t message, const MouseHookEvent* event);
    // Runs an event through the hooks installed now; its answer.
    std::int32_t dispatch(std::uintptr_t message, ScreenPoint pt);

    ScreenPoint cursor_;
    std::vector<Hook> hooks_;  // newest first
    std::int32_t nextHandle_ = 1;
    // Chains being asked (a hook may cause another event): the hooks as they were when the
    // event began, and the position of the hook being asked.
    struct Running {
        std::vector<Hook> chain;
        std::size_t at = 0;
    };
    std::vector<Running> running_;
};

// The desktop: no access to the system's pointer from here. The cursor rests at (0, 0) and
// no events arrive; hooks are kept until removed.
std::unique_ptr<Pointer> makeDesktopPointer();

}  // namespace platform
