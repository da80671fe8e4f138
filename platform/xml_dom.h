// The XML document object the add-in's own files are kept in (menu, My Elements index,
// agenda documents): load and save, XPath queries, and element-by-element editing. A small
// DOM over pugixml with the members the add-in's code is written against.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "platform/errors.h"

namespace platform {

// A refused DOM operation: a bad name or query, a node from another document, a node put
// into itself, an operation on a null node (number 91, as an unset object variable).
class DomError : public NumberedError {
public:
    DomError(long number, const std::string& description) : NumberedError(number, description, "XML DOM") {}
};

// Values bound to the variables of a query ($name in the query text), so that names and
// other user text never become part of the query itself.
using DomVariables = std::map<std::string, std::string>;

class DomNodeList;

// A handle to an element, an attribute or the document node. Handles are cheap to copy and
// compare; a null handle tests false. A handle stays valid while its document lives and is
// not reloaded; a node taken out of the tree (removeChild, replaceChild) stays usable and
// can be put back. "Children" and "siblings" always mean elements: text, whitespace and
// comments are never counted.
class DomNode {
public:
    DomNode() = default;

    explicit operator bool() const { return !node_.empty() || !attr_.empty(); }
    bool operator==(const DomNode& other) const { return node_ == other.node_ && attr_ == other.attr_; }

    bool isElement() const { return !attr_ && node_.type() == pugi::node_element; }
    bool isAttribute() const { return static_cast<bool>(attr_); }
    bool isDocument() const { return !attr_ && node_.type() == pugi::node_document; }

    // The element's or attribute's name; "#document" for the document; "" for a null handle.
    std::string nodeName() const;
    // An attribute's value; an element's text (all its text, concatenated); "" otherwise.
    std::string text() const;
    // Sets an attribute's value, or replaces an element's content by one text. Throws
    // DomError for the document node or a null handle.
    void setText(const std::string& value);

    // Attributes of an element. getAttribute tells a missing attribute (nothing) from an
    // empty one (""); setAttribute adds or replaces; removeAttribute does nothing when it is
    // missing. Throw DomError when this is not an element or the name is not an XML name.
    std::optional<std::string> getAttribute(const std::string& name) const;
    void setAttribute(const std::string& name, const std::string& value);
    void removeAttribute(const std::string& name);
    // The attribute as a node, or a null handle when missing.
    DomNode getAttributeNode(const std::string& name) const;
    // Gives this element an attribute of the node's name and value (replacing one of the same
    // name) and returns the element's attribute. The element takes a copy: later changes go
    // through the returned handle. Throws DomError unless `attribute` is an attribute.
    DomNode setAttributeNode(const DomNode& attribute);

    // Navigation, by elements only. The parent of the document element is the document
    // node; a node outside the tree, an attribute and the document have no parent. Each
    // returns a null handle when there is no such node.
    DomNode parentNode() const;
    DomNode firstChild() const;
    DomNode lastChild() const;
    DomNode previousSibling() const;
    DomNode nextSibling() const;
    DomNodeList childNodes() const;
    bool hasChildNodes() const;

    // Tree edits. The new child must belong to the same document (use the document's
    // importNode for nodes of another one); a node already in the tree is moved. Each
    // returns the node that was put in (or taken out, for removeChild and replaceChild).
    // Throws DomError for a node of another document, a node put into itself or its own
    // descendants, a reference node that is not a child of this one, a second document
    // element, and null handles.
    DomNode appendChild(const DomNode& newChild);
    // A null refChild appends.
    DomNode insertBefore(const DomNode& newChild, const DomNode& refChild);
    DomNode removeChild(const DomNode& oldChild);
    // Puts newChild where oldChild was and returns oldChild, now outside the tree.
    DomNode replaceChild(const DomNode& newChild, const DomNode& oldChild);
    // A copy outside the tree, with its attributes and, when deep, its whole content.
    DomNode cloneNode(bool deep) const;

    // XPath queries from this node, results in document order: elements and attributes (text
    // and comment nodes are left out). Variables are bound by name ($name). Nodes outside the
    // tree are never found from a node in it. Throw DomError for a query that does not
    // compile or yields no nodes (a number, a text).
    DomNodeList selectNodes(const std::string& xpath, const DomVariables& variables = {}) const;
    // The first result, or a null handle.
    DomNode selectSingleNode(const std::string& xpath, const DomVariables& variables = {}) const;

