// The host's ribbon: loading and checking add-ins' ribbon definitions, drawing, clicking.
#include "host/ribbon_host.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <exception>
#include <map>
#include <optional>
#include <set>

#include "host/host.h"

namespace host {

namespace {

constexpr const char* kNamespace2006 = "http://schemas.microsoft.com/office/2006/01/customui";
constexpr const char* kNamespace2009 = "http://schemas.microsoft.com/office/2009/07/customui";

// ---- The schema, as far as this host checks it -------------------------------------------

using Names = std::set<std::string>;

Names operator+(Names a, const Names& b) {
    a.insert(b.begin(), b.end());
    return a;
}

struct ElementRule {
    Names attributes;
    Names children;
    bool control = true;  // becomes a drawn control with an id of its own
};

const std::map<std::string, ElementRule>& schema() {
    static const std::map<std::string, ElementRule> rules = [] {
        const Names id{"id",           "idQ",          "idMso", "tag", "insertAfterMso", "insertBeforeMso",
                       "insertAfterQ", "insertBeforeQ"};
        const Names visible{"visible", "getVisible", "keytip", "getKeytip"};
        const Names label{"label", "getLabel"};
        const Names tips{"screentip", "getScreentip", "supertip", "getSupertip"};
        const Names enabled{"enabled", "getEnabled"};
        const Names image{"image", "imageMso", "getImage", "showImage", "getShowImage"};
        const Names showLabel{"showLabel", "getShowLabel"};
        const Names size{"size", "getSize"};
        const Names description{"description", "getDescription"};
        const Names action{"onAction"};
        const Names pressed{"getPressed"};
        const Names items{
            "getItemCount",    "getItemLabel",         "getItemImage",      "getItemID",     "getItemScreentip",
            "getItemSupertip", "getSelectedItemIndex", "getSelectedItemID", "showItemLabel", "showItemImage",
            "sizeString"};
        const Names gallery{"columns", "rows", "itemWidth", "itemHeight", "getItemWidth", "getItemHeight"};
        const Names text{"getText", "onChange", "maxLength", "sizeString"};
        const Names groupControls{
            "box",       "button",      "buttonGroup", "checkBox", "comboBox",     "dialogBoxLauncher",
            "dropDown",  "dynamicMenu", "editBox",     "gallery",  "labelControl", "menu",
            "separator", "splitButton", "toggleButton"};
        const Names menuControls{"button", "checkBox",      "dynamicMenu", "gallery",
                                 "menu",   "menuSeparator", "splitButton", "toggleButton"};
        const Names button = id + visible + label + tips + enabled + image + showLabel + size + description + action;
        const Names dropDown = id + visible + label + tips + enabled + image + showLabel + items + action;

        std::map<std::string, ElementRule> r;
        r["customUI"] = {{"onLoad", "loadImage"}, {"commands", "ribbon"}, false};
        r["commands"] = {{}, {"command"}, false};
        r["command"] = {{"idMso", "enabled", "getEnabled", "onAction"}, {}, false};
        r["ribbon"] = {{"startFromScratch"}, {"officeMenu", "qat", "contextualTabs", "tabs"}, false};
        r["tabs"] = {{}, {"tab"}, false};
        r["tab"] = {id + visible + label, {"group"}};
        r["group"] = {id + visible + label + tips + Names{"image", "imageMso", "getImage"}, groupControls};
        r["box"] = {id + visible + Names{"boxStyle"}, groupControls};
        r["box"].children.erase("separator");
        r["box"].children.erase("dialogBoxLauncher");
        r["buttonGroup"] = {id + visible,
                            {"button", "toggleButton", "gallery", "menu", "splitButton", "dynamicMenu", "separator"}};
        r["button"] = {button, {}};
        r["toggleButton"] = {button + pressed, {}};
        r["checkBox"] = {id + visible + label + tips + enabled + description + action + pressed, {}};
        r["dropDown"] = {dropDown, {"item", "button"}};
        r["gallery"] = {dropDown + size + description + gallery, {"item", "button"}};
        r["comboBox"] = {id + visible + label + tips + enabled + image + showLabel + items + text, {"item"}};
        r["editBox"] = {id + visible + label + tips + enabled + image + showLabel + text, {}};
        r["labelControl"] = {id + visible + label + tips + enabled + showLabel, {}};
        r["separator"] = {id + visible, {}};
        r["menuSeparator"] = {id + Names{"title", "getTitle"}, {}};
        r["dynamicMenu"] = {id + visible + label + tips + enabled + image + showLabel + size + description +
                                Names{"getContent", "invalidateContentOnDrop"},
                            {}};
        r["menu"] = {id + visible + label + tips + enabled + image + showLabel + size + description +
                         Names{"itemSize", "title", "getTitle"},
                     menuControls};
        r["splitButton"] = {id + visible + enabled + size + showLabel, {"button", "toggleButton", "menu"}};
        r["dialogBoxLauncher"] = {{}, {"button"}, false};
        r["item"] = {{"id", "label", "image", "imageMso", "screentip", "supertip"}, {}, false};
        return r;
    }();
    return rules;
}

// Parts of the ribbon this host does not show; their content is not checked.
bool notShown(const std::string& element) {
    return element == "officeMenu" || element == "qat" || element == "contextualTabs";
}

bool isCallbackAttribute(const std::string& name) {
    return name.rfind("get", 0) == 0 || name == "onAction" || name == "onChange" || name == "onLoad" ||
           name == "loadImage";
}

bool isNamespaceAttribute(const std::string& name) { return name == "xmlns" || name.rfind("xmlns:", 0) == 0; }

bool knownNamespace(const std::string& uri) { return uri == kNamespace2006 || uri == kNamespace2009; }

std::string describe(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "failed without saying why";
    }
}

// Host-side conversions of what a callback returned; nullopt when it does not fit.
std::optional<std::string> asText(const RibbonValue& v) {
    if (auto* t = std::get_if<std::string>(&v)) return *t;
    if (auto* n = std::get_if<int>(&v)) return std::to_string(*n);
    if (auto* b = std::get_if<bool>(&v)) return std::string(*b ? "True" : "False");
    if (std::holds_alternative<std::monostate>(v)) return std::string();
    return std::nullopt;
}

std::optional<bool> asBool(const RibbonValue& v) {
    if (auto* b = std::get_if<bool>(&v)) return *b;
    if (auto* n = std::get_if<int>(&v)) return *n != 0;
    if (auto* t = std::get_if<std::string>(&v)) {
        if (*t == "true" || *t == "True" || *t == "1") return true;
        if (*t == "false" || *t == "False" || *t == "0") return false;
    }
    return std::nullopt;
}

std::optional<int> asInt(const RibbonValue& v) {
    if (auto* n = std::get_if<int>(&v)) return *n;
    if (auto* b = std::get_if<bool>(&v)) return *b ? -1 : 0;
    if (auto* t = std::get_if<std::string>(&v)) {
        try {
            std::size_t used = 0;
            int n = std::stoi(*t, &used);
            if (used == t->size()) return n;
        } catch (...) {
        }
    }
    return std::nullopt;
}

// The most items a drop-down or gallery may report.
constexpr int kMaxItems = 1000;

}  // namespace

