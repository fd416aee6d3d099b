// One element of an XML document tree, with its attributes, text value and children. A node without a
// parent is a document (or a detached element) and belongs to whoever created it; every other node belongs
// to its parent and dies with it. Children are looked up by name through an index that keeps equal names
// in document order, made on the first lookup in a node with more than a few children (a short list is
// searched faster than hashed); attributes likewise. Nodes and attributes of a parsed document, and the
// lists that hold them, come from one pool (see XMLNodePool); `delete` works on every node however it was
// made. Also the path queries ("faders/fader[name='x']") that readers use to find nodes.
#pragma once

#include "gametools/XMLPointerList.h"
#include "gametools/XMLValue.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace GameTools {

// One attribute of a node, owned by it.
struct XMLAttribute {
    XMLAttribute(const std::string& name, const std::wstring& value) : name(name) {
        this->value.SetWide(value);
    }
    XMLAttribute(const std::string& name, const std::string& value) : name(name) {
        this->value.SetNarrow(value);
    }

    std::string name;
    XMLValue value;

    static void* operator new(std::size_t size) { return XMLNodePool::AllocateAlone(size); }
    static void operator delete(void* block) noexcept { XMLNodePool::Free(block); }

private:
    friend class XMLTreeBuilder;
    // A parsed attribute whose value still lies in the document's source.
    XMLAttribute(std::string_view name, std::string_view parsedValue)
        : name(name), value(XMLValue::InSource{}, parsedValue) {}
    static void* operator new(std::size_t size, XMLNodePool& pool) { return pool.Allocate(size); }
    static void operator delete(void* block, XMLNodePool&) noexcept { XMLNodePool::Free(block); }
};

class XMLNode {
public:
    // What a missing child or attribute reports: 0 (and any unknown value) nothing, 1 a warning, 2 an
    // error, 3 a fatal error, which throws FatalError out of the lookup.
    static constexpr int SeverityNone = 0;
    static constexpr int SeverityWarning = 1;
    static constexpr int SeverityError = 2;
    static constexpr int SeverityFatal = 3;

    // A document node: no name, no parent.
    XMLNode() = default;
    // A named element; a non-null parent takes it as its last child at once.
    XMLNode(const std::string& name, XMLNode* parent);
    XMLNode(const std::string& name, const std::string& value, XMLNode* parent);
    XMLNode(const XMLNode&) = delete;
    XMLNode& operator=(const XMLNode&) = delete;
    // Leaves the parent (which then holds one child fewer) and deletes the whole subtree.
    virtual ~XMLNode();

    // Moves the node (with its subtree) here as the last child, out of whatever tree held it. Adding this
    // node itself or one of its ancestors would make a cycle and is ignored.
    XMLNode* AddChild(XMLNode* node);
    XMLNode* AddNewChild();
    // Deletes the child with its subtree; a node that is not a child here is left alone.
    void RemoveChild(XMLNode* node);

    XMLAttribute* FindAttribute(const std::string& name) const;
    bool HasAttribute(const std::string& name) const { return FindAttribute(name) != nullptr; }
    // Null when there is none, after the report the severity asks for.
    XMLValue* GetAttribute(const std::string& name, int severity);
    // The first child of that name in document order; null when there is none, after the report.
    XMLNode* GetChild(const std::string& name, int severity);
    void GetChildren(std::vector<XMLNode*>& out) const;
    void GetChildrenByName(const std::string& name, std::vector<XMLNode*>& out) const;
    // An attribute that exists keeps its place and takes the new value in the new form.
    void SetAttributeWide(const std::string& name, const std::wstring& value);
    void SetAttribute(const std::string& name, const std::string& value);

    void ReportMissingChild(const std::string& name, int severity) const;
    void ReportMissingAttribute(const std::string& name, int severity) const;
    // "/window/controls": the names from the top of the tree down to this node; unnamed nodes add nothing.
    std::string GetPath() const;

    // Path queries. A path is steps separated by "/"; a step is an element name, an optional predicate
    // list in brackets ([name='a',kind="b"]), or both; an empty step with predicates looks at every child.
    // Results are appended (the outputs are not cleared) depth first in document order. A malformed path
    // selects nothing; nothing is ever logged.
    static void SelectNodes(XMLNode* start, const std::string& path, std::vector<XMLNode*>& out);
    static XMLNode* SelectNode(XMLNode* start, const std::string& path);
    static void SelectAttributes(XMLNode* start, const std::string& path, const std::string& attribute,
                                 std::vector<XMLValue*>& out);
    static XMLValue* SelectAttribute(XMLNode* start, const std::string& path, const std::string& attribute);

    const std::string& GetName() const { return name; }
    XMLNode* GetParent() const { return parent; }

    static void* operator new(std::size_t size) { return XMLNodePool::AllocateAlone(size); }
    static void operator delete(void* block) noexcept { XMLNodePool::Free(block); }

private:
    friend class XMLTreeBuilder;
    // A parsed element, added to its parent by the parser.
    explicit XMLNode(std::string_view name) : name(name) {}
    static void* operator new(std::size_t size, XMLNodePool& pool) { return pool.Allocate(size); }
    static void operator delete(void* block, XMLNodePool&) noexcept { XMLNodePool::Free(block); }

    void Report(const std::string& text, int severity) const;
    // Takes the child as the last one, with new room for the list from pool (the heap when null).
    void Append(XMLNode* child, XMLNodePool* pool = nullptr);
    void Unindex(XMLNode* child);
    void IndexAttribute(XMLAttribute* attribute);
    // Indexes every attribute at once when the list is long enough to need it.
    void IndexAttributes();
    void IndexChildren() const;
    bool IsSelfOrAncestor(const XMLNode* node) const;

public:
    // Readers walk these directly; only the operations above change the lists, because the indexes depend
    // on them (and the child index on the names).
    const std::string name;
    XMLValue value;
    XMLPointerList<XMLAttribute> attributes; // owned, in the order each name was first set
    XMLPointerList<XMLNode> children;        // owned, document order

private:
    // Lists up to this long are searched instead of indexed.
    static constexpr size_t ScannedListLength = 8;
    // Attributes by name, once there are more than ScannedListLength: an open-addressed hash table (a
    // power of two of slots, at most half used) of the entries of attributes, which are never removed.
    std::unique_ptr<std::vector<XMLAttribute*>> attributeIndex; // null until needed; entries not owned
    // not owned: every child, equal names in document order; made on the first lookup in a long list and
    // kept up to date from then on
    mutable std::unique_ptr<std::unordered_map<std::string, std::vector<XMLNode*>>> childIndex;
    XMLNode* parent = nullptr; // not owned
};

// Reads the text between a step's brackets into name and value pairs appended at equal positions; false
// when the text is malformed (pairs read before the fault stay in the outputs).
bool ParsePathPredicates(const std::string& text, std::vector<std::string>& names,
                         std::vector<std::string>& values);

} // namespace GameTools
