// The program's icon, drawn rather than stored: a lit ball resting above a bat on a dark rounded tile. The
// executable carries it as its window icon (resource 101, the raw image form the platform reads: u32 width,
// u32 height, RGBA rows); the installation puts a larger copy as PNG into the desktop's icon folder.
#pragma once

#include "tools/formats/Picture.h"
#include "tools/gen/ExeResources.h"

#include <cstdint>

namespace VbGen {

constexpr uint32_t ProgramIconId = 101;

// A size × size RGBA picture; the same size always gives the same pixels.
VelmoraFormats::Picture ProgramIconPicture(uint32_t size);
// The window icon resource, 64 × 64.
ExeResource ProgramIconResource();
// Writes binDir/velmora-ball.png (128 × 128) when its bytes change; returns how many files were written.
int WriteProgramIconPng(const std::string& binDir);

} // namespace VbGen