// ---- Loaded definitions -----------------------------------------------------------------

struct RibbonHost::Node {
    RibbonControlState state;
    std::map<std::string, std::string> attributes;  // static attributes as written
    std::string contentOf;                          // the dynamic menu whose content it is
    std::string tab;                                // the id of the tab holding it (a tab: its own)
    bool stale = true;                              // get-callbacks to be asked
    bool imageStale = false;                        // getImage to be asked once its tab is shown
    bool hasContent = false;                        // dynamic menus: content fetched
    bool contentStale = true;

    const std::string* attribute(const std::string& name) const {
        auto it = attributes.find(name);
        return it == attributes.end() ? nullptr : &it->second;
    }
};

// An add-in's loaded ribbon; it is also the IRibbonUI the add-in keeps.
struct RibbonHost::Loaded : IRibbonUI {
    std::string progId;
    IRibbonExtensibility* addIn = nullptr;  // nullptr once detached
    std::vector<std::unique_ptr<Node>> nodes;
    std::vector<std::string> missing;

    void Invalidate() override {
        for (auto& n : nodes) {
            n->stale = true;
            n->contentStale = true;
        }
    }
    void InvalidateControl(const std::string& controlId) override {
        for (auto& n : nodes)
            if (n->state.id == controlId) {
                n->stale = true;
                n->contentStale = true;
            }
    }
    Node* find(const std::string& id) {
        for (auto& n : nodes)
            if (n->state.id == id) return n.get();
        return nullptr;
    }
};

