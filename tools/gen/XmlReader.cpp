#include "tools/gen/XmlReader.h"

#include "tools/gen/GenError.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace VbGen {

namespace {

class Parser {
public:
    Parser(const std::string& text, const std::string& source) : text(text), source(source) {}

    XmlElement Document() {
        if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
            position = 3;
        SkipMisc();
        if (!Peek('<'))
            Fail("no root element");
        XmlElement root = Element();
        // The game's reader refuses anything after the root, a comment too.
        SkipSpace();
        if (position < text.size())
            Fail("text after the root element");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        const long line = 1 + std::count(text.begin(), text.begin() + long(std::min(position, text.size())), '\n');
        throw GenError(source + ":" + std::to_string(line) + ": " + what);
    }

    bool Peek(char c) const { return position < text.size() && text[position] == c; }
    bool Starts(const char* prefix) const { return text.compare(position, std::strlen(prefix), prefix) == 0; }

    void SkipSpace() {
        while (position < text.size() && std::strchr(" \t\r\n", text[position]) != nullptr)
            ++position;
    }

    // Declarations and comments between elements.
    void SkipMisc() {
        for (;;) {
            SkipSpace();
            if (Starts("<?")) {
                size_t end = text.find("?>", position);
                if (end == std::string::npos)
                    Fail("unterminated declaration");
                position = end + 2;
            } else if (Starts("<!--")) {
                size_t end = text.find("-->", position);
                if (end == std::string::npos)
                    Fail("unterminated comment");
                // The game ends a comment at the first '>' outside quotes: keep both readings the same.
                std::string body = text.substr(position + 4, end - position - 4);
                if (body.find_first_of(">'\"") != std::string::npos)
                    Fail("a comment holds '>' or a quote");
                position = end + 3;
            } else if (Starts("<!")) {
                Fail("no DOCTYPE or CDATA");
            } else {
                return;
            }
        }
    }

    std::string Name() {
        size_t start = position;
        while (position < text.size() &&
               (std::isalnum(static_cast<unsigned char>(text[position])) || text[position] == '_' ||
                text[position] == '-' || text[position] == '.' || text[position] == ':'))
            ++position;
        if (position == start)
            Fail("a name is missing");
        return text.substr(start, position - start);
    }

    XmlElement Element() {
        ++position; // '<'
        XmlElement element;
        element.name = Name();
        for (;;) {
            SkipSpace();
            if (Starts("/>")) {
                position += 2;
                return element;
            }
            if (Peek('>')) {
                ++position;
                break;
            }
            std::string attribute = Name();
            SkipSpace();
            if (!Peek('='))
                Fail("attribute " + attribute + " has no value");
            ++position;
            SkipSpace();
            if (!Peek('"') && !Peek('\''))
                Fail("the value of " + attribute + " is not quoted");
            const char quote = text[position++];
            size_t end = text.find(quote, position);
            if (end == std::string::npos)
                Fail("unterminated value of " + attribute);
            std::string value = text.substr(position, end - position);
            position = end + 1;
            if (value.find('&') != std::string::npos)
                Fail("the value of " + attribute + " holds '&': the game reads no entities");
            if (element.Attribute(attribute) != nullptr)
                Fail("attribute " + attribute + " appears twice");
            element.attributes.emplace_back(std::move(attribute), std::move(value));
        }
        for (;;) {
            SkipMisc();
            if (position >= text.size())
                Fail("element " + element.name + " is not closed");
            if (Starts("</")) {
                position += 2;
                if (Name() != element.name)
                    Fail("element " + element.name + " is closed by another name");
                SkipSpace();
                if (!Peek('>'))
                    Fail("bad closing tag of " + element.name);
                ++position;
                return element;
            }
            if (Peek('<')) {
                element.children.push_back(Element());
                continue;
            }
            // Character data between elements carries nothing in our vocabularies.
            size_t next = text.find('<', position);
            position = next == std::string::npos ? text.size() : next;
        }
    }

    const std::string& text;
    const std::string& source;
    size_t position = 0;
};

} // namespace

const std::string* XmlElement::Attribute(const std::string& attribute) const {
    for (const auto& [key, value] : attributes)
        if (key == attribute)
            return &value;
    return nullptr;
}

const XmlElement* XmlElement::Child(const std::string& child) const {
    for (const XmlElement& element : children)
        if (element.name == child)
            return &element;
    return nullptr;
}

XmlElement ParseXml(const std::string& text, const std::string& source) {
    return Parser(text, source).Document();
}

} // namespace VbGen
