#include "gametools/XMLParser.h"

#include "engine/core/Error.h"
#include "engine/files/FileManager.h"
#include "engine/files/FileTextual.h"
#include "gametools/XMLNodePool.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>
#include <cwctype>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using namespace OrvexEngine;

namespace GameTools {

namespace {

class XMLFormatError {
public:
    int code;
    uint32_t line;
};

// One character of valid UTF-8 at p: its length and value. Never reads at or past end.
size_t Decode(const char* p, const char* end, uint32_t& value) {
    const auto lead = static_cast<unsigned char>(*p);
    size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    length = std::min(length, static_cast<size_t>(end - p));
    value = length == 1 ? lead : lead & (0x7Fu >> length);
    for (size_t i = 1; i < length; ++i)
        value = (value << 6) | (static_cast<unsigned char>(p[i]) & 0x3Fu);
    return length;
}

// Graphic: printable and not white space, by the C library's classes; ASCII is decided without a call.
bool IsAsciiGraphic(unsigned char c) {
    return c > 0x20 && c < 0x7F;
}

// A byte table true for the bytes that pass the test.
template <class Test> constexpr std::array<bool, 256> ByteTable(Test test) {
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[static_cast<size_t>(c)] = test(c);
    return table;
}

// Bytes that end a run of tag text: the end of the tag, quotes, and a zero, which every scan refuses.
constexpr auto tagStops = ByteTable([](int c) { return c == '>' || c == '"' || c == '\'' || c == 0; });

// White space by the C library's classes, for ASCII.
constexpr auto asciiBlankBytes = ByteTable([](int c) { return c == ' ' || (c >= '\t' && c <= '\r'); });

// Characters of an element name that need no further look: ASCII graphic except "/".
constexpr auto plainElementNameBytes = ByteTable([](int c) { return c > 0x20 && c < 0x7F && c != '/'; });

// Blanks and name characters of the tags that are read in one pass.
constexpr auto plainBlankBytes =
    ByteTable([](int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
constexpr auto plainNameCharacters = ByteTable([](int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == ':' || c == '.' || c == '-';
});

// Characters of an attribute name that need no further look: ASCII graphic except "=" and "/".
constexpr auto plainNameBytes = ByteTable([](int c) { return c > 0x20 && c < 0x7F && c != '=' && c != '/'; });

// The first byte from p on that is a, b or c; end when there is none. Sixteen bytes at a time where the
// processor allows: attribute values and text runs are mostly long stretches of nothing to look at.
const char* FindAny(const char* p, const char* end, char a, char b, char c) {
#if defined(__SSE2__)
    const __m128i wantA = _mm_set1_epi8(a);
    const __m128i wantB = _mm_set1_epi8(b);
    const __m128i wantC = _mm_set1_epi8(c);
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i found =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, wantA), _mm_cmpeq_epi8(bytes, wantB)),
                         _mm_cmpeq_epi8(bytes, wantC));
        if (const int mask = _mm_movemask_epi8(found); mask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    while (p < end && *p != a && *p != b && *p != c)
        ++p;
    return p;
}

// Passes white space (by the C library's classes, for ASCII) from p on; feeds tells whether it held a line
// feed.
const char* SkipAsciiBlanks(const char* p, const char* end, bool& feeds) {
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i feed = _mm_set1_epi8('\n');
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i controlSpan = _mm_set1_epi8('\r' - '\t');
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        // "\t" to "\r": the distance from "\t" is at most 4 (unsigned, so smaller bytes wrap above it).
        const __m128i distance = _mm_sub_epi8(bytes, tab);
        const __m128i control = _mm_cmpeq_epi8(_mm_max_epu8(distance, controlSpan), controlSpan);
        const auto blanks =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(control, _mm_cmpeq_epi8(bytes, space))));
        const auto feedMask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, feed)));
        if (blanks == 0xFFFF) {
            feeds = feeds || feedMask != 0;
            p += 16;
            continue;
        }
        const int count = __builtin_ctz(~blanks);
        feeds = feeds || (feedMask & ((1u << count) - 1)) != 0;
        return p + count;
    }
#endif
    while (p < end && asciiBlankBytes[static_cast<unsigned char>(*p)]) {
        feeds = feeds || *p == '\n';
        ++p;
    }
    return p;
}