// Builds nodes from elements, checking them against the schema.
struct RibbonHost::Builder {
    std::string progId;
    bool dynamic = false;
    std::string contentOf;
    std::string tab;            // of the elements being built
    std::set<std::string> ids;  // ids taken so far
    std::vector<std::unique_ptr<RibbonHost::Node>>* out = nullptr;
    std::vector<std::string> errors;
    std::vector<std::string> notes;

    void error(const pugi::xml_node& el, const std::string& what) {
        errors.push_back("<" + std::string(el.name()) + "> at offset " + std::to_string(el.offset_debug()) + ": " +
                         what);
    }

    // Checks the attributes; returns the element's id ("" when it has none).
    std::string checkAttributes(const pugi::xml_node& el, const ElementRule& rule) {
        int idCount = 0;
        std::string id;
        for (auto a : el.attributes()) {
            const std::string name = a.name();
            if (isNamespaceAttribute(name)) continue;
            if (!rule.attributes.count(name)) {
                error(el, "unknown attribute " + name);
                continue;
            }
            if (name == "id" || name == "idQ" || name == "idMso") {
                ++idCount;
                id = a.value();
            }
            if (isCallbackAttribute(name) && std::string(a.value()).empty()) error(el, name + " names no callback");
        }
        const bool needsId = rule.control || std::string(el.name()) == "item";
        if (needsId && idCount != 1) error(el, "needs exactly one of id, idQ and idMso");
        if (!id.empty()) {
            if (std::string(el.attribute("id").value()) == id && !ids.insert(id).second)
                error(el, "the id " + id + " is used twice");
        } else if (needsId && idCount == 1) {
            error(el, "an empty id");
        }
        return id;
    }

    void build(const pugi::xml_node& el, const std::string& parentId, int depth) {
        if (nesting >= RibbonHost::kMaxNesting)
            return error(el, "nested more than " + std::to_string(RibbonHost::kMaxNesting) + " elements deep");
        ++nesting;
        buildElement(el, parentId, depth);
        --nesting;
    }

    int nesting = 0;  // elements being built, the outermost first

    void buildElement(const pugi::xml_node& el, const std::string& parentId, int depth) {
        const std::string name = el.name();
        auto it = schema().find(name);
        if (it == schema().end()) return error(el, "not an element of the ribbon schema");
        const ElementRule& rule = it->second;
        const std::string id = checkAttributes(el, rule);

        RibbonHost::Node* node = nullptr;
        if (rule.control) {
            auto n = std::make_unique<RibbonHost::Node>();
            node = n.get();
            n->state.id = id;
            n->state.kind = name;
            n->state.owner = progId;
            n->state.parentId = parentId;
            n->state.depth = depth;
            n->state.dynamic = dynamic;
            n->contentOf = contentOf;
            n->tab = name == "tab" ? id : tab;
            for (auto a : el.attributes()) {
                const std::string an = a.name();
                if (isNamespaceAttribute(an)) continue;
                n->attributes[an] = a.value();
                if (isCallbackAttribute(an)) n->state.callbacks[an] = a.value();
            }
            n->state.tag = el.attribute("tag").value();
            out->push_back(std::move(n));
        }
        for (auto child : el.children()) {
            if (child.type() != pugi::node_element) continue;
            const std::string childName = child.name();
            if (!rule.children.count(childName)) {
                error(child, "not allowed inside <" + name + ">");
                continue;
            }
            if (notShown(childName)) {
                notes.push_back("<" + childName + "> is not shown by this host");
                continue;
            }
            if (childName == "item") {
                checkAttributes(child, schema().at("item"));
                if (node) {
                    node->state.items.push_back(child.attribute("label").value());
                    node->state.itemIds.push_back(child.attribute("id").value());
                    node->state.itemImages.emplace_back();
                }
                continue;
            }
            const std::string outer = tab;
            if (name == "tab") tab = id;
            build(child, node ? id : parentId, node ? depth + 1 : depth);
            tab = outer;
        }
    }
};

// ---- RibbonHost ---------------------------------------------------------------------------

RibbonHost::RibbonHost(Application& app) : app_(app) {}
RibbonHost::~RibbonHost() = default;

