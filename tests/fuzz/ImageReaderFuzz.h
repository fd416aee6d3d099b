// The body the image-reader fuzz targets share: runs one `Image` reader over arbitrary bytes, header only
// and with pixel data. The reader must fail with a FileError or leave an image whose buffer matches its size.
#pragma once

#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"
#include "engine/graphics/Image.h"

#include <cstddef>
#include <cstdint>
#include <string>

using ImageReader = void (OrvexEngine::Image::*)(OrvexEngine::FileBinary&, const std::string&, bool);

inline int FuzzImageReader(const uint8_t* data, size_t size, ImageReader read, const std::string& name) {
    static const uint8_t none = 0;
    if (size > UINT32_MAX)
        return 0;
    for (bool readData : {false, true}) {
        try {
            OrvexEngine::FileBinary file(name, false, 0, uint32_t(size), size != 0 ? data : &none, false);
            OrvexEngine::Image image;
            (image.*read)(file, name, readData);
            if (image.data != nullptr &&
                image.size != uint64_t(image.width) * image.height * image.BytesPerPixel())
                __builtin_trap();
        } catch (const OrvexEngine::FileError&) {
        }
    }
    return 0;
}
