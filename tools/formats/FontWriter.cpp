#include "tools/formats/FontWriter.h"

#include "tools/formats/FormatError.h"
#include "tools/formats/VersionedWriter.h"

#include <cmath>
#include <set>

namespace VbFormats {

void FontWriter::Check(const std::vector<FontGlyph>& glyphs) {
    std::set<uint16_t> codes;
    for (const FontGlyph& glyph : glyphs) {
        if (!codes.insert(glyph.code).second)
            throw FormatError("font: every character code must appear once");
        const float values[5] = {glyph.u, glyph.v, glyph.width, glyph.height, glyph.widthFactor};
        for (float value : values)
            if (!std::isfinite(value))
                throw FormatError("font: glyph values must be finite");
        if (!(glyph.widthFactor > 0))
            throw FormatError("font: width factors must be above 0");
    }
}

std::vector<uint8_t> FontWriter::Write(const std::vector<FontGlyph>& glyphs, const FontFaults& faults) {
    if (!faults.skipChecks)
        Check(glyphs);
    VersionedWriter out(faults.magic, faults.version);
    out.U32(static_cast<uint32_t>(static_cast<int64_t>(glyphs.size()) + faults.countDelta));
    for (const FontGlyph& glyph : glyphs) {
        out.U16(glyph.code);
        out.F32(glyph.u);
        out.F32(glyph.v);
        out.F32(glyph.width);
        out.F32(glyph.height);
        out.F32(glyph.widthFactor);
    }
    if (faults.truncateBy > 0) {
        std::vector<uint8_t>& bytes = out.Data();
        bytes.resize(bytes.size() > faults.truncateBy ? bytes.size() - faults.truncateBy : 0);
    }
    return out.Close(faults.sizeDelta);
}

void FontWriter::Save(const std::string& path, const std::vector<FontGlyph>& glyphs,
                      const FontFaults& faults) {
    SaveBytes(path, Write(glyphs, faults));
}

} // namespace VbFormats