bool RibbonHost::drawsRibbon() const {
    try {
        return std::stoi(app_.Version()) >= 12;
    } catch (...) {
        return false;
    }
}

void RibbonHost::write(const std::string& line) {
    log_.push_back(line);
    if (onLog) {
        try {
            onLog(line);
        } catch (...) {
        }
    }
}

void RibbonHost::attach(const std::string& progId, IRibbonExtensibility& addIn) noexcept {
    try {
        if (!drawsRibbon()) return;
        detach(progId);
        std::string xml;
        try {
            xml = addIn.GetCustomUI(kPresentationRibbonId);
        } catch (...) {
            write(progId + ": GetCustomUI failed: " + describe(std::current_exception()) + "; no ribbon shown");
            return;
        }
        if (xml.empty()) {  // the add-in has no ribbon for presentations
            write(progId + ": GetCustomUI gave an empty ribbon definition; no ribbon shown");
            return;
        }

        pugi::xml_document doc;
        pugi::xml_parse_result parsed = doc.load_string(xml.c_str());
        if (!parsed) {
            write(progId + ": the ribbon definition is not well-formed XML (" + parsed.description() + " at offset " +
                  std::to_string(parsed.offset) + "); no ribbon shown");
            return;
        }
        pugi::xml_node root = doc.document_element();
        if (std::string(root.name()) != "customUI" || !knownNamespace(root.attribute("xmlns").value())) {
            write(progId +
                  ": the ribbon definition is not a customUI document of the ribbon namespace; no ribbon shown");
            return;
        }

        auto ui = std::make_shared<Loaded>();
        ui->progId = progId;
        ui->addIn = &addIn;
        Builder builder;
        builder.progId = progId;
        builder.out = &ui->nodes;
        builder.build(root, "", 0);
        for (auto& note : builder.notes) write(progId + ": " + note);
        if (!builder.errors.empty()) {
            for (auto& e : builder.errors) write(progId + ": ribbon definition: " + e);
            write(progId + ": the ribbon definition does not fit the schema; no ribbon shown");
            return;
        }

        // Every callback the definition names must exist on the add-in.
        std::set<std::string> reported;
        auto check = [&](const std::string& callback, const std::string& where) {
            bool known = false;
            try {
                known = addIn.hasCallback(callback);
            } catch (...) {
            }
            if (!known && reported.insert(callback + " (" + where + ")").second) {
                ui->missing.push_back(callback + " (" + where + ")");
                write(progId + ": unknown callback " + callback + " (" + where + ")");
            }
        };
        if (auto onLoad = root.attribute("onLoad")) check(onLoad.value(), "customUI onLoad");
        if (auto loadImage = root.attribute("loadImage")) check(loadImage.value(), "customUI loadImage");
        for (auto& n : ui->nodes)
            for (auto& [attribute, callback] : n->state.callbacks) check(callback, n->state.id + " " + attribute);

        loaded_.push_back(ui);
        write(progId + ": ribbon loaded, " + std::to_string(ui->nodes.size()) + " controls");

        if (auto onLoad = root.attribute("onLoad")) {
            ++callbackCalls_;
            try {
                addIn.invokeCallback(onLoad.value(), IRibbonControl{}, {static_cast<IRibbonUI*>(ui.get())});
            } catch (...) {
                write(progId + ": " + onLoad.value() + " failed: " + describe(std::current_exception()));
            }
        }
        draw();
    } catch (...) {
        write(progId + ": the ribbon could not be loaded: " + describe(std::current_exception()));
    }
}

void RibbonHost::detach(const std::string& progId) noexcept {
    for (auto it = loaded_.begin(); it != loaded_.end();) {
        if ((*it)->progId == progId) {
            (*it)->addIn = nullptr;
            it = loaded_.erase(it);
        } else {
            ++it;
        }
    }
}

bool RibbonHost::loaded(const std::string& progId) const {
    return std::any_of(loaded_.begin(), loaded_.end(), [&](const auto& ui) { return ui->progId == progId; });
}

std::vector<std::string> RibbonHost::missingCallbacks(const std::string& progId) const {
    for (auto& ui : loaded_)
        if (ui->progId == progId) return ui->missing;
    return {};
}

