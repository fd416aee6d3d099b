// Feeds arbitrary text to the XML parser and then walks what it built with the typed conversions and path
// queries. Input: one flag byte (bit 0: parse into an empty root instead of a document node; bit 1: read
// the text as UTF-16 code units instead of UTF-8), then the XML text, then optionally a zero byte and a path.
#include "engine/core/Error.h"
#include "engine/core/StringUtils.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLParser.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace GameTools;

namespace {

void Visit(XMLValue& value) {
    value.AsInt();
    value.AsFloat();
    value.AsBool();
    value.GetFloat4();
    value.GetInt2();
    value.AsString();
    value.AsWideString();
}

void Walk(XMLNode* top, const std::string& path) {
    std::vector<XMLNode*> pending{top};
    while (!pending.empty()) {
        XMLNode* node = pending.back();
        pending.pop_back();
        Visit(node->value);
        for (XMLAttribute* attribute : node->attributes) {
            if (node->GetAttribute(attribute->name, 0) != &attribute->value)
                __builtin_trap(); // the index must find every attribute
            Visit(attribute->value);
        }
        for (XMLNode* child : node->children) {
            if (child->GetParent() != node)
                __builtin_trap();
            pending.push_back(child);
        }
        node->GetPath();
    }
    std::vector<XMLNode*> found;
    XMLNode::SelectNodes(top, path, found);
    std::vector<XMLValue*> values;
    XMLNode::SelectAttributes(top, path, "name", values);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t flags = data[0];
    std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string path;
    const size_t zero = bytes.find('\0');
    if (zero != std::string::npos) {
        path = bytes.substr(zero + 1);
        bytes.resize(zero);
    }

    std::wstring text;
    if (flags & 2) {
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            text += static_cast<wchar_t>(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
    } else {
        text = OrvexEngine::ToWide(bytes);
    }

    XMLParser parser;
    if (flags & 1) {
        XMLNode* root = nullptr;
        try {
            parser.ParseText(root, text);
        } catch (const OrvexEngine::FileError&) {
            if (root != nullptr)
                __builtin_trap(); // a failed parse leaves no root
            return 0;
        }
        Walk(root, path);
        delete root;
    } else {
        XMLNode document;
        XMLNode* root = &document;
        try {
            parser.ParseText(root, text);
        } catch (const OrvexEngine::FileError&) {
        }
        Walk(&document, path);
    }
    return 0;
}