    // The node as XML text (an attribute as name="value"); "" for a null handle.
    std::string xml() const;

    // Stand-in details: the pugixml node behind the handle.
    explicit DomNode(pugi::xml_node node, pugi::xml_attribute attr = {}) : node_(node), attr_(attr) {}
    pugi::xml_node pugiNode() const { return node_; }

private:
    friend class DomDocument;
    pugi::xml_node element() const;    // DomError unless an element
    pugi::xml_node container() const;  // DomError unless an element or the document
    void requireSet() const;           // DomError(91) for a null handle
    pugi::xml_node node_;              // the element, the document, or an attribute's element
    pugi::xml_attribute attr_;
};

// Nodes in document order; item(i) counts from 0.
class DomNodeList {
public:
    DomNodeList() = default;
    explicit DomNodeList(std::vector<DomNode> nodes) : nodes_(std::move(nodes)) {}
    int length() const { return static_cast<int>(nodes_.size()); }
    DomNode item(int index) const;  // a null handle when out of range
    std::vector<DomNode>::const_iterator begin() const { return nodes_.begin(); }
    std::vector<DomNode>::const_iterator end() const { return nodes_.end(); }

private:
    std::vector<DomNode> nodes_;
};

// How many elements deep a document may nest. Deeper text is refused when loaded (a damaged
// or hostile file), and a document edited deeper is not saved, so neither the readers nor
// the indented text written can grow without bound.
constexpr std::size_t kMaxXmlDepth = 256;

// One XML document. Empty until loaded or given a document element.
class DomDocument {
public:
    DomDocument();
    ~DomDocument();
    DomDocument(const DomDocument&) = delete;
    DomDocument& operator=(const DomDocument&) = delete;

    // Parse a file (read through the platform's file system) or a text. True on success; on
    // failure (bad XML, nesting deeper than kMaxXmlDepth) the document is empty (no document element) and parseError()
    // says why. Either way every earlier handle into this document becomes invalid.
    bool load(const std::string& path);
    bool loadXML(const std::string& text);
    const std::string& parseError() const { return parseError_; }

    // Writes the document as UTF-8 with an XML declaration, indented, replacing the file all
    // at once. False when it cannot be written or nests deeper than kMaxXmlDepth (the old file
    // is then unchanged).
    bool save(const std::string& path) const;
    // The document as compact XML text, without a declaration; "" for an empty document.
    std::string xml() const;

    // The root element, or a null handle for an empty document.
    DomNode documentElement() const;
    // The document node: parent of the document element and context of whole-path queries.
    DomNode node() const { return DomNode(doc_); }
    // Makes `element` the document element; throws DomError when there already is one.
    DomNode appendChild(const DomNode& element) { return node().appendChild(element); }

    // New nodes outside the tree, to be inserted with appendChild or insertBefore (or, for an
    // attribute, given to an element with setAttributeNode). Throw DomError for a name that
    // is not an XML name.
    DomNode createElement(const std::string& name);
    DomNode createAttribute(const std::string& name);
    // A copy of a node of any document (another or this one), outside this one's tree.
    // Throws DomError for a null handle or the document node.
    DomNode importNode(const DomNode& node, bool deep = true);

    // Queries from the document node; see DomNode::selectNodes.
    DomNodeList selectNodes(const std::string& xpath, const DomVariables& variables = {}) const {
        return node().selectNodes(xpath, variables);
    }
    DomNode selectSingleNode(const std::string& xpath, const DomVariables& variables = {}) const {
        return node().selectSingleNode(xpath, variables);
    }

private:
    bool parse(const std::string& bytes);
    pugi::xml_document doc_;
    std::string parseError_;
};

// Counts the changes to every document of the process: each load, edit through these classes
// and document let go. What was read from a document still holds while the count is the
// same (a cache of a thousand gallery items checks it instead of querying again).
std::uint64_t domChanges();

// True for a name that XML allows as an element or attribute name.
bool isXmlName(const std::string& name);

}  // namespace platform
