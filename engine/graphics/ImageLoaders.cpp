// The file readers of Image: BMP and TGA of our own, PNG and JPEG through their libraries fed from the
// engine's files. Every reader checks the sizes a file declares against the file before allocating.
#include "engine/graphics/Image.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"
#include "engine/files/FilePaths.h"
#include "engine/graphics/ImageFileErrors.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <memory>
#include <png.h>
#include <vector>

namespace OrvexEngine {

namespace {

uint32_t LoadU16(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8;
}

uint32_t LoadU32(const uint8_t* bytes) {
    return LoadU16(bytes) | LoadU16(bytes + 2) << 16;
}

uint64_t RemainingBytes(const FileBinary& file) {
    return file.GetSize() - file.GetPosition();
}

// ---- TGA ----

// Expands run-length packets into exactly expected bytes; a last packet that runs past the end is cut.
// Data that end before the picture is complete make the file incorrect.
void ExpandRunLength(const uint8_t* data, size_t available, uint32_t bytesPerPixel, std::vector<uint8_t>& out,
                     size_t expected, const std::string& name) {
    out.resize(expected);
    size_t produced = 0, read = 0;
    while (produced < expected) {
        if (read >= available)
            ThrowIncorrectFormat(name);
        const uint8_t header = data[read++];
        const size_t count = (header & 0x7F) + 1;
        const size_t bytes = std::min(count * bytesPerPixel, expected - produced);
        if (header & 0x80) {
            if (available - read < bytesPerPixel)
                ThrowIncorrectFormat(name);
            for (size_t i = 0; i < bytes; ++i)
                out[produced + i] = data[read + i % bytesPerPixel];
            read += bytesPerPixel;
        } else {
            if (available - read < count * bytesPerPixel)
                ThrowIncorrectFormat(name);
            std::memcpy(&out[produced], data + read, bytes);
            read += count * bytesPerPixel;
        }
        produced += bytes;
    }
}

// ---- PNG ----

struct PngRead {
    FileBinary* file = nullptr;
    Image* image = nullptr;
    bool readData = false;
    png_bytep* rows = nullptr; // owned; freed by the caller whatever happens
};

void PngReadCallback(png_structp png, png_bytep destination, png_size_t length) {
    auto* file = static_cast<FileBinary*>(png_get_io_ptr(png));
    uint32_t count = 0;
    if (length > UINT32_MAX || (file->Read(destination, uint32_t(length), &count), count != length))
        png_error(png, "Read Error");
}

// The library reports through these instead of the standard error stream; the loader logs the failure.
void PngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

// Kept apart from the caller so that no object with a destructor lives across the library's long jump.
bool DecodePng(png_structp png, png_infop info, PngRead& state) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, state.file, PngReadCallback);
    png_set_user_limits(png, maxImageFileSide, maxImageFileSide);
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colourType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, &interlace, nullptr, nullptr);
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, &interlace, nullptr, nullptr);
    const uint32_t bits = (colourType & PNG_COLOR_MASK_ALPHA)   ? 32
                          : (colourType & PNG_COLOR_MASK_COLOR) ? 24
                                                                : 8;
    // The rows libpng will write must be exactly the image's rows.
    if (bitDepth != 8 || png_get_rowbytes(png, info) != size_t(width) * bits / 8)
        png_error(png, "Unexpected row layout");
    state.image->Create(width, height, bits, state.readData);
    if (!state.readData)
        return true;
    state.rows = new png_bytep[height];
    for (uint32_t i = 0; i < height; ++i)
        state.rows[i] = state.image->Row(height - 1 - i);
    png_read_image(png, state.rows);
    png_read_end(png, nullptr);
    return true;
}

// ---- JPEG ----

constexpr size_t jpegBufferBytes = 4096;

struct JpegSourceManager {
    jpeg_source_mgr manager; // the library's fields and callbacks; first, so the library's pointer is ours
    FileBinary* file;        // the file read as a stream; null when it has a memory image
    JOCTET* buffer;          // 4096 bytes from the decompressor's permanent pool (stream)
    const JOCTET* memory;    // the current read pointer into the memory image
    uint32_t position;       // read position within the memory image
    uint32_t size;           // bytes of the memory image from where reading started
    JOCTET endOfImage[2];    // the marker handed out when the data run out
    bool startOfFile;
};

void JpegInitSource(j_decompress_ptr info) {
    reinterpret_cast<JpegSourceManager*>(info->src)->startOfFile = true;
}

