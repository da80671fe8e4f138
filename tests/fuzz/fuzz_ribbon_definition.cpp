// The host stand-in's check of a ribbon definition and of a dynamic menu's content: an add-in
// hands the host the input as its definition (up to the first zero byte) and the rest as the
// content of every dynamic menu; whatever they hold, the host loads or refuses them, draws,
// clicks, chooses and opens menus without a crash or a hang.
#include <algorithm>

#include "fuzz_support.h"
#include "host/host.h"
#include "host/ribbon_host.h"

namespace {

using host::RibbonValue;

// Knows every callback but those starting with "x"; each answers by the kind of its name.
class FuzzedAddIn : public host::AddIn, public host::IRibbonExtensibility {
public:
    std::string definition, content;

    void OnConnection(host::HostObject&, int, host::COMAddIn*) override {}
    void OnDisconnection(int) override {}
    void OnAddInsUpdate() override {}
    void OnStartupComplete() override {}
    void OnBeginShutdown() override {}
    host::IRibbonExtensibility* ribbon() override { return this; }

    std::string GetCustomUI(const std::string&) override { return definition; }
    bool hasCallback(const std::string& name) const override {
        return name.empty() || (name[0] != 'x' && name[0] != 'X');
    }
    RibbonValue invokeCallback(const std::string& name, const host::IRibbonControl& control,
                               const std::vector<RibbonValue>&) override {
        auto starts = [&](const char* prefix) { return name.rfind(prefix, 0) == 0; };
        if (starts("fail")) throw std::runtime_error("failing on purpose");
        if (starts("getEnabled") || starts("getVisible") || starts("getPressed")) return name.size() % 2 == 0;
        if (starts("getItemCount")) return static_cast<int>(name.size() % 5);
        if (starts("getSelectedItemIndex")) return static_cast<int>(name.size() % 3) - 1;
        if (starts("getContent")) return content;
        if (starts("getImage") || starts("getItemImage")) return host::RibbonPicture{};
        if (starts("get")) return control.Id + control.Tag;
        return {};
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::bytesOf(data, size);
    const std::size_t cut = std::min(input.find('\0'), input.size());
    const std::string definition(input.substr(0, cut));
    const std::string content(cut < input.size() ? input.substr(cut + 1) : std::string_view());

    host::Application app("14.0");
    app.COMAddIns().add("fuzz.Connect", "", [&] {
        auto a = std::make_unique<FuzzedAddIn>();
        a->definition = definition;
        a->content = content;
        return a;
    });
    app.COMAddIns().Item("fuzz.Connect").setConnect(true);
    auto& ribbon = app.Ribbon();
    std::vector<std::string> ids;
    for (const auto* c : ribbon.controls()) ids.push_back(c->id);
    for (std::size_t i = 0; i < ids.size() && i < 64; ++i) {
        const auto* c = ribbon.control(ids[i]);
        if (!c) continue;
        if (c->kind == "dynamicMenu") ribbon.openMenu(ids[i]);
        else if (c->kind == "gallery" || c->kind == "dropDown" || c->kind == "comboBox") ribbon.choose(ids[i], 0);
        else ribbon.click(ids[i]);
    }
    ribbon.missingCallbacks("fuzz.Connect");
    app.COMAddIns().Item("fuzz.Connect").setConnect(false);
    return 0;
}