// Wide text as UTF-8 for the parse. A value that is no character (half a surrogate pair, beyond U+10FFFF)
// becomes U+FFFD; a zero stays, so that the parse refuses it.
void EncodeWide(const std::wstring& text, std::string& out) {
    out.clear();
    out.reserve(text.size() + text.size() / 8);
    for (wchar_t c : text) {
        auto value = static_cast<uint32_t>(c);
        if (value < 0x80) {
            out += static_cast<char>(value);
            continue;
        }
        if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            value = 0xFFFD;
        if (value < 0x800) {
            out += static_cast<char>(0xC0 | (value >> 6));
        } else {
            if (value < 0x10000) {
                out += static_cast<char>(0xE0 | (value >> 12));
            } else {
                out += static_cast<char>(0xF0 | (value >> 18));
                out += static_cast<char>(0x80 | ((value >> 12) & 0x3F));
            }
            out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
        }
        out += static_cast<char>(0x80 | (value & 0x3F));
    }
}

} // namespace

// One parse: a single forward pass over the UTF-8 text. Text between tags is taken as runs. A tag in the
// plain form of the data files is read in one pass; any other is found by its ">" outside quotes and then
// read once more. Names are copied into the nodes; values stay in the source text, which the pool keeps,
// until they are read. Everything it builds comes from one pool. Lines are only counted when an error
// reports one.
class XMLTreeBuilder {
public:
    // The pool takes the source, so that parsed values can point into it. bareFeeds: every line of the
    // source ends in a bare LF, which values get as CR LF, as the text reader gives them.
    XMLTreeBuilder(XMLNode*& root, std::string&& source, bool bareFeeds)
        : root(root), current(root), pool(new XMLNodePool), bareFeeds(bareFeeds) {
        pool->KeepSource(std::move(source));
        begin = at = pool->Source().data();
        end = at + pool->Source().size();
    }
    XMLTreeBuilder(const XMLTreeBuilder&) = delete;
    XMLTreeBuilder& operator=(const XMLTreeBuilder&) = delete;
    ~XMLTreeBuilder() { pool->Drop(); }

    void Run();
    // The element made by the tag being read while it has no parent yet (the top element of a new tree).
    XMLNode* TakeOrphan() { return std::exchange(orphan, nullptr); }

private:
    // The line is that of the place the parse has reached.
    [[noreturn]] void Fail(int code) {
        throw XMLFormatError{code, 1 + static_cast<uint32_t>(std::count(begin, at, '\n'))};
    }
    void ReadText();
    void SkipOutsideElement();
    void ReadTag();
    bool ReadPlainTag();
    void SkipDeclaration();
    void SkipComment();
    void CloseTag(const char* text, const char* textEnd);
    void OpenTag(const char* text, const char* textEnd);
    XMLNode* CreateElement(std::string_view name, XMLNode* parent);
    void AddAttribute(XMLNode* element, std::string_view value);
    // A whole opening tag's element takes its place: the top element of a new tree becomes the root, and an
    // element that is not empty becomes the open one.
    void Enter(XMLNode* element, XMLNode* parent, bool empty);
    // Sets a parsed value: in place when it is one run of the source that needs no change, else copied
    // (with CR LF for the bare line feeds of the source, when it may hold any).
    void SetValue(XMLValue& value, std::string_view text, bool inPlace, bool mayHoldFeeds);
    void GatherRun(const char* runBegin, const char* runEnd) {
        if (runBegin != runEnd)
            runs.emplace_back(runBegin, runEnd);
    }
    // The gathered text, joined from its runs when there are several.
    std::string_view Gathered() {
        if (runs.size() == 1)
            return std::string_view(runs[0].first, runs[0].second - runs[0].first);
        joinedText.clear();
        for (const auto& [runBegin, runEnd] : runs)
            joinedText.append(runBegin, runEnd);
        return joinedText;
    }
    void ClearText() {
        runs.clear();
        textHasContent = false;
        textHasFeed = false;
    }

    XMLNode*& root;
    XMLNode* current;
    XMLNode* orphan = nullptr;
    const char* begin = nullptr;
    const char* at = nullptr;
    const char* end = nullptr;
    XMLNodePool* pool; // the creator's count, dropped by the destructor
    const bool bareFeeds;
    int depth = 0; // elements open since the parse began

