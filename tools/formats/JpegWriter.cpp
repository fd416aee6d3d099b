#include "tools/formats/JpegWriter.h"

#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

#include <csetjmp>
#include <stdexcept>

namespace VelmoraFormats {

namespace {

constexpr size_t chunk = 4096;

struct VectorDestination {
    jpeg_destination_mgr manager; // first, so that the library's pointer is ours
    std::vector<uint8_t>* out;
};

void InitDestination(j_compress_ptr info) {
    auto* destination = reinterpret_cast<VectorDestination*>(info->dest);
    destination->out->resize(chunk);
    destination->manager.next_output_byte = destination->out->data();
    destination->manager.free_in_buffer = chunk;
}

boolean EmptyOutputBuffer(j_compress_ptr info) {
    auto* destination = reinterpret_cast<VectorDestination*>(info->dest);
    size_t used = destination->out->size();
    destination->out->resize(used + chunk);
    destination->manager.next_output_byte = destination->out->data() + used;
    destination->manager.free_in_buffer = chunk;
    return TRUE;
}

void TermDestination(j_compress_ptr info) {
    auto* destination = reinterpret_cast<VectorDestination*>(info->dest);
    destination->out->resize(destination->out->size() - destination->manager.free_in_buffer);
}

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void ErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

} // namespace

std::vector<uint8_t> WriteJpeg(const Picture& picture, const JpegOptions& options) {
    const Picture source = picture.WithChannels(picture.channels == 2 ? 1 : picture.channels);
    std::vector<uint8_t> out;
    VectorDestination destination{};
    destination.out = &out;
    jpeg_compress_struct info{};
    ErrorTrap trap{};
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = ErrorExit;
    if (setjmp(trap.jump)) {
        jpeg_destroy_compress(&info);
        throw std::runtime_error("jpeg: libjpeg failed to write");
    }
    jpeg_create_compress(&info);
    destination.manager.init_destination = InitDestination;
    destination.manager.empty_output_buffer = EmptyOutputBuffer;
    destination.manager.term_destination = TermDestination;
    info.dest = &destination.manager;
    info.image_width = source.width;
    info.image_height = source.height;
    info.input_components = int(source.channels);
    info.in_color_space = source.channels == 1 ? JCS_GRAYSCALE : source.channels == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, options.quality, TRUE);
    if (options.progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(source.At(0, info.next_scanline));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return out;
}

} // namespace VelmoraFormats
