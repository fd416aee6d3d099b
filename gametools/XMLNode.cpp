#include "gametools/XMLNode.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "gametools/XMLNodePool.h"

#include <algorithm>
#include <string_view>

using namespace OrvexEngine;

namespace GameTools {

static_assert(alignof(XMLNode) <= alignof(void*) && alignof(XMLAttribute) <= alignof(void*),
              "pool blocks are aligned for pointers");

XMLNode::XMLNode(const std::string& name, XMLNode* parent) : name(name) {
    if (parent != nullptr)
        parent->AddChild(this);
}

XMLNode::XMLNode(const std::string& name, const std::string& value, XMLNode* parent) : name(name) {
    this->value.SetNarrow(value);
    if (parent != nullptr)
        parent->AddChild(this);
}

XMLNode::~XMLNode() {
    if (parent != nullptr) {
        XMLNode* owner = parent;
        parent = nullptr; // so that the owner takes this node out without deleting it again
        owner->RemoveChild(this);
    }
    for (XMLAttribute* attribute : attributes)
        delete attribute;

    // The subtree is taken apart with a list instead of recursion: a deep tree would exhaust the stack.
    // Each node is emptied before it is deleted, so its own destructor has nothing below it to visit.
    if (children.empty())
        return;
    std::vector<XMLNode*> pending(children.rbegin(), children.rend());
    children.Clear();
    while (!pending.empty()) {
        XMLNode* node = pending.back();
        pending.pop_back();
        node->parent = nullptr;
        pending.insert(pending.end(), node->children.rbegin(), node->children.rend());
        node->children.Clear();
        delete node;
    }
}

bool XMLNode::IsSelfOrAncestor(const XMLNode* node) const {
    for (const XMLNode* n = this; n != nullptr; n = n->parent)
        if (n == node)
            return true;
    return false;
}

XMLNode* XMLNode::AddChild(XMLNode* node) {
    // Only a node with children can be an ancestor, so new leaves (every node the parser makes) skip the
    // walk.
    if (node == nullptr || node == this || (!node->children.empty() && IsSelfOrAncestor(node)))
        return node;
    if (node->parent != nullptr) {
        XMLNode* oldParent = node->parent;
        node->parent = nullptr;
        oldParent->RemoveChild(node);
    }
    Append(node);
    return node;
}

void XMLNode::Append(XMLNode* child, XMLNodePool* pool) {
    children.PushBack(child, pool);
    if (childIndex)
        (*childIndex)[child->name].push_back(child);
    child->parent = this;
}

void XMLNode::IndexChildren() const {
    childIndex = std::make_unique<std::unordered_map<std::string, std::vector<XMLNode*>>>();
    for (XMLNode* child : children)
        (*childIndex)[child->name].push_back(child);
}

XMLNode* XMLNode::AddNewChild() {
    return new XMLNode("", "", this);
}

void XMLNode::Unindex(XMLNode* child) {
    if (!childIndex)
        return;
    auto entry = childIndex->find(child->name);
    if (entry == childIndex->end())
        return;
    std::vector<XMLNode*>& named = entry->second;
    named.erase(std::find(named.begin(), named.end(), child));
    if (named.empty())
        childIndex->erase(entry);
}

void XMLNode::RemoveChild(XMLNode* node) {
    if (node == nullptr)
        return;
    auto place = std::find(children.begin(), children.end(), node);
    if (place == children.end())
        return;
    children.Erase(place);
    Unindex(node);
    if (node->parent == this) {
        node->parent = nullptr;
        delete node;
    }
}

XMLAttribute* XMLNode::FindAttribute(const std::string& attributeName) const {
    if (!attributeIndex) {
        for (XMLAttribute* attribute : attributes)
            if (attribute->name == attributeName)
                return attribute;
        return nullptr;
    }
    const std::vector<XMLAttribute*>& index = *attributeIndex;
    const size_t mask = index.size() - 1;
    for (size_t slot = std::hash<std::string>()(attributeName) & mask;; slot = (slot + 1) & mask) {
        XMLAttribute* attribute = index[slot];
        if (attribute == nullptr || attribute->name == attributeName)
            return attribute; // the table is never full, so an empty slot ends every search
    }
}

XMLValue* XMLNode::GetAttribute(const std::string& attributeName, int severity) {
    XMLAttribute* attribute = FindAttribute(attributeName);
    if (attribute == nullptr) {
        ReportMissingAttribute(attributeName, severity);
        return nullptr;
    }
    return &attribute->value;
}

XMLNode* XMLNode::GetChild(const std::string& childName, int severity) {
    if (children.size() <= ScannedListLength && !childIndex) {
        for (XMLNode* child : children)
            if (child->name == childName)
                return child;
    } else {
        if (!childIndex)
            IndexChildren();
        auto entry = childIndex->find(childName);
        if (entry != childIndex->end())
            return entry->second.front();
    }
    ReportMissingChild(childName, severity);
    return nullptr;
}

void XMLNode::GetChildren(std::vector<XMLNode*>& out) const {
    out.assign(children.begin(), children.end());
}

void XMLNode::GetChildrenByName(const std::string& childName, std::vector<XMLNode*>& out) const {
    out.clear();
    if (children.size() <= ScannedListLength && !childIndex) {
        for (XMLNode* child : children)
            if (child->name == childName)
                out.push_back(child);
        return;
    }
    if (!childIndex)
        IndexChildren();
    auto entry = childIndex->find(childName);
    if (entry != childIndex->end())
        out = entry->second;
}

void XMLNode::SetAttributeWide(const std::string& attributeName, const std::wstring& text) {
    if (XMLAttribute* attribute = FindAttribute(attributeName)) {
        attribute->value.SetWide(text);
        return;
    }
    attributes.PushBack(new XMLAttribute(attributeName, text), nullptr);
    IndexAttribute(attributes.back());
}

void XMLNode::SetAttribute(const std::string& attributeName, const std::string& text) {
    if (XMLAttribute* attribute = FindAttribute(attributeName)) {
        attribute->value.SetNarrow(text);
        return;
    }
    attributes.PushBack(new XMLAttribute(attributeName, text), nullptr);
    IndexAttribute(attributes.back());
}

void XMLNode::IndexAttributes() {
    // An index too small for the list (or none) is made again from the whole list.
    if (!attributes.empty())
        IndexAttribute(attributes.back());
}

void XMLNode::IndexAttribute(XMLAttribute* attribute) {
    if (attributes.size() <= ScannedListLength)
        return;
    if (!attributeIndex)
        attributeIndex = std::make_unique<std::vector<XMLAttribute*>>();
    std::vector<XMLAttribute*>& index = *attributeIndex;
    auto place = [&index](XMLAttribute* entry) {
        const size_t mask = index.size() - 1;
        size_t slot = std::hash<std::string>()(entry->name) & mask;
        while (index[slot] != nullptr)
            slot = (slot + 1) & mask;
        index[slot] = entry;
    };
    if (attributes.size() * 2 <= index.size()) {
        place(attribute);
        return;
    }
    // At least twice the slots of the entries, every attribute entered again (the new one is already in
    // the list).
    size_t slots = std::max<size_t>(16, index.size() * 2);
    while (slots < attributes.size() * 2)
        slots *= 2;
    index.assign(slots, nullptr);
    for (XMLAttribute* entry : attributes)
        place(entry);
}

std::string XMLNode::GetPath() const {
    std::vector<const std::string*> names;
    for (const XMLNode* n = this; n != nullptr; n = n->parent)
        if (!n->name.empty())
            names.push_back(&n->name);
    std::string path;
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        path += "/" + **it;
    return path;
}

void XMLNode::Report(const std::string& text, int severity) const {
    MessageManager* log = MessageManager::Instance();
    switch (severity) {
    case SeverityWarning:
        if (log != nullptr)
            log->Warning(text);
        break;
    case SeverityError:
        if (log != nullptr)
            log->Error(text);
        break;
    case SeverityFatal:
        if (log != nullptr)
            log->Fatal(text);
        throw FatalError(text);
    default:
        break;
    }
}

void XMLNode::ReportMissingChild(const std::string& childName, int severity) const {
    if (severity >= SeverityWarning && severity <= SeverityFatal)
        Report("Failed to find \"" + GetPath() + "/" + childName + "\" node", severity);
}

void XMLNode::ReportMissingAttribute(const std::string& attributeName, int severity) const {
    if (severity >= SeverityWarning && severity <= SeverityFatal)
        Report("Failed to find \"" + attributeName + "\" attribute in \"" + GetPath() + "\" node", severity);
}

// Path queries ------------------------------------------------------------------------------------------

namespace {

// Predicates treat everything that is not graphic as a blank; bytes of multi-byte characters are graphic.
bool IsBlank(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u <= 0x20 || u == 0x7F;
}

bool Matches(XMLNode* candidate, const std::vector<std::string>& names,
             const std::vector<std::string>& values) {
    for (size_t i = 0; i < names.size(); ++i) {
        XMLValue* attribute = candidate->GetAttribute(names[i], XMLNode::SeverityNone);
        if (attribute == nullptr || attribute->AsString() != values[i])
            return false;
    }
    return true;
}

} // namespace

bool ParsePathPredicates(const std::string& text, std::vector<std::string>& names,
                         std::vector<std::string>& values) {
    enum class State { Name, WaitingForQuote, Value };
    State state = State::Name;
    std::string name;
    std::string value;
    char quote = 0;
    for (char c : text) {
        switch (state) {
        case State::Name:
            if (c == '=') {
                if (name.empty())
                    return false;
                state = State::WaitingForQuote;
            } else if (c == ',' || c == ';') {
                if (!name.empty())
                    return false;
            } else if (!IsBlank(c)) {
                name += c;
            }
            break;
        case State::WaitingForQuote:
            if (c == '"' || c == '\'') {
                quote = c;
                state = State::Value;
            } else if (!IsBlank(c)) {
                return false;
            }
            break;
        case State::Value:
            if (c == quote) {
                names.push_back(name);
                values.push_back(value);
                name.clear();
                value.clear();
                state = State::Name;
            } else {
                value += c;
            }
            break;
        }
    }
    return state == State::Name && name.empty();
}

void XMLNode::SelectNodes(XMLNode* start, const std::string& path, std::vector<XMLNode*>& out) {
    constexpr size_t none = std::string_view::npos; // compares after every position, as an absent mark must
    XMLNode* node = start;
    std::string_view rest = path;
    // Empty steps stay on the same node; they are walked in this loop so that a long run of "/" costs no
    // stack. Named steps descend one level per call.
    while (node != nullptr) {
        if (rest.empty()) {
            out.push_back(node);
            return;
        }
        size_t slash = rest.find('/');
        size_t open = rest.find('[');
        size_t close = rest.find(']');
        if (slash != none && open < slash && slash < close)
            return; // a "/" inside the first bracket
        if (close < open)
            return; // a "]" before any "["
        std::vector<std::string> names;
        std::vector<std::string> values;
        bool hasPredicates = false;
        if (open < slash) {
            size_t end = close == none ? rest.size() : close;
            if (!ParsePathPredicates(std::string(rest.substr(open + 1, end - open - 1)), names, values))
                return;
            hasPredicates = true;
        }
        std::string stepName(rest.substr(0, std::min(open, slash)));
        std::string_view next = slash == none ? std::string_view() : rest.substr(slash + 1);
        if (stepName.empty() && !hasPredicates) {
            rest = next;
            continue;
        }
        std::vector<XMLNode*> candidates;
        if (stepName.empty())
            node->GetChildren(candidates);
        else
            node->GetChildrenByName(stepName, candidates);
        const std::string nextPath(next);
        for (XMLNode* candidate : candidates)
            if (Matches(candidate, names, values))
                SelectNodes(candidate, nextPath, out);
        return;
    }
}

XMLNode* XMLNode::SelectNode(XMLNode* start, const std::string& path) {
    std::vector<XMLNode*> found;
    SelectNodes(start, path, found);
    return found.empty() ? nullptr : found.front();
}

void XMLNode::SelectAttributes(XMLNode* start, const std::string& path, const std::string& attribute,
                               std::vector<XMLValue*>& out) {
    std::vector<XMLNode*> found;
    SelectNodes(start, path, found);
    for (XMLNode* node : found)
        if (XMLValue* value = node->GetAttribute(attribute, SeverityNone))
            out.push_back(value);
}

XMLValue* XMLNode::SelectAttribute(XMLNode* start, const std::string& path, const std::string& attribute) {
    std::vector<XMLValue*> found;
    SelectAttributes(start, path, attribute, found);
    return found.empty() ? nullptr : found.front();
}

} // namespace GameTools