    // The text gathered since the last opening tag: runs of the source between the tags that keep it
    // (blank runs are only joined when text with content follows them).
    std::vector<std::pair<const char*, const char*>> runs;
    bool textHasContent = false;
    bool textHasFeed = false;
    std::string joinedText;
    // Reused from value to value: text whose line feeds became CR LF.
    std::string joinedLines;
    // Reused from tag to tag: a name that had to be put together from pieces.
    std::string nameBuffer;
    std::string attributeName;
    // The attributes of a plain tag, names and values as read, until the tag is known to be whole.
    struct PlainAttribute {
        std::string_view name;
        std::string_view value;
        uint32_t key; // length, first and last character of the name: most different names differ here
    };
    std::vector<PlainAttribute> plainAttributes;
};

void XMLTreeBuilder::Run() {
    while (at < end) {
        if (current != nullptr)
            ReadText();
        else
            SkipOutsideElement();
        if (at == end)
            break;
        ++at; // the "<"
        if (current != nullptr) {
            if (textHasContent) {
                // Only a node of this parse (one below the depth it began at) keeps the source alive.
                SetValue(current->value, Gathered(), depth > 0 && runs.size() == 1, textHasFeed);
                ClearText();
            }
        } else if (root != nullptr) {
            Fail(XMLParser::ErrorAfterTopElement);
        }
        if (!ReadPlainTag())
            ReadTag();
    }
    if (root == nullptr)
        Fail(XMLParser::ErrorNoElement);
}

void XMLTreeBuilder::SetValue(XMLValue& value, std::string_view text, bool inPlace, bool mayHoldFeeds) {
    if (mayHoldFeeds && bareFeeds && text.find('\n') != std::string_view::npos) {
        joinedLines.clear();
        for (const char c : text) {
            if (c == '\n')
                joinedLines += '\r';
            joinedLines += c;
        }
        value.SetParsed(joinedLines);
    } else if (inPlace) {
        value.SetParsedInPlace(text);
    } else {
        value.SetParsed(text);
    }
}

void XMLTreeBuilder::ReadText() {
    // The scan works on locals: stores through the members would be repeated for every byte, since the
    // text's bytes may alias them as far as the compiler knows.
    const char* const runBegin = at;
    const char* p = at;
    bool feeds = false;
    const auto stop = [&] {
        at = p;
        textHasFeed = textHasFeed || feeds;
    };
    // Until the text has content, blank runs (most text between tags) pass in a tight loop and the first
    // other character is classified; after that only the stops matter.
    while (!textHasContent) {
        p = SkipAsciiBlanks(p, end, feeds);
        if (p == end || *p == '<') {
            stop();
            GatherRun(runBegin, p);
            return;
        }
        const auto c = static_cast<unsigned char>(*p);
        if (c == 0) {
            stop();
            Fail(XMLParser::ErrorControlCharacter);
        }
        if (c < 0x80) {
            textHasContent = true;
            break;
        }
        uint32_t value = 0;
        p += Decode(p, end, value);
        textHasContent = std::iswspace(static_cast<wint_t>(value)) == 0;
    }
    for (;;) {
        p = FindAny(p, end, '<', '\n', '\0');
        if (p == end || *p == '<')
            break;
        if (*p == 0) {
            stop();
            Fail(XMLParser::ErrorControlCharacter);
        }
        feeds = true;
        ++p;
    }
    stop();
    GatherRun(runBegin, p);
}

void XMLTreeBuilder::SkipOutsideElement() {
    while (at < end) {
        const auto c = static_cast<unsigned char>(*at);
        if (c == '<')
            return;
        if (c == 0)
            Fail(XMLParser::ErrorControlCharacter);
        if (c < 0x80) {
            if (IsAsciiGraphic(c))
                Fail(XMLParser::ErrorTextOutsideElement);
            ++at;
            continue;
        }
        uint32_t value = 0;
        const size_t length = Decode(at, end, value);
        if (std::iswgraph(static_cast<wint_t>(value)) != 0)
            Fail(XMLParser::ErrorTextOutsideElement);
        at += length;
    }
}

