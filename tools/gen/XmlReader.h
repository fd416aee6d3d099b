// A small reader for the XML the generator compiles from content\ (texts, window descriptions): elements,
// attributes in either quote, comments and declarations before the root. It reads the dialect the game's
// own reader accepts and refuses what that reader would take differently: anything after the root, a
// duplicate attribute, entities (they stay literal in the game, so a source that writes one is a mistake).
// A plain value tree; any number of them.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace VbGen {

struct XmlElement {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes; // in document order
    std::vector<XmlElement> children;

    // The attribute's value, or null when the element has none of that name.
    const std::string* Attribute(const std::string& attribute) const;
    // The first child of that name, or null.
    const XmlElement* Child(const std::string& child) const;
};

// Parses one document with exactly one root element (a UTF-8 byte order mark, declarations and comments may
// come first). Throws GenError naming the source and the line of the first fault.
XmlElement ParseXml(const std::string& text, const std::string& source);

} // namespace VbGen
