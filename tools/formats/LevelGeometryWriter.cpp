#include "tools/formats/LevelGeometryWriter.h"

#include "tools/formats/FormatError.h"
#include "tools/formats/VersionedWriter.h"

#include <algorithm>
#include <cmath>

namespace VbFormats {

namespace {

std::string BlockText(size_t index) {
    return "level geometry: block " + std::to_string(index) + ": ";
}

bool Lists(const std::vector<uint16_t>& list, size_t index) {
    return std::find(list.begin(), list.end(), static_cast<uint16_t>(index)) != list.end();
}

// Depth-first walk along the below lists; a block met again while still on the path closes a cycle.
bool HasCycleFrom(const LevelGeometry& level, size_t index, std::vector<int>& state) {
    state[index] = 1;
    for (uint16_t next : level.blocks[index].below) {
        if (state[next] == 1)
            return true;
        if (state[next] == 0 && HasCycleFrom(level, next, state))
            return true;
    }
    state[index] = 2;
    return false;
}

} // namespace

void LevelGeometryWriter::Check(const LevelGeometry& level) {
    if (level.blocks.size() > maxBlocks)
        throw FormatError("level geometry: at most " + std::to_string(maxBlocks) + " blocks");
    const size_t count = level.blocks.size();
    for (size_t i = 0; i < count; ++i) {
        const LevelBlock& block = level.blocks[i];
        if (block.type.empty() || block.type.size() > 254)
            throw FormatError(BlockText(i) + "type names have 1 to 254 characters");
        if (block.diffuseTexture >= level.textures.size() || block.opacityTexture >= level.textures.size())
            throw FormatError(BlockText(i) + "texture indices lie below the texture count");
        const size_t frames = block.animated ? level.keyFrameCount : 1;
        if (block.animated && level.keyFrameCount == 0)
            throw FormatError(BlockText(i) + "an animated block needs a key-frame count of at least 1");
        if (block.keyFrames.size() != frames)
            throw FormatError(BlockText(i) + "a still block has one key frame, an animated one the level's " +
                              std::to_string(level.keyFrameCount));
        for (const LevelKeyFrame& frame : block.keyFrames) {
            const auto& q = frame.rotation;
            if (std::fabs(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3] - 1.0f) > 1e-3f)
                throw FormatError(BlockText(i) + "rotations are unit quaternions");
        }
        for (const auto* list : {&block.below, &block.above})
            for (uint16_t other : *list)
                if (other >= count || other == i)
                    throw FormatError(BlockText(i) + "neighbour indices name another block of the level");
        for (uint16_t other : block.below)
            if (!Lists(level.blocks[other].above, i))
                throw FormatError(BlockText(i) + "rests on block " + std::to_string(other) +
                                  ", whose above list lacks it");
        for (uint16_t other : block.above)
            if (!Lists(level.blocks[other].below, i))
                throw FormatError(BlockText(i) + "carries block " + std::to_string(other) +
                                  ", whose below list lacks it");
    }
    std::vector<int> state(count, 0);
    for (size_t i = 0; i < count; ++i)
        if (state[i] == 0 && HasCycleFrom(level, i, state))
            throw FormatError("level geometry: blocks rest on each other in a cycle");
}

std::vector<uint8_t> LevelGeometryWriter::Write(const LevelGeometry& level,
                                                const LevelGeometryFaults& faults) {
    if (!faults.skipChecks)
        Check(level);
    VersionedWriter out(faults.magic, faults.version);
    out.U32(level.keyFrameCount);
    out.F32(level.animationSpeed);
    out.U32(faults.textureCount >= 0 ? static_cast<uint32_t>(faults.textureCount)
                                     : static_cast<uint32_t>(level.textures.size()));
    for (const std::string& texture : level.textures)
        out.String(texture);
    out.U32(faults.blockCount >= 0 ? static_cast<uint32_t>(faults.blockCount)
                                   : static_cast<uint32_t>(level.blocks.size()));
    for (const LevelBlock& block : level.blocks) {
        out.String(block.type);
        out.U32(block.flags);
        out.U32(block.diffuseTexture);
        out.U32(block.opacityTexture);
        for (float value : block.scale)
            out.F32(value);
        out.U8(block.animated ? faults.animatedByte : 0);
        for (const LevelKeyFrame& frame : block.keyFrames) {
            for (float value : frame.position)
                out.F32(value);
            for (float value : frame.rotation)
                out.F32(value);
        }
    }
    for (const LevelBlock& block : level.blocks)
        for (const auto* list : {&block.below, &block.above}) {
            out.U16(static_cast<uint16_t>(list->size()));
            for (uint16_t index : *list)
                out.U16(index);
        }
    out.Truncate(faults.truncateBy);
    return out.Close(faults.sizeDelta);
}

void LevelGeometryWriter::Save(const std::string& path, const LevelGeometry& level,
                               const LevelGeometryFaults& faults) {
    SaveBytes(path, Write(level, faults));
}

} // namespace VbFormats
