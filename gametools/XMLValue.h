// The text of an XML attribute or element, kept narrow, wide or both: the parser stores wide text, code
// that builds trees stores narrow text, and each form is converted from the other once, on first demand.
// The parser's text counts as wide but is kept as the UTF-8 it was read as until the wide form is asked
// for: most values are only ever read as numbers or narrow names. Until it is first read the parser's text
// is not even copied: the value points into the document's source text, which lives as long as any node
// of the document (see XMLNodePool). A plain value owned by its node or attribute; many instances.
#pragma once

#include "engine/math/Vector.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace GameTools {

class XMLValue {
public:
    XMLValue() = default;
    explicit XMLValue(const std::wstring& text) { SetWide(text); }
    XMLValue(const XMLValue& other);
    XMLValue& operator=(const XMLValue& other);
    virtual ~XMLValue() = default;

    void SetWide(const std::wstring& text);
    void SetNarrow(const std::string& text);

    // Not const: the first call after a change of form converts and keeps the result.
    const std::string& AsString();
    const std::wstring& AsWideString();

    // Text that is not a number reads as 0; "true" is not a number, so AsBool("true") is false.
    float AsFloat() const;
    int32_t AsInt() const;
    bool AsBool() const;

    // Fills up to count slots (count >= 1) from a list of numbers separated by anything that is not a
    // letter, a digit, "+", "-" or "."; slots past the last number keep what the caller put there.
    void GetFloats(float* out, uint32_t count) const;
    void GetInts(int32_t* out, uint32_t count) const;
    OrvexEngine::Vec4 GetFloat4() const;
    OrvexEngine::Vec2 GetFloat2() const;
    OrvexEngine::Vec2i GetInt2() const;

    static constexpr int32_t ModeNarrow = 0;
    static constexpr int32_t ModeWide = 1;
    static constexpr int32_t ModeBoth = 2;
    int32_t GetMode() const { return mode; }

private:
    friend class XMLTreeBuilder;
    friend struct XMLAttribute;
    // Parsed text: wide by mode, held as valid UTF-8 (without zero characters) in narrow.
    void SetParsed(std::string_view utf8);
    // A value made with parsed text in place (see SetParsedInPlace).
    struct InSource {};
    XMLValue(InSource, std::string_view utf8)
        : source(utf8.data()), sourceLength(static_cast<uint32_t>(utf8.size())), mode(ModeWide),
          widePending(true) {}
    // The same without a copy, for a value inside a node or attribute of the pool that keeps the text.
    void SetParsedInPlace(std::string_view utf8) {
        narrow.clear();
        source = utf8.data();
        sourceLength = static_cast<uint32_t>(utf8.size());
        mode = ModeWide;
        widePending = true;
    }
    // The narrow text, copied out of the document's source first when it is still there.
    const std::string& Narrow() const;
    // The text the narrow form holds or will hold, without copying it.
    std::string_view NarrowView() const {
        return source != nullptr ? std::string_view(source, sourceLength) : std::string_view(narrow);
    }
    // True when the numeric conversions read the wide text: it is current and not plain ASCII (pending
    // text is widened here first), in which case both forms would read alike.
    bool ReadsWide() const;

    // The wide text, made when first needed: most values never have one.
    std::wstring& Wide() const;

    // current in ModeNarrow and ModeBoth, and while widePending (unless the text is still in the source)
    mutable std::string narrow;
    // Pending parsed text not copied yet (then narrow is empty): not owned, kept by the document's pool.
    mutable const char* source = nullptr;
    // current in ModeWide and ModeBoth unless widePending; null while empty
    mutable std::unique_ptr<std::wstring> wide;
    mutable uint32_t sourceLength = 0;
    // Small fields last, packed together: a parsed document has a value per node and per attribute.
    uint8_t mode = ModeBoth;
    // Mode 1 with the wide text not made yet: narrow holds it as UTF-8 instead.
    mutable bool widePending = false;
};

} // namespace GameTools
