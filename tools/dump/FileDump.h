// Prints one of the game's binary files in readable form: the 13-byte versioned header every format shares,
// then the records of the formats the dump knows (packs, models, materials, particle systems, level geometry,
// fields and the stage map so far; a new format is one entry in the table of FileDump.cpp). An executable
// with a pack appended is recognised by its trailer and its pack is dumped. Used by vb_dump; stateless
// functions.
#pragma once

#include "tools/dump/ByteCursor.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace VbDump {

struct VersionedHeader {
    uint32_t totalSize = 0;
    std::string magic; // 5 characters
    uint32_t version = 0;
};

// The header at 'start'; throws DumpError when the bytes end first.
VersionedHeader ReadHeader(const std::vector<uint8_t>& bytes, size_t start);

// Prints the file and returns true when it is sound; prints what is wrong and returns false when it is not
// (a broken file is dumped as far as its bytes can be trusted).
bool DumpFile(const std::string& name, const std::vector<uint8_t>& bytes, std::FILE* out);

// The pack starting at 'base' with 'size' bytes (its whole extent, header included). Throws DumpError.
// Returns the number of problems the engine would trip over (the dump still lists them).
int DumpPack(const std::vector<uint8_t>& bytes, size_t base, size_t size, std::FILE* out);

// The material at 'base' ("OESRF"): flags, colours, values, blend codes and each texture stage.
int DumpMaterial(const std::vector<uint8_t>& bytes, size_t base, size_t size, std::FILE* out);

// The model at 'base' ("OEMLF"): flags, animation, bones, counts, index range, vertex extents per frame
// checked against the stored boxes, skin influences and the bounds.
int DumpModel(const std::vector<uint8_t>& bytes, size_t base, size_t size, std::FILE* out);

// The particle system at 'base' ("OEPSF" 203 or 204): switches, the six-key tables and the emission box.
int DumpParticles(const std::vector<uint8_t>& bytes, size_t base, size_t size, std::FILE* out);

// The level geometry at 'base' ("VBVBG" 105): key frames, textures, every block with its key frames and
// its neighbour lists, with the indices the game would trip over marked.
int DumpLevelGeometry(const std::vector<uint8_t>& bytes, size_t base, size_t size, std::FILE* out);

// The field at 'base' ("VBVBF" 100): every wall's local box and transform; the count checked against the
// size.
int DumpField(const std::vector<uint8_t>& bytes, size_t base, size_t size, std::FILE* out);

// The stage map at 'base' ("GFGMF" 100): every icon's type, the level it stands for and its position.
int DumpStageMap(const std::vector<uint8_t>& bytes, size_t base, size_t size, std::FILE* out);

// Text with bytes outside printable ASCII written as \xNN.
std::string Printable(const std::string& text);

} // namespace VbDump
