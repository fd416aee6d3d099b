#include "engine/graphics/Texture2D_D3D7.h"

#include "engine/core/MessageManager.h"
#include "engine/graphics/Image.h"
#include "engine/graphics/RenderSystem_D3D7.h"
#include "engine/graphics/TextureImage.h"
#include "platform/d3d/Direct3D.h"
#include "platform/d3d/DirectDraw.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace OrvexEngine {

namespace {

using platform::PixelFormat;

constexpr uint32_t SkippedRgbFlags = 0x20000 | 0x40000 | 0x80000; // luminance, bump luminance, bump du/dv

// The first device format that fits the query: an RGB format of the bit count whose alpha-pixels flag matches
// (never one with a four-bit alpha mask), or the format of the four-character code.
bool FindTextureFormat(platform::Device* device, uint32_t bitCount, bool alpha, uint32_t fourCC,
                       PixelFormat& found) {
    bool result = false;
    device->EnumTextureFormats([&](const PixelFormat& format) {
        if (fourCC == 0) {
            if ((format.flags & SkippedRgbFlags) != 0 || format.alphaMask == 0xF000 ||
                ((format.flags & platform::PixelAlphaPixels) != 0) != alpha || format.bitCount != bitCount ||
                (format.flags & platform::PixelFourCC) != 0)
                return true;
        } else if ((format.flags & platform::PixelFourCC) == 0 || format.fourCC != fourCC) {
            return true;
        }
        found = format;
        result = true;
        return false;
    });
    return result;
}

PixelFormat FixedFormat(TextureFormat format) {
    PixelFormat f;
    f.flags = platform::PixelRGB;
    if (format == TextureFormatA8R8G8B8) {
        f.flags |= platform::PixelAlphaPixels;
        f.bitCount = 32;
        f.redMask = 0x00FF0000;
        f.greenMask = 0x0000FF00;
        f.blueMask = 0x000000FF;
        f.alphaMask = 0xFF000000;
    } else if (format == TextureFormatA4R4G4B4) {
        f.flags |= platform::PixelAlphaPixels;
        f.bitCount = 16;
        f.redMask = 0x0F00;
        f.greenMask = 0x00F0;
        f.blueMask = 0x000F;
        f.alphaMask = 0xF000;
    } else {
        f.bitCount = 16;
        f.redMask = 0xF800;
        f.greenMask = 0x07E0;
        f.blueMask = 0x001F;
    }
    return f;
}

bool IsCompressed(TextureFormat format) {
    return format >= TextureFormatDXT1 && format <= TextureFormatDXT5;
}

// One channel byte placed under its mask: the top bits that fit, shifted to the mask's position.
uint32_t PackChannel(uint8_t value, uint32_t mask) {
    if (mask == 0)
        return 0;
    const int bits = std::popcount(mask);
    const int shift = std::countr_zero(mask);
    return ((static_cast<uint32_t>(value) >> (8 - std::min(bits, 8))) << shift) & mask;
}

// The R, G, B, A bytes of pixel (x, y) of a level: grey images give their value to all three colours; alpha
// comes from the opacity image when one is given, else from a 32-bit level, else 255. Reads stay within each
// image's buffer.
void ReadPixel(const Image& level, const Image* opacity, uint32_t x, uint32_t y, uint8_t rgba[4]) {
    rgba[0] = rgba[1] = rgba[2] = rgba[3] = 255;
    const uint32_t bytes = level.BytesPerPixel();
    const size_t at = (size_t(y) * level.width + x) * bytes;
    if (level.data != nullptr && bytes > 0 && at + bytes <= level.size) {
        const uint8_t* p = level.data + at;
        if (bytes == 1) {
            rgba[0] = rgba[1] = rgba[2] = p[0];
        } else {
            rgba[0] = p[0];
            rgba[1] = p[1];
            rgba[2] = p[2];
            if (bytes == 4 && opacity == nullptr)
                rgba[3] = p[3];
        }
    }
    if (opacity != nullptr && opacity->data != nullptr && x < opacity->width && y < opacity->height) {
        const uint32_t obytes = opacity->BytesPerPixel();
        const size_t oat = (size_t(y) * opacity->width + x) * obytes;
        if (obytes > 0 && oat + obytes <= opacity->size)
            rgba[3] = opacity->data[oat + (obytes == 4 ? 3 : 0)];
    }
}

} // namespace

