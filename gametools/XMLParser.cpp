#include "gametools/XMLParser.h"

#include "engine/core/Error.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FileManager.h"
#include "engine/files/FileTextual.h"

#include <algorithm>
#include <cassert>
#include <cwctype>
#include <memory>
#include <utility>

using namespace OrvexEngine;

namespace GameTools {

namespace {

// Printable and not white space, by the C library's classes; ASCII is decided without a call.
bool IsGraphic(wchar_t c) {
    if (c < 0x80)
        return c > 0x20 && c < 0x7F;
    return std::iswgraph(static_cast<wint_t>(c)) != 0;
}

// C0 controls other than tab, line feed and carriage return appear in no text file; they mark a binary
// file that was opened as text.
bool IsForbiddenControl(wchar_t c) {
    return c < 0x20 && c != L'\t' && c != L'\n' && c != L'\r';
}

// Names are ASCII in practice; those are narrowed here without the locale conversion.
std::string Narrow(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        if (c >= 0x80)
            return ToMultiByte(text);
        out += static_cast<char>(c);
    }
    return out;
}

std::string TrimRight(std::string text) {
    size_t end = text.size();
    while (end > 0 && (text[end - 1] == ' ' || (text[end - 1] >= '\t' && text[end - 1] <= '\r')))
        --end;
    text.resize(end);
    return text;
}

// True when the text holds something besides white space (CR LF pairs are white space too).
bool HasContent(const std::wstring& text) {
    for (wchar_t c : text) {
        if (c < 0x80 ? !(c == L' ' || (c >= L'\t' && c <= L'\r')) : !std::iswspace(static_cast<wint_t>(c)))
            return true;
    }
    return false;
}

class XMLFormatError {
public:
    int code;
};

// One parse: the character state machine over the whole text.
class ParseRun {
public:
    ParseRun(XMLNode*& root) : root(root), current(root) {}

    void Run(const std::wstring& text);
    uint32_t GetLine() const { return line; }
    // The element made by the tag being read while it has no parent yet (the top element of a new tree).
    XMLNode* TakeOrphan() { return std::exchange(orphan, nullptr); }

private:
    [[noreturn]] void Fail(int code) { throw XMLFormatError{code}; }
    void TagBegins();
    void CloseTag();
    void OpenTag();