void XMLTreeBuilder::ReadTag() {
    // Before the tag text: a "/" makes a closing tag, a "?" a declaration; white space is skipped.
    bool closing = false;
    for (;;) {
        if (at == end)
            Fail(XMLParser::ErrorEndInsideTag);
        const auto c = static_cast<unsigned char>(*at);
        if (c == '/') {
            closing = true;
            if (current == nullptr)
                Fail(XMLParser::ErrorCloseBeforeOpen);
        } else if (c == '?') {
            ++at;
            SkipDeclaration();
            return;
        } else if (c == '>') {
            Fail(XMLParser::ErrorEmptyTag);
        } else if (c == 0) {
            Fail(XMLParser::ErrorControlCharacter);
        } else if (c < 0x80) {
            if (IsAsciiGraphic(c))
                break;
        } else {
            uint32_t value = 0;
            const size_t length = Decode(at, end, value);
            if (std::iswgraph(static_cast<wint_t>(value)) != 0)
                break;
            at += length - 1;
        }
        ++at;
    }

    if (end - at >= 3 && at[0] == '!' && at[1] == '-' && at[2] == '-') {
        SkipComment();
        return;
    }

    // The tag text runs to the first ">" outside quotes. Its first character opens no quote.
    const char* text = at;
    const char* scan = at + 1;
    char quote = 0;
    for (;;) {
        while (scan < end && !tagStops[static_cast<unsigned char>(*scan)])
            ++scan;
        if (scan == end || *scan == 0) {
            at = scan;
            Fail(scan == end ? XMLParser::ErrorEndInsideTag : XMLParser::ErrorControlCharacter);
        }
        const char c = *scan;
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            break;
        }
        ++scan;
    }
    at = scan + 1;
    if (closing)
        CloseTag(text, scan);
    else
        OpenTag(text, scan);
}

bool XMLTreeBuilder::ReadPlainTag() {
    // The tags of nearly every data file, read in one pass: "<name a='v' b=\"w\">", "<name .../>" and
    // "</name>", with names of letters, digits and "_:.-" and blanks between the parts. Anything else,
    // every error included, returns false before the parse has changed and the tag is read in full.
    // The source ends in a zero (its string's terminator), which is neither a blank nor a name character:
    // the runs of those stop at the end without a look at it.
    const char* p = at;
    const auto skipBlanks = [&] {
        while (plainBlankBytes[static_cast<unsigned char>(*p)])
            ++p;
    };
    const auto readName = [&] {
        const char* nameBegin = p;
        while (plainNameCharacters[static_cast<unsigned char>(*p)])
            ++p;
        return std::string_view(nameBegin, p - nameBegin);
    };

    if (p < end && *p == '/') {
        // The name can only be the open element's: compared in place instead of read first.
        if (current == nullptr)
            return false;
        const std::string& open = current->GetName();
        ++p;
        if (open.empty() || static_cast<size_t>(end - p) < open.size())
            return false;
        // Byte by byte: names are short, shorter than a call to compare them would take.
        for (const char c : open)
            if (*p++ != c)
                return false;
        if (p < end && plainNameCharacters[static_cast<unsigned char>(*p)])
            return false;
        skipBlanks();
        if (p == end || *p != '>')
            return false;
        at = p + 1;
        current = current->GetParent();
        --depth;
        return true;
    }

    const std::string_view name = readName();
    if (name.empty() || p == end ||
        !(plainBlankBytes[static_cast<unsigned char>(*p)] || *p == '>' || *p == '/'))
        return false;
    plainAttributes.clear();
    bool empty = false;
    bool valueFeeds = false;
    for (;;) {
        skipBlanks();
        if (p == end)
            return false;
        if (*p == '>') {
            ++p;
            break;
        }
        if (*p == '/') {
            if (p + 1 == end || p[1] != '>')
                return false;
            empty = true;
            p += 2;
            break;
        }
        const std::string_view attribute = readName();
        skipBlanks();
        if (attribute.empty() || p == end || *p != '=')
            return false;
        ++p;
        skipBlanks();
        if (p == end || (*p != '"' && *p != '\''))
            return false;
        const char quote = *p++;
        const char* value = p;
        for (;;) {
            p = FindAny(p, end, quote, '\n', '\0');
            if (p == end || *p == 0)
                return false;
            if (*p == quote)
                break;
            valueFeeds = true;
            ++p;
        }
        const uint32_t key = static_cast<uint32_t>(attribute.size()) << 16 |
                             static_cast<uint32_t>(static_cast<unsigned char>(attribute.front())) << 8 |
                             static_cast<unsigned char>(attribute.back());
        for (const PlainAttribute& earlier : plainAttributes)
            if (earlier.key == key && earlier.name == attribute)
                return false;
        plainAttributes.push_back({attribute, std::string_view(value, p - value), key});
        ++p;
    }

    // The tag is whole: the element and its attributes are made as the full reading would make them.
    at = p;
    XMLNode* parent = current;
    XMLNode* element = CreateElement(name, parent);
    if (!plainAttributes.empty()) {
        element->attributes.Reserve(plainAttributes.size(), pool);
        const bool joinLines = valueFeeds && bareFeeds;
        for (const auto& [attributeText, value, key] : plainAttributes) {
            auto* entry = new (*pool) XMLAttribute(attributeText, value);
            if (joinLines)
                SetValue(entry->value, value, true, true);
            element->attributes.PushBack(entry, pool);
        }
        element->IndexAttributes();
    }
    Enter(element, parent, empty);
    return true;
}

