// Writes JPEG files through libjpeg: grey (1 channel), colour (3) or CMYK (4 channels taken as they are),
// baseline or progressive.
#pragma once

#include "tools/formats/Picture.h"

namespace VelmoraFormats {

struct JpegOptions {
    int quality = 90;
    bool progressive = false;
};

// The picture's channel count chooses the kind: 1 grey, 3 colour, 4 CMYK (2 is written as grey).
std::vector<uint8_t> WriteJpeg(const Picture& picture, const JpegOptions& options = {});

} // namespace VelmoraFormats
