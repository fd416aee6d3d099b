// The text of an XML attribute or element, kept narrow, wide or both: the parser stores wide text, code
// that builds trees stores narrow text, and each form is converted from the other once, on first demand.
// A plain value owned by its node or attribute; many instances.
#pragma once

#include "engine/math/Vector.h"

#include <cstdint>
#include <string>

namespace GameTools {

class XMLValue {
public:
    XMLValue() = default;
    explicit XMLValue(const std::wstring& text) { SetWide(text); }
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
    int32_t mode = ModeBoth;
    std::string narrow; // current in ModeNarrow and ModeBoth
    std::wstring wide;  // current in ModeWide and ModeBoth
};

} // namespace GameTools