boolean JpegFillInputBuffer(j_decompress_ptr info) {
    auto* source = reinterpret_cast<JpegSourceManager*>(info->src);
    uint32_t n = jpegBufferBytes;
    if (source->file != nullptr) {
        source->file->Read(source->buffer, jpegBufferBytes, &n);
        if (n > 0)
            source->manager.next_input_byte = source->buffer;
    } else {
        if (source->size - source->position < n)
            n = source->size - source->position;
        if (n > 0) {
            source->manager.next_input_byte = source->memory;
            source->memory += n;
            source->position += n;
        }
    }
    if (n > 0) {
        source->manager.bytes_in_buffer = n;
    } else {
        // Data that end without the end-of-image marker: the library finishes as if it were there.
        source->manager.next_input_byte = source->endOfImage;
        source->manager.bytes_in_buffer = 2;
    }
    source->startOfFile = false;
    return TRUE;
}

void JpegSkipInputData(j_decompress_ptr info, long count) {
    if (count <= 0)
        return;
    jpeg_source_mgr* source = info->src;
    while (count > long(source->bytes_in_buffer)) {
        count -= long(source->bytes_in_buffer);
        JpegFillInputBuffer(info);
    }
    source->next_input_byte += count;
    source->bytes_in_buffer -= size_t(count);
}

void JpegTermSource(j_decompress_ptr) {}

void JpegSetSource(j_decompress_ptr info, FileBinary* file) {
    const uint8_t* image = file->GetMemoryImage();
    if (info->src == nullptr) {
        auto* source = static_cast<JpegSourceManager*>(
            (*info->mem->alloc_small)(j_common_ptr(info), JPOOL_PERMANENT, sizeof(JpegSourceManager)));
        std::memset(source, 0, sizeof(JpegSourceManager));
        if (image != nullptr) {
            source->memory = image + file->GetPosition();
            source->position = 0;
            source->size = file->GetSize() - file->GetPosition();
        } else {
            source->buffer = static_cast<JOCTET*>(
                (*info->mem->alloc_small)(j_common_ptr(info), JPOOL_PERMANENT, jpegBufferBytes));
        }
        source->endOfImage[0] = 0xFF;
        source->endOfImage[1] = JPEG_EOI;
        info->src = &source->manager;
    }
    auto* source = reinterpret_cast<JpegSourceManager*>(info->src);
    source->file = image == nullptr ? file : nullptr;
    source->manager.init_source = JpegInitSource;
    source->manager.fill_input_buffer = JpegFillInputBuffer;
    source->manager.skip_input_data = JpegSkipInputData;
    source->manager.resync_to_restart = jpeg_resync_to_restart;
    source->manager.term_source = JpegTermSource;
    source->manager.bytes_in_buffer = 0;
    source->manager.next_input_byte = nullptr;
}

// libjpeg's standard handler ends the process on a corrupt file; this one returns to the loader instead.
struct JpegErrorTrap {
    jpeg_error_mgr manager; // first, so the library's pointer is ours
    std::jmp_buf jump;
};

void JpegErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrorTrap*>(info->err)->jump, 1);
}

void JpegOutputMessage(j_common_ptr) {}

enum class JpegResult { Done, LibraryError, Incorrect, Unsupported };

// Kept apart from the caller so that no object with a destructor lives across the long jump.
JpegResult DecodeJpeg(jpeg_decompress_struct& info, JpegErrorTrap& trap, FileBinary& file, Image& image,
                      bool readData) {
    if (setjmp(trap.jump))
        return JpegResult::LibraryError;
    jpeg_create_decompress(&info);
    JpegSetSource(&info, &file);
    jpeg_read_header(&info, TRUE);
    if (uint64_t(info.image_width) * info.image_height == 0 || info.image_width > maxImageFileSide ||
        info.image_height > maxImageFileSide)
        return JpegResult::Incorrect;
    jpeg_calc_output_dimensions(&info);
    const int components = info.num_components;
    // Each output pixel must be exactly one Image pixel.
    if ((components != 1 && components != 3 && components != 4) || info.output_components != components)
        return JpegResult::Unsupported;
    image.Create(info.image_width, info.image_height, 8 * uint32_t(components), readData);
    if (!readData)
        return JpegResult::Done;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.Row(image.height - 1 - info.output_scanline);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return JpegResult::Done;
}

// A reader that fails leaves the image empty, whatever it held before.
template <class Read> void ReleasingOnFailure(Image& image, Read read) {
    try {
        read();
    } catch (...) {
        image.Release();
        throw;
    }
}

} // namespace

bool Image::Load(const std::string& name, bool readData) {
    const std::string extension = ToLowerCopy(GetExtension(name));
    if (extension == "bmp")
        return LoadBMP(name, readData);
    if (extension == "tga")
        return LoadTGA(name, readData);
    if (extension == "jpg" || extension == "jpeg")
        return LoadJPEG(name, readData);
    if (extension == "png")
        return LoadPNG(name, readData);
    Log()->Error("Unknown \"" + name + "\" image file type");
    return false;
}