RibbonValue RibbonHost::call(Loaded& ui, Node& node, const std::string& attribute, const std::vector<RibbonValue>& args,
                             bool* ok) {
    *ok = false;
    const std::string& callback = node.state.callbacks.at(attribute);
    ++callbackCalls_;
    std::string why;
    if (!ui.addIn) {
        why = "the add-in is no longer loaded";
    } else {
        try {
            RibbonValue v = ui.addIn->invokeCallback(callback, IRibbonControl{node.state.id, node.state.tag}, args);
            *ok = true;
            return v;
        } catch (...) {
            why = describe(std::current_exception());
        }
    }
    node.state.failures.push_back(callback + ": " + why);
    write(ui.progId + ": " + callback + " failed for " + node.state.id + ": " + why);
    return {};
}

void RibbonHost::drawNode(Loaded& ui, Node& node) {
    node.stale = false;  // a callback that invalidates again marks it for the next drawing
    RibbonControlState& s = node.state;
    s.failures.clear();
    auto text = [&](const char* name) { return node.attribute(name) ? *node.attribute(name) : std::string(); };
    auto wrongType = [&](const std::string& attribute) { wrongTypeFrom(ui, node, attribute); };
    auto has = [&](const char* attribute) { return s.callbacks.count(attribute) > 0; };

    s.label = text("label");
    s.screentip = text("screentip");
    s.enabled = text("enabled") != "false";
    s.visible = text("visible") != "false";
    bool ok = false;
    // Asks one get-callback and keeps what it answered, converted; a failure keeps the default.
    auto ask = [&](const char* attribute, auto convert, auto& target) {
        if (!has(attribute)) return;
        RibbonValue v = call(ui, node, attribute, {}, &ok);
        if (!ok) return;
        if (auto converted = convert(v)) target = *converted;
        else wrongType(attribute);
    };
    ask("getLabel", asText, s.label);
    ask("getScreentip", asText, s.screentip);
    ask("getVisible", asBool, s.visible);
    ask("getEnabled", asBool, s.enabled);
    ask("getPressed", asBool, s.pressed);
    node.imageStale = has("getImage");
    if (node.tab == selectedTab_) drawImage(ui, node);
    if (has("getItemCount")) {
        s.items.clear();
        s.itemIds.clear();
        s.itemImages.clear();
        RibbonValue v = call(ui, node, "getItemCount", {}, &ok);
        auto count = ok ? asInt(v) : std::nullopt;
        if (ok && (!count || *count < 0 || *count > kMaxItems)) {
            wrongType("getItemCount");
            count = std::nullopt;
        }
        for (int i = 0; count && i < *count; ++i) {
            std::string itemLabel;
            if (has("getItemLabel")) {
                RibbonValue l = call(ui, node, "getItemLabel", {i}, &ok);
                if (ok) itemLabel = asText(l).value_or(std::string());
            }
            RibbonPicture itemImage;
            if (has("getItemImage")) {
                RibbonValue p = call(ui, node, "getItemImage", {i}, &ok);
                if (ok) {
                    if (auto* picture = std::get_if<RibbonPicture>(&p)) itemImage = *picture;
                    else if (!std::holds_alternative<std::monostate>(p)) wrongType("getItemImage");
                }
            }
            s.items.push_back(itemLabel);
            s.itemIds.emplace_back();
            s.itemImages.push_back(std::move(itemImage));
        }
    }
    if (has("getSelectedItemIndex")) {
        RibbonValue v = call(ui, node, "getSelectedItemIndex", {}, &ok);
        if (ok) {
            if (auto n = asInt(v)) s.selectedIndex = *n;
            else wrongType("getSelectedItemIndex");
        }
    }
}

void RibbonHost::drawImage(Loaded& ui, Node& node) {
    if (!node.imageStale) return;
    node.imageStale = false;
    RibbonControlState& s = node.state;
    s.image = nullptr;
    bool ok = false;
    RibbonValue v = call(ui, node, "getImage", {}, &ok);
    if (!ok) return;
    if (auto* p = std::get_if<RibbonPicture>(&v)) {
        s.image = *p;
    } else if (!std::holds_alternative<std::monostate>(v)) {
        wrongTypeFrom(ui, node, "getImage");
    }
}

void RibbonHost::wrongTypeFrom(Loaded& ui, Node& node, const std::string& attribute) {
    const std::string& callback = node.state.callbacks.at(attribute);
    node.state.failures.push_back(callback + ": returned a value of the wrong type");
    write(ui.progId + ": " + callback + " returned a value of the wrong type for " + node.state.id);
}

