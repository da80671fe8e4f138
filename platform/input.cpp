#include "platform/input.h"

namespace platform {

void ScriptedInput::press(int virtualKey) {
    Key& key = keys_[virtualKey];
    key.down = true;
    key.pressed = true;
}

void ScriptedInput::release(int virtualKey) { keys_[virtualKey].down = false; }

std::uint16_t ScriptedInput::asyncKeyState(int virtualKey) {
    auto it = keys_.find(virtualKey);
    if (it == keys_.end()) return 0;
    std::uint16_t state = 0;
    if (it->second.down) state |= kKeyDown;
    if (it->second.pressed) state |= kKeyPressedSinceLast;
    it->second.pressed = false;
    return state;
}

unsigned ScriptedInput::sendInput(const std::vector<MouseInput>& records) {
    injected.insert(injected.end(), records.begin(), records.end());
    return static_cast<unsigned>(records.size());
}

namespace {

class DesktopInput : public Input {
public:
    std::uint16_t asyncKeyState(int) override { return 0; }
    // Nothing to send to: the records count as delivered.
    unsigned sendInput(const std::vector<MouseInput>& records) override {
        return static_cast<unsigned>(records.size());
    }
};

}  // namespace

std::unique_ptr<Input> makeDesktopInput() { return std::make_unique<DesktopInput>(); }

}  // namespace platform