void XMLTreeBuilder::SkipDeclaration() {
    // Quotes mean nothing here; a text that ends first simply ends.
    for (; at < end; ++at) {
        const char c = *at;
        if (c == '>') {
            ++at;
            return;
        }
        if (c == 0)
            Fail(XMLParser::ErrorControlCharacter);
    }
}

void XMLTreeBuilder::SkipComment() {
    // A comment runs to the first "-->": quotes and ">" inside it are plain text (an apostrophe in a
    // sentence must not hide the end of the comment and everything after it).
    for (const char* p = at + 3;; ++p) {
        p = FindAny(p, end, '-', '-', '\0');
        if (p == end || *p == 0) {
            at = p;
            Fail(p == end ? XMLParser::ErrorEndInsideTag : XMLParser::ErrorControlCharacter);
        }
        if (end - p >= 3 && p[1] == '-' && p[2] == '>') {
            at = p + 3;
            ClearText();
            return;
        }
    }
}

void XMLTreeBuilder::CloseTag(const char* text, const char* textEnd) {
    while (textEnd > text && (textEnd[-1] == ' ' || (textEnd[-1] >= '\t' && textEnd[-1] <= '\r')))
        --textEnd;
    if (current == nullptr || std::string_view(text, textEnd - text) != current->GetName())
        Fail(XMLParser::ErrorCloseMismatch);
    current = current->GetParent();
    --depth;
}

void XMLTreeBuilder::OpenTag(const char* text, const char* textEnd) {
    XMLNode* parent = current;
    current = nullptr;

    // The element name: graphic characters up to the first other one; a "/" in it marks an empty element
    // and is dropped. The tag text starts with a graphic character other than "/".
    bool empty = false;
    bool slashInName = false;
    const char* t = text;
    for (;;) {
        while (t < textEnd && plainElementNameBytes[static_cast<unsigned char>(*t)])
            ++t;
        if (t == textEnd)
            break;
        const auto c = static_cast<unsigned char>(*t);
        if (c == '/') {
            empty = slashInName = true;
            ++t;
            continue;
        }
        if (c < 0x80)
            break;
        uint32_t value = 0;
        const size_t length = Decode(t, textEnd, value);
        if (std::iswgraph(static_cast<wint_t>(value)) == 0)
            break;
        t += length;
    }
    std::string_view name(text, t - text);
    if (slashInName) {
        nameBuffer.assign(name);
        nameBuffer.erase(std::remove(nameBuffer.begin(), nameBuffer.end(), '/'), nameBuffer.end());
        name = nameBuffer;
    }
    XMLNode* element = CreateElement(name, parent);

    // Attributes: name="value" or name='value'; white space outside values is dropped, also inside names.
    enum class State { Name, WaitingForValue };
    State state = State::Name;
    attributeName.clear();
    while (t < textEnd) {
        const auto c = static_cast<unsigned char>(*t);
        size_t length = 1;
        if (c >= 0x80) {
            uint32_t value = 0;
            length = Decode(t, textEnd, value);
            if (std::iswgraph(static_cast<wint_t>(value)) == 0) {
                t += length;
                continue;
            }
        } else if (!IsAsciiGraphic(c)) {
            ++t;
            continue;
        }
        if (state == State::WaitingForValue) {
            if (c != '"' && c != '\'')
                Fail(XMLParser::ErrorValueNotQuoted);
            const char* value = t + 1;
            const auto* close = static_cast<const char*>(std::memchr(value, c, textEnd - value));
            if (close == nullptr)
                Fail(XMLParser::ErrorValueNotClosed);
            AddAttribute(element, std::string_view(value, close - value));
            state = State::Name;
            t = close + 1;
        } else if (c == '=') {
            if (attributeName.empty())
                Fail(XMLParser::ErrorAttributeNoName);
            state = State::WaitingForValue;
            ++t;
        } else if (c == '/') {
            if (!attributeName.empty())
                Fail(XMLParser::ErrorSlashAfterName);
            if (t + 1 != textEnd)
                Fail(XMLParser::ErrorSlashInAttributes);
            empty = true;
            ++t;
        } else {
            const char* run = t + length;
            while (run < textEnd && plainNameBytes[static_cast<unsigned char>(*run)])
                ++run;
            attributeName.append(t, run);
            t = run;
        }
    }
    if (state == State::Name && !attributeName.empty())
        Fail(XMLParser::ErrorAttributeNoValue);
    if (state == State::WaitingForValue)
        Fail(XMLParser::ErrorValueNotClosed);

    Enter(element, parent, empty);
}

