// Helpers of the image tests: files over bytes held in memory, pixels of bottom-up Images, and writing an
// Image back as a PNG under $VB_TEST_OUTPUT for a person to look at.
#pragma once

#include "engine/files/FileBinary.h"
#include "engine/graphics/Image.h"
#include "tools/formats/PngWriter.h"

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

inline void SaveForViewing(const OrvexEngine::Image& image, const std::string& fileName) {
    const char* folder = std::getenv("VB_TEST_OUTPUT");
    if (folder == nullptr || image.data == nullptr)
        return;
    VelmoraFormats::SaveFile(
        std::string(folder) + "/images/" + fileName,
        VelmoraFormats::WritePng(ToPicture(image), {VelmoraFormats::PngColour::RGBA, 8, false}));
}

} // namespace VelmoraTest
