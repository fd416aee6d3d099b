#include "tools/gen/PictureOutput.h"

#include "tools/formats/DdsWriter.h"
#include "tools/formats/PngWriter.h"

namespace VbGen {

void WritePng(OutputTree& out, const std::string& name, const VbAssets::Canvas& canvas, bool alpha) {
    VelmoraFormats::PngOptions options;
    options.colour = alpha ? VelmoraFormats::PngColour::RGBA : VelmoraFormats::PngColour::RGB;
    out.Write(name, VelmoraFormats::WritePng(canvas.ToPicture(alpha ? 4 : 3), options));
}

void WriteDxt1(OutputTree& out, const std::string& name, const VbAssets::Canvas& canvas) {
    VelmoraFormats::DdsOptions options;
    options.format = VelmoraFormats::DdsFormat::DXT1;
    options.mipMaps = true;
    out.Write(name, VelmoraFormats::WriteDds(canvas.ToPicture(4), options));
}

} // namespace VbGen
