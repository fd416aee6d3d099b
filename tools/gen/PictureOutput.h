// Writing a painted canvas into the staged tree as a picture file. Shared by the recipes that paint their
// pictures on a canvas.
#pragma once

#include "tools/assets/Canvas.h"
#include "tools/gen/OutputTree.h"

#include <string>

namespace VbGen {

// An 8-bit PNG with alpha (RGBA) or without (RGB); name is a data name with its extension.
void WritePng(OutputTree& out, const std::string& name, const VbAssets::Canvas& canvas, bool alpha);
// A DXT1 DDS with its mip-maps.
void WriteDxt1(OutputTree& out, const std::string& name, const VbAssets::Canvas& canvas);

} // namespace VbGen