    XMLNode*& root;
    XMLNode* current = nullptr;
    XMLNode* orphan = nullptr;
    bool inTag = false;
    bool closingTag = false;
    bool inQuote = false;
    bool inDeclaration = false;
    wchar_t quote = 0;
    std::wstring tagText;
    std::wstring text;
    std::wstring nameBuffer;
    std::wstring attributeNameBuffer;
    std::wstring attributeValueBuffer;
    uint32_t line = 1;
    int depth = 0; // elements open since the parse began
};

void ParseRun::Run(const std::wstring& source) {
    for (wchar_t c : source) {
        if (c == L'\n')
            ++line;
        else if (IsForbiddenControl(c))
            Fail(XMLParser::ErrorControlCharacter);

        if (inDeclaration) {
            if (c == L'>')
                inDeclaration = false;
            continue;
        }

        if (!inTag) {
            if (c == L'<')
                TagBegins();
            else if (current != nullptr)
                text += c;
            else if (IsGraphic(c))
                Fail(XMLParser::ErrorTextOutsideElement);
            continue;
        }

        if (c == L'/' && tagText.empty() && !inQuote) {
            closingTag = true;
            if (current == nullptr)
                Fail(XMLParser::ErrorCloseBeforeOpen);
        } else if ((c == L'"' || c == L'\'') && !tagText.empty()) {
            if (!inQuote) {
                inQuote = true;
                quote = c;
            } else if (c == quote) {
                inQuote = false;
            }
            tagText += c;
        } else if (inQuote) {
            tagText += c;
        } else if (c == L'?' && tagText.empty()) {
            inDeclaration = true;
            inTag = false;
            closingTag = false;
        } else if (c == L'>') {
            if (tagText.empty())
                Fail(XMLParser::ErrorEmptyTag);
            if (closingTag)
                CloseTag();
            else
                OpenTag();
            tagText.clear();
            inTag = false;
            closingTag = false;
        } else if (tagText.empty() && !IsGraphic(c)) {
            // blanks between "<" and the name
        } else {
            tagText += c;
        }
    }

    if (inTag)
        Fail(XMLParser::ErrorEndInsideTag);
    if (root == nullptr)
        Fail(XMLParser::ErrorNoElement);
}

void ParseRun::TagBegins() {
    if (current != nullptr) {
        if (HasContent(text)) {
            current->value.SetWide(text);
            text.clear();
        }
    } else if (root != nullptr) {
        Fail(XMLParser::ErrorAfterTopElement);
    }
    inTag = true;
    closingTag = false;
    inQuote = false;
}

void ParseRun::CloseTag() {
    if (current == nullptr || TrimRight(Narrow(tagText)) != current->name)
        Fail(XMLParser::ErrorCloseMismatch);
    current = current->GetParent();
    --depth;
}

void ParseRun::OpenTag() {
    enum class State { ElementName, AttributeName, WaitingForValue, Value };
    XMLNode* parent = current;
    current = nullptr;
    State state = State::ElementName;
    // Buffers of the parse, reused from tag to tag so that reading a tag allocates only what it keeps.
    std::wstring& name = nameBuffer;
    std::wstring& attributeName = attributeNameBuffer;
    std::wstring& attributeValue = attributeValueBuffer;
    name.clear();
    attributeName.clear();
    attributeValue.clear();
    wchar_t valueQuote = 0;
    bool empty = false;
    XMLNode* element = nullptr;

    auto createElement = [&] {
        if (depth >= XMLParser::MaxDepth)
            Fail(XMLParser::ErrorTooDeep);
        element = new XMLNode(Narrow(name), parent);
        // Every attribute has an "=", so their count bounds how many there will be.
        element->attributes.reserve(static_cast<size_t>(std::count(tagText.begin(), tagText.end(), L'=')));
        if (parent == nullptr)
            orphan = element;
    };

    const size_t size = tagText.size();
    for (size_t i = 0; i < size; ++i) {
        const wchar_t c = tagText[i];
        const bool graphic = IsGraphic(c);
        switch (state) {
        case State::ElementName:
            if (!graphic) {
                if (name.empty())
                    break;
                if (name == L"!--") {
                    // A comment: the rest of the tag is not looked at.
                    current = parent;
                    text.clear();
                    return;
                }
                createElement();
                state = State::AttributeName;
            } else if (c == L'/') {
                empty = true;
            } else {
                name += c;
            }
            break;
        case State::AttributeName:
            if (!graphic)
                break;
            if (c == L'=') {
                if (attributeName.empty())
                    Fail(XMLParser::ErrorAttributeNoName);
                state = State::WaitingForValue;
            } else if (c == L'/') {
                if (!attributeName.empty())
                    Fail(XMLParser::ErrorSlashAfterName);
                if (i + 1 != size)
                    Fail(XMLParser::ErrorSlashInAttributes);
                empty = true;
            } else {
                attributeName += c;
            }
            break;
        case State::WaitingForValue:
            if (!graphic)
                break;
            if (c != L'"' && c != L'\'')
                Fail(XMLParser::ErrorValueNotQuoted);
            valueQuote = c;
            state = State::Value;
            break;
        case State::Value:
            if (c != valueQuote) {
                attributeValue += c;
                break;
            }
            {
                const std::string narrowName = Narrow(attributeName);
                if (element->HasAttribute(narrowName))
                    Fail(XMLParser::ErrorDuplicateAttribute);
                element->SetAttributeWide(narrowName, attributeValue);
            }
            attributeName.clear();
            attributeValue.clear();
            state = State::AttributeName;
            break;
        }
    }

    if (state == State::AttributeName && !attributeName.empty())
        Fail(XMLParser::ErrorAttributeNoValue);
    if (state == State::WaitingForValue || state == State::Value)
        Fail(XMLParser::ErrorValueNotClosed);
    if (element == nullptr)
        createElement();
    if (root == nullptr)
        root = element;
    orphan = nullptr;
    if (empty) {
        current = parent;
    } else {
        current = element;
        ++depth;
    }
    text.clear();
}

} // namespace

void XMLParser::Load(XMLNode* node, const std::string& fileName) {
    assert(node != nullptr && "Load adds to a node; use ParseFile with a null root for a new tree");
    XMLNode* root = node;
    ParseFile(root, fileName);
}

void XMLParser::ParseFile(XMLNode*& root, const std::string& fileName) {
    std::unique_ptr<FileTextual> file(FileManager::Instance()->OpenTextFile(fileName, 0, 0));
    ParseText(root, file.get());
}

void XMLParser::Parse(XMLNode* node, FileTextual* file) {
    assert(node != nullptr && "Parse adds to a node; use ParseText with a null root for a new tree");
    XMLNode* root = node;
    ParseText(root, file);
}

void XMLParser::ParseText(XMLNode*& root, FileTextual* file) {
    std::wstring text;
    file->ReadAll(text, false);
    ParseText(root, text);
}

void XMLParser::ParseText(XMLNode*& root, const std::wstring& text) {
    const bool rootWasEmpty = root == nullptr;
    ParseRun run(root);
    try {
        run.Run(text);
    } catch (const XMLFormatError& error) {
        if (rootWasEmpty) {
            delete run.TakeOrphan();
            delete root;
            root = nullptr;
        }
        throw FileError("XML format error at line " + std::to_string(run.GetLine()) + ": code " +
                        std::to_string(error.code));
    }
}

} // namespace GameTools
