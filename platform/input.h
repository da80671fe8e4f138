// The keyboard's state and synthetic user input: the help mode polls Ctrl and Shift, the
// slide-show guard injects a harmless mouse event so the screensaver does not start. A
// desktop without such access records the injections only; tests script the keys.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace platform {

// Virtual key codes, as the system's code names them.
constexpr int VK_SHIFT = 16;
constexpr int VK_CONTROL = 17;

// Bits of a key state reading.
constexpr std::uint16_t kKeyDown = 0x8000;              // the key is down now
constexpr std::uint16_t kKeyPressedSinceLast = 0x0001;  // pressed since the previous reading

// One mouse input record in the layout of the system's injection call.
struct MouseInput {
    std::uint32_t type = 0;  // 0: mouse
    std::int32_t dx = 0;
    std::int32_t dy = 0;
    std::uint32_t mouseData = 0;
    std::uint32_t flags = 0;  // 1: relative move
    std::uint32_t time = 0;
    std::uintptr_t extraInfo = 0;
};
constexpr std::uint32_t MOUSEEVENTF_MOVE = 0x0001;

class Input {
public:
    Input() = default;
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;
    virtual ~Input() = default;

    // The key's asynchronous state: kKeyDown while it is down, kKeyPressedSinceLast when it
    // went down since the previous reading of that key (the reading clears it); 0 for a key
    // that is up and was not pressed. Unknown keys read 0. Never fails.
    virtual std::uint16_t asyncKeyState(int virtualKey) = 0;
    // Injects the records as user input. Returns how many were injected (0 when the
    // desktop refused them); the records stay the caller's.
    virtual unsigned sendInput(const std::vector<MouseInput>& records) = 0;
};

// Keys set by a test or a scenario; injections are recorded.
class ScriptedInput : public Input {
public:
    // Puts a key down (noting the press) or lets it up.
    void press(int virtualKey);
    void release(int virtualKey);
    std::uint16_t asyncKeyState(int virtualKey) override;
    unsigned sendInput(const std::vector<MouseInput>& records) override;

    std::vector<MouseInput> injected;  // every record, in order

private:
    struct Key {
        bool down = false;
        bool pressed = false;
    };
    std::map<int, Key> keys_;
};

// The desktop: no keyboard access from here (every key reads 0); injections are accepted
// but nothing is sent, as the desktop's own idle handling decides about its screensaver.
std::unique_ptr<Input> makeDesktopInput();

}  // namespace platform
