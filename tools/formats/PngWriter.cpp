#include "tools/formats/PngWriter.h"

#include <png.h>

#include <map>
#include <stdexcept>

namespace VelmoraFormats {

namespace {

void WriteToVector(png_structp png, png_bytep bytes, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), bytes, bytes + length);
}

void FlushNothing(png_structp) {}

// Packs samples of the given depth (below 8) into bytes, first sample in the high bits.
void PackSamples(const std::vector<uint32_t>& samples, int depth, std::vector<uint8_t>& row) {
    row.assign((samples.size() * depth + 7) / 8, 0);
    for (size_t i = 0; i < samples.size(); ++i) {
        size_t bit = i * depth;
        row[bit / 8] |= uint8_t(samples[i] << (8 - depth - bit % 8));
    }
}

struct PngEncoding {
    uint32_t width, height;
    int depth, colourType;
    bool interlaced, palette, anyTransparent;
    std::vector<png_color>* colours;
    std::vector<png_byte>* alphas;
    png_bytep* rows;
};

// Kept apart so that no local of the caller lives across the library's long jump.
bool Encode(png_structp png, png_infop info, const PngEncoding& e, std::vector<uint8_t>* out) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, WriteToVector, FlushNothing);
    png_set_IHDR(png, info, e.width, e.height, e.depth, e.colourType,
                 e.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (e.palette) {
        png_set_PLTE(png, info, e.colours->data(), int(e.colours->size()));
        if (e.anyTransparent)
            png_set_tRNS(png, info, e.alphas->data(), int(e.alphas->size()), nullptr);
    }
    png_write_info(png, info);
    png_write_image(png, e.rows);
    png_write_end(png, info);
    return true;
}

} // namespace

std::vector<uint8_t> WritePng(const Picture& picture, const PngOptions& options) {
    const int depth = options.bitDepth;
    int colourType = 0, channels = 0;
    switch (options.colour) {
    case PngColour::Grey:
        colourType = PNG_COLOR_TYPE_GRAY, channels = 1;
        if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16)
            throw std::runtime_error("png: grey depth must be 1, 2, 4, 8 or 16");
        break;
    case PngColour::Palette:
        colourType = PNG_COLOR_TYPE_PALETTE, channels = 4;
        if (depth != 1 && depth != 2 && depth != 4 && depth != 8)
            throw std::runtime_error("png: palette depth must be 1, 2, 4 or 8");
        break;
    case PngColour::GreyAlpha:
    case PngColour::RGB:
    case PngColour::RGBA:
        colourType = options.colour == PngColour::GreyAlpha ? PNG_COLOR_TYPE_GRAY_ALPHA
                     : options.colour == PngColour::RGB     ? PNG_COLOR_TYPE_RGB
                                                            : PNG_COLOR_TYPE_RGB_ALPHA;
        channels = options.colour == PngColour::GreyAlpha ? 2 : options.colour == PngColour::RGB ? 3 : 4;
        if (depth != 8 && depth != 16)
            throw std::runtime_error("png: depth must be 8 or 16");
        break;
    }
    const Picture source = picture.WithChannels(channels);

    // Palette: the picture's distinct RGBA colours in order of value.
    std::map<uint32_t, uint32_t> palette;
    if (options.colour == PngColour::Palette) {
        for (size_t p = 0; p < source.pixels.size(); p += 4) {
            const uint8_t* c = &source.pixels[p];
            palette.emplace(uint32_t(c[0]) << 24 | uint32_t(c[1]) << 16 | uint32_t(c[2]) << 8 | c[3], 0);
        }
        if (palette.size() > (1u << depth))
            throw std::runtime_error("png: too many colours for the palette depth");
        uint32_t index = 0;
        for (auto& entry : palette)
            entry.second = index++;
    }

    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        throw std::runtime_error("png: cannot create the writer");
    }
    // Rows live outside the setjmp scope so that a library error cannot skip their destructors.
    std::vector<std::vector<uint8_t>> rows(source.height);
    for (uint32_t y = 0; y < source.height; ++y) {
        std::vector<uint8_t>& row = rows[y];
        const uint8_t* pixels = source.At(0, y);
        const size_t samples = size_t(source.width) * channels;
        if (options.colour == PngColour::Palette) {
            std::vector<uint32_t> indices(source.width);
            for (uint32_t x = 0; x < source.width; ++x) {
                const uint8_t* c = pixels + 4 * x;
                indices[x] =
                    palette.at(uint32_t(c[0]) << 24 | uint32_t(c[1]) << 16 | uint32_t(c[2]) << 8 | c[3]);
            }
            if (depth == 8)
                row.assign(indices.begin(), indices.end());
            else
                PackSamples(indices, depth, row);
        } else if (depth < 8) {
            std::vector<uint32_t> values(pixels, pixels + samples);
            for (uint32_t& v : values)
                v >>= 8 - depth;
            PackSamples(values, depth, row);
        } else if (depth == 16) {
            for (size_t i = 0; i < samples; ++i) {
                row.push_back(pixels[i]);
                row.push_back(pixels[i]);
            }
        } else {
            row.assign(pixels, pixels + samples);
        }
    }
    std::vector<png_bytep> rowPointers(source.height);
    for (uint32_t y = 0; y < source.height; ++y)
        rowPointers[y] = rows[y].data();
    std::vector<png_color> colours;
    std::vector<png_byte> alphas;
    bool anyTransparent = false;
    for (const auto& [rgba, index] : palette) {
        colours.push_back(png_color{png_byte(rgba >> 24), png_byte(rgba >> 16), png_byte(rgba >> 8)});
        alphas.push_back(png_byte(rgba));
        anyTransparent = anyTransparent || png_byte(rgba) != 255;
    }

    const PngEncoding encoding{source.width,      source.height,      depth,
                               colourType,        options.interlaced, options.colour == PngColour::Palette,
                               anyTransparent,    &colours,           &alphas,
                               rowPointers.data()};
    const bool written = Encode(png, info, encoding, &out);
    png_destroy_write_struct(&png, &info);
    if (!written)
        throw std::runtime_error("png: libpng failed to write");
    return out;
}

} // namespace VelmoraFormats
