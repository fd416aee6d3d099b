#include "game/shell/ProgramResources.h"

#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"
#include "engine/graphics/Image.h"
#include "platform/win/WindowCursor.h"

#include <cstring>
#include <string>
#include <vector>

namespace VelmoraBall {

bool InstallCursorResource(uint32_t id, const uint8_t* png, size_t size) {
    if (png == nullptr || size == 0 || size > UINT32_MAX || id > UINT16_MAX)
        return false;
    const std::string name = "cursor_" + std::to_string(id) + ".png";
    OrvexEngine::Image image;
    try {
        OrvexEngine::FileBinary file(name, false, 0, uint32_t(size), png, false);
        image.ReadPNG(file, name, true);
    } catch (const OrvexEngine::Error&) {
        return false;
    }
    image.ConvertBitsPerPixel(32);
    // The engine keeps rows bottom-up; the platform takes them top row first.
    const size_t rowBytes = size_t(image.width) * 4;
    std::vector<uint8_t> rgba(rowBytes * image.height);
    for (uint32_t y = 0; y < image.height; ++y)
        std::memcpy(&rgba[size_t(y) * rowBytes], image.Row(image.height - 1 - y), rowBytes);
    platform::RegisterCursorResource(uint16_t(id), image.width, image.height, rgba.data(), 0, 0);
    return true;
}

} // namespace VelmoraBall