XMLNode* XMLTreeBuilder::CreateElement(std::string_view name, XMLNode* parent) {
    if (depth >= XMLParser::MaxDepth)
        Fail(XMLParser::ErrorTooDeep);
    XMLNode* element = new (*pool) XMLNode(name);
    if (parent != nullptr) {
        // The lists of the nodes this parse makes share its pool; a given root's list stays on the heap,
        // so that the root does not keep the pool alive by its list alone.
        parent->Append(element, depth > 0 ? pool : nullptr);
    } else {
        orphan = element;
    }
    return element;
}

void XMLTreeBuilder::Enter(XMLNode* element, XMLNode* parent, bool empty) {
    if (root == nullptr)
        root = element;
    orphan = nullptr;
    if (empty) {
        current = parent;
    } else {
        current = element;
        ++depth;
    }
    ClearText();
}

void XMLTreeBuilder::AddAttribute(XMLNode* element, std::string_view value) {
    if (element->FindAttribute(attributeName) != nullptr)
        Fail(XMLParser::ErrorDuplicateAttribute);
    auto* attribute = new (*pool) XMLAttribute(attributeName, value);
    if (bareFeeds)
        SetValue(attribute->value, value, true, true);
    element->attributes.PushBack(attribute, pool);
    element->IndexAttribute(attribute);
    attributeName.clear();
}

void XMLParser::Load(XMLNode* node, const std::string& fileName) {
    assert(node != nullptr && "Load adds to a node; use ParseFile with a null root for a new tree");
    XMLNode* root = node;
    ParseFile(root, fileName);
}

void XMLParser::ParseFile(XMLNode*& root, const std::string& fileName) {
    assert(FileManager::Instance() != nullptr &&
           "XML files are read through the FileManager; create it first");
    std::unique_ptr<FileTextual> file(FileManager::Instance()->OpenTextFile(fileName, 0, 0));
    ParseText(root, file.get());
}

void XMLParser::Parse(XMLNode* node, FileTextual* file) {
    assert(node != nullptr && "Parse adds to a node; use ParseText with a null root for a new tree");
    XMLNode* root = node;
    ParseText(root, file);
}

namespace {

void ParseUtf8(XMLNode*& root, std::string&& text, bool bareFeeds) {
    const bool rootWasEmpty = root == nullptr;
    XMLTreeBuilder run(root, std::move(text), bareFeeds);
    try {
        run.Run();
    } catch (const XMLFormatError& error) {
        if (rootWasEmpty) {
            delete run.TakeOrphan();
            delete root;
            root = nullptr;
        }
        throw FileError("XML format error at line " + std::to_string(error.line) + ": code " +
                        std::to_string(error.code));
    }
}

} // namespace

void XMLParser::ParseText(XMLNode*& root, FileTextual* file) {
    // Plain UTF-8 files (nearly all) are parsed as read; anything else through the wide text.
    std::string text;
    bool bareFeeds = false;
    if (!file->ReadAllPlainUtf8(text, &bareFeeds)) {
        std::wstring wide;
        file->ReadAll(wide, false);
        EncodeWide(wide, text);
    }
    ParseUtf8(root, std::move(text), bareFeeds);
}

void XMLParser::ParseText(XMLNode*& root, const std::wstring& text) {
    std::string utf8;
    EncodeWide(text, utf8);
    ParseUtf8(root, std::move(utf8), false);
}

} // namespace GameTools