Texture2D_D3D7::Texture2D_D3D7(RenderSystem_D3D7* owner, const std::string& textureName, Image* diffuse,
                               Image* opacity, bool mipMaps, bool isOnDemand)
    : Texture2D(textureName, diffuse, opacity, mipMaps, isOnDemand), renderSystem(owner) {
    if (onDemand) {
        width = diffuse != nullptr ? diffuse->width : 0;
        height = diffuse != nullptr ? diffuse->height : 0;
    } else {
        CreateSurface();
    }
    renderSystem->AddTexture(this);
}

Texture2D_D3D7::Texture2D_D3D7(RenderSystem_D3D7* owner, const std::string& textureName,
                               const std::string& diffuseName, const std::string& opacityName, bool mipMaps,
                               bool isOnDemand)
    : Texture2D(textureName, diffuseName, opacityName, mipMaps, isOnDemand), renderSystem(owner) {
    if (onDemand) {
        image->ReadInfo();
        width = image->width;
        height = image->height;
    } else {
        CreateSurface();
    }
    renderSystem->AddTexture(this);
}

Texture2D_D3D7::~Texture2D_D3D7() {
    ReleaseSurface();
    renderSystem->RemoveTexture(this);
}

void Texture2D_D3D7::ReleaseSurface() {
    if (surface != nullptr)
        surface->Release();
    surface = nullptr;
    memoryBytes = 0;
}

platform::Surface* Texture2D_D3D7::GetSurface() {
    if (surface == nullptr)
        CreateSurface();
    return surface;
}

TextureFormat Texture2D_D3D7::ChooseFormat(RenderSystem_D3D7* renderSystem, uint32_t bitsPerPixel,
                                           TextureFormat imageFormat, PixelFormat& pixelFormat) {
    auto offered = [renderSystem](TextureFormat f) { return (renderSystem->textureFormats >> f & 1u) != 0; };
    const uint32_t bytes = bitsPerPixel / 8;
    TextureFormat format = TextureFormatA8R8G8B8;
    platform::SurfaceDesc mode;
    renderSystem->GetDirectDraw()->GetDisplayMode(mode);
    if (mode.pixelFormat.bitCount == 16) {
        // Half the memory in 16-bit modes.
        if (bytes == 3 && offered(TextureFormatR5G6B5))
            format = TextureFormatR5G6B5;
        else if (bytes == 4 && offered(TextureFormatA4R4G4B4))
            format = TextureFormatA4R4G4B4;
    }
    platform::Device* device = renderSystem->GetDevice();
    if (IsCompressed(imageFormat)) {
        const uint32_t fourCC =
            platform::MakeFourCC('D', 'X', 'T', static_cast<char>('1' + (imageFormat - TextureFormatDXT1)));
        if (device != nullptr && FindTextureFormat(device, 0, false, fourCC, pixelFormat))
            return imageFormat;
        format = TextureFormatA8R8G8B8;
    }
    if (offered(format)) {
        pixelFormat = FixedFormat(format);
        return format;
    }
    const bool alpha = bitsPerPixel == 32;
    if (device == nullptr || (!FindTextureFormat(device, 32, alpha, 0, pixelFormat) &&
                              !FindTextureFormat(device, 16, alpha, 0, pixelFormat)))
        Log()->Fatal("Direct3D Subsystem (Texture2D_D3D7::CreateSurface): Failed "
                     "to find texture format");
    return ClassifyPixelFormat(pixelFormat);
}

