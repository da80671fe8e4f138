// The DOM over pugixml. Nodes outside the tree (new, cloned, imported or removed ones) live
// in a hidden element of the same pugixml document, so that handles to them stay valid and
// they can be moved into the tree later; queries, navigation and serialization skip it.
// pugixml compares names as written and ignores namespace declarations, so a default
// namespace on the root never stops an unprefixed name from matching.
#include "platform/xml_dom.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <sstream>

#include "platform/services.h"

namespace platform {

namespace {

constexpr long kErrFail = static_cast<std::int32_t>(0x80004005u);
// Names no parsed document can hold, as they are not XML names.
constexpr const char* kDetached = "#detached";
constexpr const char* kAttributeHolder = "#attribute";

constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_comments;

[[noreturn]] void fail(const std::string& what) { throw DomError(kErrFail, what); }

// See domChanges(); counted before each change, so a reader that failed halfway never keeps what it read.
std::atomic<std::uint64_t> changes{0};
void noteChange() { changes.fetch_add(1, std::memory_order_relaxed); }

bool isHolder(pugi::xml_node n) {
    return n.type() == pugi::node_element && n.parent().type() == pugi::node_document &&
           std::strcmp(n.name(), kDetached) == 0;
}

// The hidden element of the node's document, created on first use.
pugi::xml_node holderOf(pugi::xml_node anyNode) {
    pugi::xml_node doc = anyNode.root();
    for (auto c : doc.children())
        if (isHolder(c)) return c;
    return doc.append_child(kDetached);
}

// The node's child of the document node (its top-level ancestor).
pugi::xml_node topOf(pugi::xml_node n) {
    while (n && n.parent() && n.parent().type() != pugi::node_document) n = n.parent();
    return n;
}

bool outsideTree(pugi::xml_node n) { return isHolder(topOf(n)); }

bool isElement(pugi::xml_node n) { return n.type() == pugi::node_element && !isHolder(n); }

void requireName(const std::string& name) {
    if (!isXmlName(name)) fail("\"" + name + "\" is not a valid XML name.");
}

// Walks the tree below `n` in document order without recursion.
void collectText(pugi::xml_node n, std::string& out) {
    pugi::xml_node c = n.first_child();
    while (c && c != n) {
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) out += c.value();
        if (c.type() == pugi::node_element && !isHolder(c) && c.first_child()) {
            c = c.first_child();
            continue;
        }
        while (c != n && !c.next_sibling()) c = c.parent();
        if (c != n) c = c.next_sibling();
    }
}

// How many elements deep the document goes, counted without recursion.
std::size_t depthOf(pugi::xml_node doc) {
    std::size_t depth = 0, deepest = 0;
    pugi::xml_node c = doc.first_child();
    while (c && c != doc) {
        if (c.type() == pugi::node_element) deepest = std::max(deepest, depth + 1);
        if (c.first_child()) {
            c = c.first_child();
            ++depth;
            continue;
        }
        while (c != doc && !c.next_sibling()) {
            c = c.parent();
            --depth;
        }
        if (c != doc) c = c.next_sibling();
    }
    return deepest;
}

std::string escapeAttribute(const char* value) {
    std::string out;
    for (const char* p = value; *p; ++p) {
        switch (*p) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += *p;
        }
    }
    return out;
}

// The document's nodes as text, the hidden element left out.
std::string print(pugi::xml_node doc, const char* indent, unsigned flags) {
    std::ostringstream out;
    for (auto c : doc.children())
        if (!isHolder(c)) c.print(out, indent, flags, pugi::encoding_utf8);
    return out.str();
}

}  // namespace

bool isXmlName(const std::string& name) {
    if (name.empty()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        const bool start = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
        const bool more = (c >= '0' && c <= '9') || c == '-' || c == '.';
        if (!start && !(i > 0 && more)) return false;
    }
    return true;
}

// ---- DomNode ------------------------------------------------------------------------------

void DomNode::requireSet() const {
    if (!*this) throw DomError(kObjectNotSet, kObjectNotSetText);
}

