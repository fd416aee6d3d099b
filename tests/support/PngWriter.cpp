#include "tests/support/PngWriter.h"

#include "engine/graphics/Image.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace VelmoraTest {

bool WritePng(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgba) {
    if (rgba.size() < static_cast<size_t>(width) * height * 4)
        return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool ok = png != nullptr && info != nullptr;
    if (ok && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (uint32_t y = 0; y < height; ++y)
            png_write_row(png, rgba.data() + static_cast<size_t>(y) * width * 4);
        png_write_end(png, nullptr);
    } else {
        ok = false;
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return ok;
}

bool WritePng(const std::string& path, const OrvexEngine::Image& capture) {
    std::vector<uint8_t> rgba(size_t(capture.width) * capture.height * 4);
    for (uint32_t y = 0; y < capture.height; ++y)
        for (uint32_t x = 0; x < capture.width; ++x) {
            const uint8_t* p = capture.Row(capture.height - 1 - y) + x * capture.BytesPerPixel();
            uint8_t* q = &rgba[(size_t(y) * capture.width + x) * 4];
            q[0] = p[0];
            q[1] = p[1];
            q[2] = p[2];
            q[3] = 255;
        }
    return WritePng(path, capture.width, capture.height, rgba);
}

std::string TestOutputPath(const std::string& name) {
    const char* folder = std::getenv("VB_TEST_OUTPUT");
    std::filesystem::path root = folder != nullptr ? folder : ".";
    std::error_code ignored;
    std::filesystem::create_directories(root, ignored);
    return (root / name).string();
}

} // namespace VelmoraTest