void Texture2D_D3D7::CreateSurface() {
    if (surface != nullptr)
        return;
    memoryBytes = 0;
    platform::DisplayDriver* directDraw = renderSystem->GetDirectDraw();
    if (directDraw == nullptr)
        return; // between a device release and its re-creation
    image->Load();
    width = image->width;
    height = image->height;
    const uint32_t levels = 1 + static_cast<uint32_t>(image->mipLevels.size());

    platform::SurfaceDesc desc;
    desc.flags = platform::DescCaps | platform::DescHeight | platform::DescWidth | platform::DescPixelFormat;
    desc.caps = platform::CapsTexture;
    desc.width = width;
    desc.height = height;
    if (levels > 1) {
        desc.flags |= platform::DescMipMapCount;
        desc.mipMapCount = levels;
        desc.caps |= platform::CapsMipMap | platform::CapsComplex;
    }
    // Hardware devices manage their textures (and restore them after a loss); software ones draw from system
    // memory.
    if (renderSystem->IsHardwareDevice())
        desc.caps2 = platform::Caps2TextureManage;
    else
        desc.caps |= platform::CapsSystemMemory;
    const TextureFormat format = ChooseFormat(renderSystem, image->bitsPerPixel,
                                              static_cast<TextureFormat>(image->format), desc.pixelFormat);

    platform::Result result = directDraw->CreateSurface(desc, &surface);
    renderSystem->ErrorText("Texture2D_D3D7::CreateSurface (CreateSurface) (1)", result);
    if (platform::Failed(result) || surface == nullptr) {
        surface = nullptr;
        image->ReleaseImages();
        return;
    }

    // Every level is held by a reference of our own while it is written; the top level's is taken here.
    surface->AddRef();
    platform::Surface* level = surface;
    bool filled = true;
    for (uint32_t i = 0; i < levels && level != nullptr; ++i) {
        const Image* source = i == 0 ? image->diffuse : image->mipLevels[i - 1];
        platform::SurfaceDesc levelDesc;
        level->GetSurfaceDesc(levelDesc);
        void* bits = nullptr;
        do {
            result = level->Lock(nullptr, levelDesc, &bits, platform::LockWait | platform::LockWriteOnly);
        } while (result == platform::ErrWasStillDrawing);
        if (platform::Failed(result) || bits == nullptr) {
            renderSystem->ErrorText("Texture2D_D3D7::CreateSurface (Lock)", result);
            filled = false;
            level->Release();
            level = nullptr;
            break;
        }
        if (source != nullptr)
            memoryBytes += Upload(levelDesc, static_cast<uint8_t*>(bits), *source,
                                  i == 0 ? image->opacity : nullptr, format);
        renderSystem->ErrorText("Texture2D_D3D7::CreateSurface (Unlock)", level->Unlock(nullptr));
        platform::Surface* next = nullptr;
        if (i + 1 < levels &&
            platform::Failed(level->GetAttachedSurface(
                platform::CapsTexture | platform::CapsMipMap | platform::CapsComplex, &next)))
            next = nullptr;
        level->Release();
        level = next;
    }
    if (level != nullptr)
        level->Release();
    // Nothing may be drawn from a surface that could not be filled.
    if (!filled)
        ReleaseSurface();
    image->ReleaseImages();
}

uint32_t Texture2D_D3D7::Upload(const platform::SurfaceDesc& desc, uint8_t* bits, const Image& level,
                                const Image* opacity, TextureFormat format) {
    const PixelFormat& pf = desc.pixelFormat;
    if ((pf.flags & platform::PixelFourCC) != 0) {
        // Compressed blocks go to the surface as they are.
        if (level.data == nullptr)
            return 0;
        const uint32_t count = std::min(desc.linearSize, level.size);
        std::memcpy(bits, level.data, count);
        return count;
    }
    const uint32_t w = std::min(desc.width, level.width);
    const uint32_t h = std::min(desc.height, level.height);
    const uint32_t pixelBytes = pf.bitCount == 32 ? 4 : 2;
    const bool fixed8888 = format == TextureFormatA8R8G8B8;
    uint8_t rgba[4];
    for (uint32_t y = 0; y < h; ++y) {
        uint8_t* row = bits + size_t(y) * static_cast<size_t>(desc.pitch);
        for (uint32_t x = 0; x < w; ++x) {
            ReadPixel(level, opacity, x, y, rgba);
            if (fixed8888) {
                uint8_t* p = row + size_t(x) * 4;
                p[0] = rgba[2];
                p[1] = rgba[1];
                p[2] = rgba[0];
                p[3] = rgba[3];
                continue;
            }
            const uint32_t value = PackChannel(rgba[0], pf.redMask) + PackChannel(rgba[1], pf.greenMask) +
                                   PackChannel(rgba[2], pf.blueMask) + PackChannel(rgba[3], pf.alphaMask);
            if (pixelBytes == 4) {
                std::memcpy(row + size_t(x) * 4, &value, 4);
            } else {
                const uint16_t v16 = static_cast<uint16_t>(value);
                std::memcpy(row + size_t(x) * 2, &v16, 2);
            }
        }
    }
    // The memory the device holds for the level, as its own size says.
    return fixed8888 ? desc.width * desc.height * 4 : desc.width * desc.height * pf.bitCount / 8;
}

} // namespace OrvexEngine