pugi::xml_node DomNode::element() const {
    requireSet();
    if (!isElement()) fail("This operation needs an element.");
    return node_;
}

pugi::xml_node DomNode::container() const {
    requireSet();
    if (attr_ || (node_.type() != pugi::node_element && node_.type() != pugi::node_document))
        fail("This node cannot have children.");
    return node_;
}

std::string DomNode::nodeName() const {
    if (attr_) return attr_.name();
    if (node_.type() == pugi::node_document) return "#document";
    return node_.name();
}

std::string DomNode::text() const {
    if (attr_) return attr_.value();
    std::string out;
    if (node_) collectText(node_, out);
    return out;
}

void DomNode::setText(const std::string& value) {
    requireSet();
    noteChange();
    if (attr_) {
        attr_.set_value(value.c_str());
        return;
    }
    auto n = element();
    while (auto c = n.first_child()) {
        if (c.type() == pugi::node_element) holderOf(n).append_move(c);  // handles to it stay valid
        else n.remove_child(c);
    }
    if (!value.empty()) n.append_child(pugi::node_pcdata).set_value(value.c_str());
}

std::optional<std::string> DomNode::getAttribute(const std::string& name) const {
    const auto a = element().attribute(name.c_str());
    if (!a) return std::nullopt;
    return std::string(a.value());
}

void DomNode::setAttribute(const std::string& name, const std::string& value) {
    auto n = element();
    requireName(name);
    noteChange();
    auto a = n.attribute(name.c_str());
    if (!a) a = n.append_attribute(name.c_str());
    a.set_value(value.c_str());
}

void DomNode::removeAttribute(const std::string& name) {
    auto n = element();
    noteChange();
    n.remove_attribute(name.c_str());
}

DomNode DomNode::getAttributeNode(const std::string& name) const {
    auto n = element();
    const auto a = n.attribute(name.c_str());
    return a ? DomNode(n, a) : DomNode();
}

DomNode DomNode::setAttributeNode(const DomNode& attribute) {
    auto n = element();
    if (!attribute.attr_) fail("setAttributeNode needs an attribute.");
    if (attribute.node_ == n) return attribute;
    noteChange();
    const std::string value = attribute.attr_.value();  // copied first: it may live in this element
    auto a = n.attribute(attribute.attr_.name());
    if (!a) a = n.append_attribute(attribute.attr_.name());
    a.set_value(value.c_str());
    return DomNode(n, a);
}

DomNode DomNode::parentNode() const {
    requireSet();
    if (attr_ || node_.type() == pugi::node_document) return {};
    auto p = node_.parent();
    if (!p || isHolder(p)) return {};
    return DomNode(p);
}

DomNode DomNode::firstChild() const {
    requireSet();
    if (attr_) return {};
    for (auto c = node_.first_child(); c; c = c.next_sibling())
        if (platform::isElement(c)) return DomNode(c);
    return {};
}

DomNode DomNode::lastChild() const {
    requireSet();
    if (attr_) return {};
    for (auto c = node_.last_child(); c; c = c.previous_sibling())
        if (platform::isElement(c)) return DomNode(c);
    return {};
}

DomNode DomNode::previousSibling() const {
    requireSet();
    if (attr_ || node_.type() == pugi::node_document || isHolder(node_.parent())) return {};
    for (auto c = node_.previous_sibling(); c; c = c.previous_sibling())
        if (platform::isElement(c)) return DomNode(c);
    return {};
}

DomNode DomNode::nextSibling() const {
    requireSet();
    if (attr_ || node_.type() == pugi::node_document || isHolder(node_.parent())) return {};
    for (auto c = node_.next_sibling(); c; c = c.next_sibling())
        if (platform::isElement(c)) return DomNode(c);
    return {};
}

DomNodeList DomNode::childNodes() const {
    requireSet();
    std::vector<DomNode> out;
    if (!attr_)
        for (auto c : node_.children())
            if (platform::isElement(c)) out.emplace_back(c);
    return DomNodeList(std::move(out));
}

bool DomNode::hasChildNodes() const { return static_cast<bool>(firstChild()); }

