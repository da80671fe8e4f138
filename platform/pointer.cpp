#include "platform/pointer.h"

#include <algorithm>

namespace platform {

std::int32_t ScriptedPointer::setHook(int hookType, MouseHookProc proc) {
    if (hookType != WH_MOUSE_LL || !proc) return 0;
    const std::int32_t handle = nextHandle_++;
    if (nextHandle_ <= 0) nextHandle_ = 1;  // handles stay positive
    hooks_.insert(hooks_.begin(), {handle, proc});
    return handle;
}

bool ScriptedPointer::unhook(std::int32_t handle) {
    return std::erase_if(hooks_, [&](const Hook& h) { return h.handle == handle; }) > 0;
}

std::int32_t ScriptedPointer::ask(std::size_t at, int code, std::uintptr_t message, const MouseHookEvent* event) {
    Running& run = running_.back();
    if (at >= run.chain.size()) return 0;
    const std::size_t before = run.at;
    run.at = at;
    // A hook removed while the event runs is not asked any more.
    const Hook hook = run.chain[at];
    const bool installed =
        std::any_of(hooks_.begin(), hooks_.end(), [&](const Hook& h) { return h.handle == hook.handle; });
    std::int32_t answer = 0;
    if (installed) {
        answer = hook.proc(code, message, event);
    } else {
        answer = ask(at + 1, code, message, event);
    }
    running_.back().at = before;
    return answer;
}

std::int32_t ScriptedPointer::callNextHook(std::int32_t, int code, std::uintptr_t message,
                                           const MouseHookEvent* event) {
    if (running_.empty()) return 0;
    return ask(running_.back().at + 1, code, message, event);
}

std::int32_t ScriptedPointer::dispatch(std::uintptr_t message, ScreenPoint pt) {
    MouseHookEvent event;
    event.pt = pt;
    running_.push_back({hooks_, 0});
    std::int32_t answer = 0;
    try {
        answer = ask(0, HC_ACTION, message, &event);
    } catch (...) {
        running_.pop_back();
        throw;
    }
    running_.pop_back();
    return answer;
}

bool ScriptedPointer::moveTo(int x, int y) {
    // The hooks see where the pointer goes; the cursor moves only when they let it.
    if (dispatch(WM_MOUSEMOVE, {x, y}) != 0) return false;
    cursor_ = {x, y};
    return true;
}

bool ScriptedPointer::button(std::uintptr_t message) {
    if (dispatch(message, cursor_) != 0) return false;
    delivered.push_back({message, cursor_});
    return true;
}

std::unique_ptr<Pointer> makeDesktopPointer() { return std::make_unique<ScriptedPointer>(); }

}  // namespace platform
