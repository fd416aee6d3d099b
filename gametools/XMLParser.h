// Reads the XML subset of the game's data files into XMLNode trees: elements, attributes in single or
// double quotes, empty elements, text values, comments (from "<!--" to the first "-->"), and "<?...?>"
// declarations, which are skipped (up to their first ">").
// Entities are not decoded; text and attribute values are kept exactly as written. Created by its user
// for a parse and deleted after; it keeps nothing between parses.
#pragma once

#include "gametools/XMLNode.h"

#include <string>

namespace OrvexEngine {
class FileTextual;
}

namespace GameTools {

class XMLParser {
public:
    // Format errors throw FileError "XML format error at line N: code C"; the codes are listed below.
    // Two forms of root: a given node takes every top-level element of the text as a child (elements
    // made before an error stay there); a null root receives the text's single top element as a new tree
    // owned by the caller (after an error it is null again and nothing is left over).
    XMLParser() = default;
    virtual ~XMLParser() = default;

    // The file's elements become children of node, which must not be null.
    void Load(XMLNode* node, const std::string& fileName);
    // Opens the file (its encoding from its signature bytes) and parses it; file errors are passed on.
    void ParseFile(XMLNode*& root, const std::string& fileName);
    // The caller keeps and deletes the file.
    void Parse(XMLNode* node, OrvexEngine::FileTextual* file);
    void ParseText(XMLNode*& root, OrvexEngine::FileTextual* file);
    // The same parse over text already in memory (lines may end in LF or CR LF).
    void ParseText(XMLNode*& root, const std::wstring& text);

    // Error codes.
    static constexpr int ErrorCloseBeforeOpen = 0;     // a closing tag before any element
    static constexpr int ErrorEmptyTag = 1;            // "<>" or "</>"
    static constexpr int ErrorCloseMismatch = 2;       // a closing tag that names another element
    static constexpr int ErrorAttributeNoName = 4;     // "=" without a name before it
    static constexpr int ErrorSlashInAttributes = 5;   // "/" that is not the last character of the tag
    static constexpr int ErrorSlashAfterName = 6;      // "/" directly after an attribute name
    static constexpr int ErrorDuplicateAttribute = 7;  // the element already has that attribute
    static constexpr int ErrorValueNotQuoted = 8;      // after "=", something other than a quote
    static constexpr int ErrorAttributeNoValue = 10;   // an attribute name without "=" at the end of a tag
    static constexpr int ErrorValueNotClosed = 11;     // "=" without a completed quoted value
    static constexpr int ErrorAfterTopElement = 12;    // "<" after the top element was closed
    static constexpr int ErrorTextOutsideElement = 13; // text outside the top element
    static constexpr int ErrorEndInsideTag = 14;       // the text ends inside a tag
    static constexpr int ErrorNoElement = 15;          // the text holds no element at all
    static constexpr int ErrorTooDeep = 16;            // elements nested deeper than MaxDepth
    static constexpr int ErrorControlCharacter = 17;   // a zero character: the file is not text

    // Deeper nesting is refused, so that no reader that walks a tree recursively can exhaust the stack.
    static constexpr int MaxDepth = 256;
};

} // namespace GameTools