namespace {

// Checks that `child` may be put under `parent` (replacing `replaced`, if any).
void checkInsert(pugi::xml_node parent, const DomNode& child, pugi::xml_node replaced = {}) {
    if (!child) throw DomError(kObjectNotSet, kObjectNotSetText);
    if (!child.isElement()) fail("Only elements can be inserted.");
    const auto c = child.pugiNode();
    if (c.root() != parent.root()) fail("The node belongs to another document; import it first.");
    for (auto p = parent; p; p = p.parent())
        if (p == c) fail("A node cannot be inserted into itself or its descendants.");
    if (parent.type() == pugi::node_document) {
        for (auto other : parent.children())
            if (isElement(other) && other != c && other != replaced)
                fail("Only one top level element is allowed in an XML document.");
    }
}

void checkChild(pugi::xml_node parent, const DomNode& child) {
    if (!child) throw DomError(kObjectNotSet, kObjectNotSetText);
    if (!child.isElement() || child.pugiNode().parent() != parent) fail("The node is not a child of this node.");
}

}  // namespace

DomNode DomNode::appendChild(const DomNode& newChild) {
    auto parent = container();
    checkInsert(parent, newChild);
    noteChange();
    if (!parent.append_move(newChild.node_)) fail("The node could not be inserted.");
    return newChild;
}

DomNode DomNode::insertBefore(const DomNode& newChild, const DomNode& refChild) {
    if (!refChild) return appendChild(newChild);
    auto parent = container();
    checkChild(parent, refChild);
    checkInsert(parent, newChild);
    if (newChild == refChild) return newChild;
    noteChange();
    if (!parent.insert_move_before(newChild.node_, refChild.node_)) fail("The node could not be inserted.");
    return newChild;
}

DomNode DomNode::removeChild(const DomNode& oldChild) {
    auto parent = container();
    checkChild(parent, oldChild);
    noteChange();
    holderOf(parent).append_move(oldChild.node_);
    return oldChild;
}

DomNode DomNode::replaceChild(const DomNode& newChild, const DomNode& oldChild) {
    auto parent = container();
    checkChild(parent, oldChild);
    checkInsert(parent, newChild, oldChild.node_);
    if (newChild == oldChild) return oldChild;
    noteChange();
    if (!parent.insert_move_before(newChild.node_, oldChild.node_)) fail("The node could not be inserted.");
    holderOf(parent).append_move(oldChild.node_);
    return oldChild;
}

DomNode DomNode::cloneNode(bool deep) const {
    requireSet();
    if (node_.type() == pugi::node_document) fail("The document node cannot be cloned.");
    auto holder = holderOf(node_);
    if (attr_) {
        auto carrier = holder.append_child(kAttributeHolder);
        return DomNode(carrier, carrier.append_copy(attr_));
    }
    auto copy = holder.append_copy(node_);
    if (!deep)
        while (auto c = copy.first_child()) copy.remove_child(c);
    return DomNode(copy);
}

DomNodeList DomNode::selectNodes(const std::string& xpath, const DomVariables& variables) const {
    requireSet();
    if (attr_) fail("Queries start from an element or the document.");
    pugi::xpath_variable_set vars;
    for (const auto& [name, value] : variables)
        if (!vars.set(name.c_str(), value.c_str())) fail("Bad query variable \"" + name + "\".");
    pugi::xpath_node_set found;
    try {
        const pugi::xpath_query query(xpath.c_str(), &vars);
        if (query.return_type() != pugi::xpath_type_node_set) fail("The query \"" + xpath + "\" yields no nodes.");
        found = query.evaluate_node_set(node_);
    } catch (const pugi::xpath_exception& e) {
        fail("Bad query \"" + xpath + "\": " + e.what());
    }
    found.sort();
    const bool fromOutside = outsideTree(node_);
    // Found nodes mostly share a parent, and a node lies where its parent does: the walk up
    // to the top is made once per parent.
    pugi::xml_node lastParent;
    bool lastOutside = false;
    const auto outside = [&](pugi::xml_node n) {
        const pugi::xml_node parent = n.parent();
        if (!parent || parent.type() == pugi::node_document) return outsideTree(n);
        if (parent != lastParent) {
            lastParent = parent;
            lastOutside = outsideTree(parent);
        }
        return lastOutside;
    };
    std::vector<DomNode> out;
    out.reserve(found.size());
    for (const auto& x : found) {
        if (x.attribute()) {
            if (!fromOutside && outside(x.parent())) continue;
            out.emplace_back(x.parent(), x.attribute());
        } else if (x.node().type() == pugi::node_element || x.node().type() == pugi::node_document) {
            if (isHolder(x.node()) || (!fromOutside && outside(x.node()))) continue;
            out.emplace_back(x.node());
        }
    }
    return DomNodeList(std::move(out));
}

