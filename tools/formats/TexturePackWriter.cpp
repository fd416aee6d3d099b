#include "tools/formats/TexturePackWriter.h"

#include "tools/formats/FormatError.h"
#include "tools/formats/VersionedWriter.h"

#include <set>

namespace VbFormats {

void TexturePackWriter::Check(const std::vector<TexturePackTexture>& textures) {
    if (textures.empty())
        throw FormatError("texture pack: at least one texture");
    std::set<std::string> names;
    for (const TexturePackTexture& texture : textures)
        if (!names.insert(texture.name).second)
            throw FormatError("texture pack: texture names are unique: " + texture.name);
}

std::vector<uint8_t> TexturePackWriter::Write(const std::vector<TexturePackTexture>& textures,
                                              const TexturePackFaults& faults) {
    if (!faults.skipChecks)
        Check(textures);
    VersionedWriter out(faults.magic, faults.version);
    out.U32(faults.textureCount >= 0 ? static_cast<uint32_t>(faults.textureCount)
                                     : static_cast<uint32_t>(textures.size()));
    for (size_t i = 0; i < textures.size(); ++i) {
        const TexturePackTexture& texture = textures[i];
        out.String(texture.name);
        out.U32(static_cast<int32_t>(i) == faults.badFrameCount
                    ? faults.badFrames
                    : static_cast<uint32_t>(texture.frames.size()));
        for (const TexturePackFrameRecord& frame : texture.frames) {
            out.U32(frame.number);
            for (const auto* pair : {&frame.first, &frame.second, &frame.third}) {
                out.F32((*pair)[0]);
                out.F32((*pair)[1]);
            }
        }
    }
    out.Truncate(faults.truncateBy);
    return out.Close(faults.sizeDelta);
}

void TexturePackWriter::Save(const std::string& path, const std::vector<TexturePackTexture>& textures,
                             const TexturePackFaults& faults) {
    SaveBytes(path, Write(textures, faults));
}

} // namespace VbFormats
