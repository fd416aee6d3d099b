// Helpers of the image tests: files over bytes held in memory, pixels of bottom-up Images, and writing an
// Image back as a PNG under $VB_TEST_OUTPUT for a person to look at.
#pragma once

#include "engine/files/FileBinary.h"
#include "engine/graphics/Image.h"
#include "tools/formats/PngWriter.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace VelmoraTest {

// A file over the bytes, which must outlive it; the file does not free them.
inline OrvexEngine::FileBinary* MemoryFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    return new OrvexEngine::FileBinary(name, false, 0, uint32_t(bytes.size()), bytes.data(), false);
}

// The bytes of pixel (x, y) with y counted from the bottom row.
inline std::vector<uint8_t> PixelAt(const OrvexEngine::Image& image, uint32_t x, uint32_t y) {
    const uint8_t* p = image.Row(y) + size_t(x) * image.BytesPerPixel();
    return std::vector<uint8_t>(p, p + image.BytesPerPixel());
}

// The Image as a top-row-first picture (8, 24 or 32 bits).
inline VelmoraFormats::Picture ToPicture(const OrvexEngine::Image& image) {
    VelmoraFormats::Picture picture(image.width, image.height, image.BytesPerPixel());
    for (uint32_t y = 0; y < image.height; ++y)
        for (uint32_t x = 0; x < image.width; ++x) {
            std::vector<uint8_t> p = PixelAt(image, x, image.height - 1 - y);
            std::copy(p.begin(), p.end(), picture.At(x, y));
        }
    return picture;
}

// A picture a person can check at a glance: a colour gradient (red grows to the right, green to the top),
// a white arrow pointing up in the upper half, a blue disc at the top left, and alpha falling to the bottom.
inline VelmoraFormats::Picture SamplePicture(uint32_t w = 96, uint32_t h = 64) {
    VelmoraFormats::Picture picture(w, h, 4);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            uint8_t* p = picture.At(x, y);
            p[0] = uint8_t(255 * x / (w - 1));
            p[1] = uint8_t(255 * (h - 1 - y) / (h - 1));
            p[2] = 64;
            p[3] = uint8_t(255 - 191 * y / (h - 1));
            const int dx = int(x) - int(w) / 6, dy = int(y) - int(h) / 5;
            if (dx * dx + dy * dy < int(h * h / 64)) {
                p[0] = 0;
                p[1] = 0;
                p[2] = 255;
                p[3] = 255;
            }
            const int cx = int(w) / 2, top = int(h) / 8, tip = int(h) / 3;
            const int ax = std::abs(int(x) - cx);
            const bool head = int(y) >= top && int(y) < tip && ax <= int(y) - top;
            const bool shaft = int(y) >= tip && int(y) < int(h) / 2 && ax <= int(w) / 32;
            if (head || shaft) {
                p[0] = p[1] = p[2] = 255;
                p[3] = 255;
            }
        }
    return picture;
}

inline void SaveForViewing(const OrvexEngine::Image& image, const std::string& fileName) {
    const char* folder = std::getenv("VB_TEST_OUTPUT");
    if (folder == nullptr || image.data == nullptr)
        return;
    VelmoraFormats::SaveFile(
        std::string(folder) + "/images/" + fileName,
        VelmoraFormats::WritePng(ToPicture(image), {VelmoraFormats::PngColour::RGBA, 8, false}));
}

} // namespace VelmoraTest