void RibbonHost::draw() {
    const auto snapshot = loaded_;
    for (const auto& ui : snapshot) {
        // A callback may change the nodes (a dynamic menu's content): walk by position.
        for (std::size_t i = 0; i < ui->nodes.size(); ++i) {
            if (!ui->addIn) break;
            Node& node = *ui->nodes[i];
            if (node.stale) drawNode(*ui, node);
            else if (node.imageStale && node.tab == selectedTab_) drawImage(*ui, node);
        }
    }
}

bool RibbonHost::showTabOf(const std::string& id) {
    auto [ui, node] = locate(id);
    if (!node) return false;
    if (node->tab != selectedTab_) {
        selectedTab_ = node->tab;
        draw();
    }
    return true;
}

std::vector<const RibbonControlState*> RibbonHost::controls() {
    draw();
    std::vector<const RibbonControlState*> out;
    for (auto& ui : loaded_)
        for (auto& n : ui->nodes) out.push_back(&n->state);
    return out;
}

const RibbonControlState* RibbonHost::control(const std::string& id) {
    auto [ui, node] = locate(id);
    return node ? &node->state : nullptr;
}

std::vector<const RibbonControlState*> RibbonHost::findByLabel(const std::string& label) {
    auto lower = [](std::string s) {
        for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    std::vector<const RibbonControlState*> out;
    for (auto* c : controls())
        if (!c->label.empty() && lower(c->label) == lower(label)) out.push_back(c);
    return out;
}

std::pair<std::shared_ptr<RibbonHost::Loaded>, RibbonHost::Node*> RibbonHost::locate(const std::string& id) {
    draw();
    for (auto& ui : loaded_)
        if (Node* n = ui->find(id)) return {ui, n};
    return {nullptr, nullptr};
}

RibbonHost::Outcome RibbonHost::reachable(Loaded& ui, const Node& node) {
    bool disabled = false;
    for (const Node* n = &node; n;) {
        if (!n->state.visible) return Outcome::hidden;
        if (!n->state.enabled) disabled = true;
        n = n->state.parentId.empty() ? nullptr : ui.find(n->state.parentId);
    }
    return disabled ? Outcome::disabled : Outcome::done;
}

RibbonHost::Outcome RibbonHost::act(const std::shared_ptr<Loaded>& ui, Node& node,
                                    const std::vector<RibbonValue>& args) {
    if (!node.state.callbacks.count("onAction")) return Outcome::done;
    bool ok = false;
    call(*ui, node, "onAction", args, &ok);
    return ok ? Outcome::done : Outcome::failed;
}

RibbonHost::Outcome RibbonHost::click(const std::string& id) {
    if (!showTabOf(id)) return Outcome::notFound;
    auto [ui, node] = locate(id);
    if (!node) return Outcome::notFound;
    Outcome r = reachable(*ui, *node);
    if (r != Outcome::done) return r;
    const std::string& kind = node->state.kind;
    if (kind == "button") return act(ui, *node, {});
    if (kind == "toggleButton" || kind == "checkBox") {
        // The host shows the new state at once; a later drawing asks getPressed again.
        node->state.pressed = !node->state.pressed;
        return act(ui, *node, {node->state.pressed});
    }
    if (kind == "splitButton") {
        for (auto& n : ui->nodes)
            if (n->state.parentId == id && (n->state.kind == "button" || n->state.kind == "toggleButton"))
                return click(n->state.id);
        return Outcome::done;
    }
    if (kind == "dynamicMenu") return openMenu(id);
    if (kind == "menu") return Outcome::done;
    return Outcome::notClickable;
}

RibbonHost::Outcome RibbonHost::choose(const std::string& id, int index) {
    showTabOf(id);
    auto [ui, node] = locate(id);
    if (!node) return Outcome::notFound;
    if (node->state.kind != "dropDown" && node->state.kind != "gallery") return Outcome::notClickable;
    Outcome r = reachable(*ui, *node);
    if (r != Outcome::done) return r;
    if (index < 0 || index >= static_cast<int>(node->state.items.size())) return Outcome::badItem;
    std::string selectedId = node->state.itemIds[static_cast<std::size_t>(index)];
    if (selectedId.empty() && node->state.callbacks.count("getItemID")) {
        bool ok = false;
        RibbonValue v = call(*ui, *node, "getItemID", {index}, &ok);
        if (ok) selectedId = asText(v).value_or(std::string());
    }
    if (node->state.kind == "dropDown") node->state.selectedIndex = index;
    return act(ui, *node, {selectedId, index});
}

RibbonHost::Outcome RibbonHost::openMenu(const std::string& id) {
    showTabOf(id);
    auto [ui, node] = locate(id);
    if (!node) return Outcome::notFound;
    if (node->state.kind == "menu") return reachable(*ui, *node);
    if (node->state.kind != "dynamicMenu") return Outcome::notClickable;
    Outcome r = reachable(*ui, *node);
    if (r != Outcome::done) return r;
    const std::string* onDrop = node->attribute("invalidateContentOnDrop");
    const bool fetch = !node->hasContent || node->contentStale || (onDrop && *onDrop == "true");
    if (!fetch || !node->state.callbacks.count("getContent")) return Outcome::done;

    bool ok = false;
    RibbonValue v = call(*ui, *node, "getContent", {}, &ok);
    if (!ok) return Outcome::failed;
    node->contentStale = false;
    const std::string xml = asText(v).value_or(std::string());
    const std::string progId = ui->progId;
    auto refuse = [&](const std::string& why) {
        write(progId + ": the content of " + id + " is refused: " + why);
        return Outcome::failed;
    };

    // Drop the previous content (and the content of menus inside it).
    std::set<std::string> dropped{id};
    std::vector<std::unique_ptr<Node>> kept;
    for (auto& n : ui->nodes) {
        if (!n->contentOf.empty() && dropped.count(n->contentOf)) {
            dropped.insert(n->state.id);
            continue;
        }
        kept.push_back(std::move(n));
    }
    ui->nodes = std::move(kept);
    node = ui->find(id);
    node->hasContent = true;

    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_string(xml.c_str());
    if (!parsed) return refuse(std::string("not well-formed XML (") + parsed.description() + ")");
    pugi::xml_node root = doc.document_element();
    if (std::string(root.name()) != "menu" || !knownNamespace(root.attribute("xmlns").value()))
        return refuse("not a <menu> of the ribbon namespace");
    for (auto a : root.attributes())
        if (!isNamespaceAttribute(a.name())) return refuse(std::string("the <menu> has an attribute ") + a.name());

    std::vector<std::unique_ptr<Node>> content;
    Builder builder;
    builder.progId = progId;
    builder.dynamic = true;
    builder.contentOf = id;
    builder.tab = node->tab;
    builder.out = &content;
    for (auto& n : ui->nodes)
        if (n->attributes.count("id")) builder.ids.insert(n->state.id);
    const ElementRule& menuRule = schema().at("menu");
    for (auto child : root.children()) {
        if (child.type() != pugi::node_element) continue;
        if (!menuRule.children.count(child.name())) {
            builder.error(child, "not allowed inside <menu>");
            continue;
        }
        builder.build(child, id, node->state.depth + 1);
    }
    if (!builder.errors.empty()) {
        for (auto& e : builder.errors) write(progId + ": content of " + id + ": " + e);
        return refuse("it does not fit the schema");
    }
    for (auto& n : content)
        for (auto& [attribute, callback] : n->state.callbacks) {
            bool known = false;
            try {
                known = ui->addIn && ui->addIn->hasCallback(callback);
            } catch (...) {
            }
            const std::string entry = callback + " (" + n->state.id + " " + attribute + ")";
            if (!known && std::find(ui->missing.begin(), ui->missing.end(), entry) == ui->missing.end()) {
                ui->missing.push_back(entry);
                write(progId + ": unknown callback " + entry);
            }
        }
    auto at =
        std::find_if(ui->nodes.begin(), ui->nodes.end(), [found = node](const auto& n) { return n.get() == found; });
    ui->nodes.insert(at + 1, std::make_move_iterator(content.begin()), std::make_move_iterator(content.end()));
    draw();
    return Outcome::done;
}

// ---- The Application's ribbon ------------------------------------------------------------

RibbonHost& Application::Ribbon() {
    if (!ribbon_) ribbon_ = std::make_shared<RibbonHost>(*this);
    return *ribbon_;
}

}  // namespace host
