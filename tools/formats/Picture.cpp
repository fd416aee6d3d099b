#include "tools/formats/Picture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace VelmoraFormats {

Picture::Picture(uint32_t width, uint32_t height, uint32_t channels)
    : width(width), height(height), channels(channels), pixels(size_t(width) * height * channels) {
    if (channels < 1 || channels > 4)
        throw std::runtime_error("picture: channels must be 1 to 4");
}

Picture Picture::WithChannels(uint32_t newChannels) const {
    if (newChannels == channels)
        return *this;
    Picture out(width, height, newChannels);
    for (size_t p = 0; p < size_t(width) * height; ++p) {
        const uint8_t* s = &pixels[p * channels];
        uint8_t* d = &out.pixels[p * newChannels];
        uint8_t rgba[4];
        if (channels <= 2) {
            rgba[0] = rgba[1] = rgba[2] = s[0];
            rgba[3] = channels == 2 ? s[1] : 255;
        } else {
            rgba[0] = s[0];
            rgba[1] = s[1];
            rgba[2] = s[2];
            rgba[3] = channels == 4 ? s[3] : 255;
        }
        if (newChannels <= 2) {
            d[0] = channels <= 2 ? rgba[0]
                                 : uint8_t((299 * rgba[0] + 587 * rgba[1] + 114 * rgba[2] + 500) / 1000);
            if (newChannels == 2)
                d[1] = rgba[3];
        } else {
            std::copy(rgba, rgba + newChannels, d);
        }
    }
    return out;
}

Picture Picture::HalfSize() const {
    Picture out(std::max(width / 2, 1u), std::max(height / 2, 1u), channels);
    for (uint32_t y = 0; y < out.height; ++y)
        for (uint32_t x = 0; x < out.width; ++x) {
            uint32_t x0 = std::min(2 * x, width - 1), x1 = std::min(2 * x + 1, width - 1);
            uint32_t y0 = std::min(2 * y, height - 1), y1 = std::min(2 * y + 1, height - 1);
            for (uint32_t k = 0; k < channels; ++k)
                out.At(x, y)[k] =
                    uint8_t((At(x0, y0)[k] + At(x1, y0)[k] + At(x0, y1)[k] + At(x1, y1)[k] + 2) / 4);
        }
    return out;
}

void SaveFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::path file(path);
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

void PutU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

} // namespace VelmoraFormats