std::uint64_t domChanges() { return changes.load(std::memory_order_relaxed); }

DomNode DomNode::selectSingleNode(const std::string& xpath, const DomVariables& variables) const {
    return selectNodes(xpath, variables).item(0);
}

std::string DomNode::xml() const {
    if (attr_) return std::string(attr_.name()) + "=\"" + escapeAttribute(attr_.value()) + "\"";
    if (!node_) return {};
    if (node_.type() == pugi::node_document) return print(node_, "", pugi::format_raw);
    std::ostringstream out;
    node_.print(out, "", pugi::format_raw, pugi::encoding_utf8);
    return out.str();
}

DomNode DomNodeList::item(int index) const {
    if (index < 0 || index >= length()) return {};
    return nodes_[static_cast<std::size_t>(index)];
}

// ---- DomDocument --------------------------------------------------------------------------

DomDocument::DomDocument() = default;

DomDocument::~DomDocument() { noteChange(); }

bool DomDocument::parse(const std::string& bytes) {
    noteChange();
    const auto result = doc_.load_buffer(bytes.data(), bytes.size(), kParseOptions, pugi::encoding_auto);
    if (!result) {
        doc_.reset();
        parseError_ = std::string(result.description()) + " at offset " + std::to_string(result.offset);
        return false;
    }
    if (!documentElement()) {
        doc_.reset();
        parseError_ = "The document has no root element.";
        return false;
    }
    if (depthOf(doc_) > kMaxXmlDepth) {
        doc_.reset();
        parseError_ = "The document nests elements more than " + std::to_string(kMaxXmlDepth) + " deep.";
        return false;
    }
    parseError_.clear();
    return true;
}

bool DomDocument::load(const std::string& path) {
    const auto bytes = fileSystem().readAll(path);
    if (!bytes) {
        noteChange();
        doc_.reset();
        parseError_ = "The file " + path + " could not be read.";
        return false;
    }
    return parse(*bytes);
}

bool DomDocument::loadXML(const std::string& text) { return parse(text); }

bool DomDocument::save(const std::string& path) const {
    if (depthOf(doc_) > kMaxXmlDepth) return false;  // it could not be loaded again
    const std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + print(doc_, "\t", pugi::format_indent);
    return fileSystem().writeAll(path, text);
}

std::string DomDocument::xml() const { return node().xml(); }

DomNode DomDocument::documentElement() const {
    for (auto c : doc_.children())
        if (isElement(c)) return DomNode(c);
    return {};
}

DomNode DomDocument::createElement(const std::string& name) {
    requireName(name);
    return DomNode(holderOf(doc_).append_child(name.c_str()));
}

DomNode DomDocument::createAttribute(const std::string& name) {
    requireName(name);
    auto carrier = holderOf(doc_).append_child(kAttributeHolder);
    return DomNode(carrier, carrier.append_attribute(name.c_str()));
}

DomNode DomDocument::importNode(const DomNode& node, bool deep) {
    node.requireSet();
    if (node.isDocument()) fail("The document node cannot be imported.");
    auto holder = holderOf(doc_);
    if (node.attr_) {
        auto carrier = holder.append_child(kAttributeHolder);
        return DomNode(carrier, carrier.append_copy(node.attr_));
    }
    auto copy = holder.append_copy(node.node_);
    if (!deep)
        while (auto c = copy.first_child()) copy.remove_child(c);
    return DomNode(copy);
}

}  // namespace platform