bool Image::LoadBMP(const std::string& name, bool readData) {
    return LoadWith(&Image::ReadBMP, name, readData);
}

bool Image::LoadTGA(const std::string& name, bool readData) {
    return LoadWith(&Image::ReadTGA, name, readData);
}

bool Image::LoadPNG(const std::string& name, bool readData) {
    return LoadWith(&Image::ReadPNG, name, readData);
}

bool Image::LoadJPEG(const std::string& name, bool readData) {
    return LoadWith(&Image::ReadJPEG, name, readData);
}

bool Image::LoadWith(void (Image::*reader)(FileBinary&, const std::string&, bool), const std::string& name,
                     bool readData) {
    try {
        std::unique_ptr<FileBinary> file(FileManager::Instance()->OpenFile(name, false, 0));
        (this->*reader)(*file, name, readData);
        return true;
    } catch (const FileError& error) {
        Log()->Error(error.GetText());
        Release();
        return false;
    }
}

void Image::ReadBMP(FileBinary& file, const std::string& name, bool readData) {
    ReleasingOnFailure(*this, [&] { ReadBMPData(file, name, readData); });
}

void Image::ReadBMPData(FileBinary& file, const std::string& name, bool readData) {
    uint8_t header[54];
    file.Read(header, sizeof(header));
    if (LoadU16(header) != 0x4D42)
        ThrowIncorrectFormat(name);
    const int32_t fileWidth = int32_t(LoadU32(header + 18));
    const int32_t fileHeight = int32_t(LoadU32(header + 22));
    const uint32_t bitCount = LoadU16(header + 28);
    const uint32_t compression = LoadU32(header + 30);
    // Top-down bitmaps (negative heights) and bit counts other than 8, 24 and 32 are not read; declared
    // sizes are checked before anything is allocated for them.
    if (fileHeight < 0 || (bitCount != 8 && bitCount != 24 && bitCount != 32))
        ThrowUnsupportedFormat(name);
    if (fileWidth <= 0 || fileHeight == 0 || uint32_t(fileWidth) > maxImageFileSide ||
        uint32_t(fileHeight) > maxImageFileSide)
        ThrowIncorrectFormat(name);
    const uint32_t w = uint32_t(fileWidth), h = uint32_t(fileHeight);
    const uint32_t fileBytesPerPixel = bitCount / 8;
    const uint64_t rowBytes = (uint64_t(w) * fileBytesPerPixel + 3) & ~uint64_t(3);
    const uint64_t paletteBytes = bitCount == 8 ? 1024 : 0;
    // The last row's padding may be missing from the file.
    const uint64_t pixelBytes = rowBytes * (h - 1) + uint64_t(w) * fileBytesPerPixel;
    if (readData && bitCount == 8 && (compression & 0xFFFF) != 0)
        ThrowUnsupportedFormat(name);
    if (readData && paletteBytes + pixelBytes > RemainingBytes(file))
        ThrowShortRead(paletteBytes + pixelBytes, name);

    Create(w, h, bitCount == 32 ? 32 : 24, readData);
    if (!readData)
        return;
    {
        uint8_t palette[1024];
        if (bitCount == 8)
            file.Read(palette, sizeof(palette));
        std::vector<uint8_t> rows(pixelBytes);
        file.Read(rows.data(), uint32_t(pixelBytes));
        const size_t imageRowBytes = size_t(w) * BytesPerPixel();
        for (uint32_t y = 0; y < h; ++y) {
            const uint8_t* source = rows.data() + y * rowBytes;
            uint8_t* target = Row(y);
            if (bitCount == 8) {
                for (uint32_t x = 0; x < w; ++x) {
                    const uint8_t* entry = palette + 4 * source[x];
                    target[3 * x + 0] = entry[2];
                    target[3 * x + 1] = entry[1];
                    target[3 * x + 2] = entry[0];
                }
            } else {
                std::memcpy(target, source, imageRowBytes);
            }
        }
        if (bitCount != 8)
            SwapRedBlue();
    }
}

void Image::ReadTGA(FileBinary& file, const std::string& name, bool readData) {
    ReleasingOnFailure(*this, [&] { ReadTGAData(file, name, readData); });
}

void Image::ReadTGAData(FileBinary& file, const std::string& name, bool readData) {
    uint8_t header[18];
    file.Read(header, sizeof(header));
    const uint32_t idLength = header[0];
    const uint32_t imageType = header[2];
    const uint32_t colourMapLength = LoadU16(header + 5);
    const uint32_t colourMapEntryBits = header[7];
    const uint32_t w = LoadU16(header + 12), h = LoadU16(header + 14);
    const uint32_t depth = header[16];
    const bool topFirst = (header[17] & 0x20) != 0;
    // Depths the reader cannot convert fail instead of leaving an empty picture behind a success.
    if (depth != 8 && depth != 16 && depth != 24 && depth != 32)
        ThrowUnsupportedFormat(name);
    if (w == 0 || h == 0 || w > maxImageFileSide || h > maxImageFileSide)
        ThrowIncorrectFormat(name);
    if (!readData) {
        Create(w, h, depth == 16 ? 32 : depth, false);
        return;
    }

    const uint64_t skipped = idLength + uint64_t(colourMapLength) * colourMapEntryBits / 8;
    const uint64_t remaining = RemainingBytes(file);
    if (skipped > remaining)
        ThrowShortRead(skipped, name);
    const size_t available = size_t(remaining - skipped);
    std::vector<uint8_t> ownData;
    const uint8_t* data = nullptr;
    if (file.GetMemoryImage() != nullptr) {
        data = file.GetMemoryImage() + file.GetPosition() + skipped;
    } else {
        ownData.resize(size_t(remaining));
        file.Read(ownData.data(), uint32_t(remaining));
        data = ownData.data() + skipped;
    }

    const uint32_t fileBytesPerPixel = depth / 8;
    const size_t pixelBytes = size_t(w) * h * fileBytesPerPixel;
    std::vector<uint8_t> expanded;
    if (imageType & 0x08) {
        // A packet produces at most 128 pixels: fewer data bytes than that allows cannot be a picture.
        const size_t packets = (size_t(w) * h + 127) / 128;
        if (available < packets * (1 + fileBytesPerPixel))
            ThrowIncorrectFormat(name);
        ExpandRunLength(data, available, fileBytesPerPixel, expanded, pixelBytes, name);
        data = expanded.data();
    } else if (available < pixelBytes) {
        ThrowShortRead(pixelBytes, name);
    }

    Create(w, h, depth == 16 ? 32 : depth, true);
    const size_t storedRowBytes = size_t(w) * fileBytesPerPixel;
    for (uint32_t d = 0; d < h; ++d) {
        const uint8_t* source = data + d * storedRowBytes;
        uint8_t* target = Row(topFirst ? h - 1 - d : d);
        for (uint32_t x = 0; x < w; ++x) {
            switch (depth) {
            case 8:
                target[x] = source[x];
                break;
            case 16: {
                const uint32_t v = LoadU16(source + 2 * x);
                target[4 * x + 0] = uint8_t(((v >> 10) & 31) << 3);
                target[4 * x + 1] = uint8_t(((v >> 5) & 31) << 3);
                target[4 * x + 2] = uint8_t((v & 31) << 3);
                target[4 * x + 3] = (v & 0x8000) ? 255 : 0;
                break;
            }
            case 24:
                target[3 * x + 0] = source[3 * x + 2];
                target[3 * x + 1] = source[3 * x + 1];
                target[3 * x + 2] = source[3 * x + 0];
                break;
            default:
                target[4 * x + 0] = source[4 * x + 2];
                target[4 * x + 1] = source[4 * x + 1];
                target[4 * x + 2] = source[4 * x + 0];
                target[4 * x + 3] = source[4 * x + 3];
            }
        }
    }
}

void Image::ReadPNG(FileBinary& file, const std::string& name, bool readData) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        Release();
        ThrowIncorrectFormat(name);
    }
    PngRead state;
    state.file = &file;
    state.image = this;
    state.readData = readData;
    bool decoded = false;
    try {
        decoded = DecodePng(png, info, state);
    } catch (...) {
        decoded = false;
    }
    delete[] state.rows;
    png_destroy_read_struct(&png, &info, nullptr);
    if (!decoded) {
        Release();
        ThrowIncorrectFormat(name);
    }
}

void Image::ReadJPEG(FileBinary& file, const std::string& name, bool readData) {
    jpeg_decompress_struct info;
    std::memset(&info, 0, sizeof(info));
    JpegErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = JpegErrorExit;
    trap.manager.output_message = JpegOutputMessage;
    JpegResult result = JpegResult::LibraryError;
    try {
        result = DecodeJpeg(info, trap, file, *this, readData);
    } catch (...) {
        result = JpegResult::LibraryError;
    }
    jpeg_destroy_decompress(&info);
    if (result == JpegResult::Done)
        return;
    Release();
    if (result == JpegResult::Unsupported)
        ThrowUnsupportedFormat(name);
    ThrowIncorrectFormat(name);
}

} // namespace OrvexEngine
