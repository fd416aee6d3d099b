#include "engine/graphics/TextureImage.h"

#include "engine/core/Config.h"
#include "engine/core/EngineSettings.h"
#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/files/FilePaths.h"
#include "engine/graphics/FileDDS.h"
#include "engine/graphics/RenderSystem.h"

#include <algorithm>
#include <memory>

namespace OrvexEngine {

namespace {

EngineSettings* CurrentSettings() {
    Config* config = Config::Instance();
    return config != nullptr ? &config->GetSettings() : nullptr;
}

// The device's largest texture sides; 0 (no limit) without a device.
void DeviceTextureLimits(uint32_t& width, uint32_t& height) {
    const RenderSystem* renderSystem = RenderSystem::Instance();
    width = renderSystem != nullptr ? renderSystem->maxTextureWidth : 0;
    height = renderSystem != nullptr ? renderSystem->maxTextureHeight : 0;
}

// The nearest power of two (a tie goes up), within the device's largest texture side.
uint32_t FitSide(uint32_t n, uint32_t deviceMaximum) {
    uint32_t p = 1;
    while (p < n)
        p *= 2;
    if (p - n > n - p / 2)
        p /= 2;
    return deviceMaximum != 0 ? std::min(p, deviceMaximum) : p;
}

} // namespace

bool IsValidTextureSize(uint32_t n) {
    return n <= 65536 && (n & (n - 1)) == 0;
}

TextureImage::TextureImage(Image* diffuseImage, Image* opacityImage, bool mipMap)
    : settings(CurrentSettings()), diffuse(diffuseImage), opacity(opacityImage) {
    mipMapping = mipMap && (settings == nullptr || settings->rUseMipMapping);
}

TextureImage::TextureImage(const std::string& diffuseFile, const std::string& opacityFile, bool mipMap)
    : settings(CurrentSettings()), diffuseName(diffuseFile), opacityName(opacityFile), fromFiles(true) {
    mipMapping = mipMap && (settings == nullptr || settings->rUseMipMapping);
}

TextureImage::~TextureImage() {
    delete diffuse;
    delete opacity;
    DeleteMipLevels();
}

void TextureImage::ReleaseImages() {
    if (fromFiles) {
        delete diffuse;
        delete opacity;
        diffuse = nullptr;
        opacity = nullptr;
    }
    DeleteMipLevels();
}

void TextureImage::DeleteMipLevels() {
    for (Image* level : mipLevels)
        delete level;
    mipLevels.clear();
}

void TextureImage::WarnUnlessPowerOfTwo() const {
    if (!IsValidTextureSize(diffuse->width) || !IsValidTextureSize(diffuse->height))
        Log()->Warning("Texture Image: \"" + diffuseName + "\" image size should be power of two");
}

bool TextureImage::LoadDDS() {
    DeleteMipLevels();
    delete diffuse;
    diffuse = new Image;
    std::unique_ptr<FileDDS> dds;
    try {
        dds = std::make_unique<FileDDS>(diffuseName);
    } catch (const FileError& error) {
        Log()->Message(error.GetText());
    }
    bool loaded = dds != nullptr && dds->ReadLevel(0, *diffuse);
    if (loaded && mipMapping) {
        for (uint32_t i = 1; i < dds->GetMipMapCount(); ++i) {
            mipLevels.push_back(new Image);
            if (!dds->ReadLevel(i, *mipLevels.back())) {
                loaded = false;
                break;
            }
        }
    }
    if (loaded) {
        width = diffuse->width;
        height = diffuse->height;
        bitsPerPixel = diffuse->bitsPerPixel == 32 ? 32 : 24;
        format = dds->format;
        return true;
    }
    ReleaseImages();
    delete diffuse;
    diffuse = new Image;
    diffuse->MakePlaceholder();
    return false;
}

void TextureImage::Load() {
    if (diffuse == nullptr && HasExtension(diffuseName, "dds")) {
        if (LoadDDS())
            return;
    } else if (diffuse == nullptr) {
        diffuse = new Image;
        if (!diffuse->Load(diffuseName, true))
            diffuse->Release();
        if (diffuse->empty)
            diffuse->MakePlaceholder();
        if (!opacityName.empty()) {
            delete opacity;
            opacity = new Image;
            if (opacityName == diffuseName)
                opacity->Copy(*diffuse);
            else
                opacity->Load(opacityName, true);
            if (opacity->empty) {
                delete opacity;
                opacity = nullptr;
            }
        }
    }
    CheckAndFit();

    width = diffuse->width;
    height = diffuse->height;
    bitsPerPixel = opacity != nullptr || diffuse->bitsPerPixel == 32 ? 32 : 24;
    format = bitsPerPixel == 32 ? TextureFormatA8R8G8B8 : TextureFormatR8G8B8;

    DeleteMipLevels();
    if (!mipMapping)
        return;
    const Image* previous = diffuse;
    for (uint32_t n = std::max(width, height) >> 1; n >= 1; n >>= 1) {
        Image* level = new Image;
        mipLevels.push_back(level);
        const bool first = previous == diffuse;
        BuildMipLevel(*previous, first ? opacity : nullptr, *level);
        if (first && settings != nullptr && settings->rShowMipMaps && level->BytesPerPixel() >= 3) {
            // The first generated level shows red, so that a person can see where mip-mapping starts.
            for (size_t p = 0; p < size_t(level->width) * level->height; ++p) {
                uint8_t* pixel = level->data + p * level->BytesPerPixel();
                pixel[0] = 255;
                pixel[1] = 0;
                pixel[2] = 0;
            }
        }
        previous = level;
    }
}

void TextureImage::CheckAndFit() {
    WarnUnlessPowerOfTwo();
    uint32_t deviceWidth = 0, deviceHeight = 0;
    DeviceTextureLimits(deviceWidth, deviceHeight);
    const uint32_t fittedWidth = FitSide(diffuse->width, deviceWidth);
    const uint32_t fittedHeight = FitSide(diffuse->height, deviceHeight);
    if (fittedWidth != diffuse->width || fittedHeight != diffuse->height)
        diffuse->ResizeInPlace(fittedWidth, fittedHeight, Bilinear);
    if (opacity != nullptr && (opacity->width != diffuse->width || opacity->height != diffuse->height)) {
        Log()->Warning("Texture Image: \"" + opacityName + "\" image size should be the same as \"" +
                       diffuseName + "\"");
        opacity->ResizeInPlace(diffuse->width, diffuse->height, Bilinear);
    }
}

void TextureImage::ReadInfo() {
    if (diffuse == nullptr && HasExtension(diffuseName, "dds")) {
        try {
            FileDDS dds(diffuseName);
            width = dds.GetWidth();
            height = dds.GetHeight();
            bitsPerPixel = 32;
            format = dds.format;
            return;
        } catch (const FileError& error) {
            Log()->Message(error.GetText());
        }
    }
    const bool heldBefore = diffuse != nullptr;
    if (!heldBefore) {
        diffuse = new Image;
        if (!diffuse->Load(diffuseName, false))
            diffuse->Release();
        if (diffuse->empty)
            diffuse->MakePlaceholder();
    }
    WarnUnlessPowerOfTwo();
    width = diffuse->width;
    height = diffuse->height;
    bitsPerPixel = diffuse->bitsPerPixel == 32 ? 32 : 24;
    format = bitsPerPixel == 32 ? TextureFormatA8R8G8B8 : TextureFormatR8G8B8;
    // Only images read for the answer are dropped; images handed in stay for the uploads.
    if (!heldBefore) {
        delete diffuse;
        diffuse = nullptr;
    }
}

void TextureImage::BuildMipLevel(const Image& source, const Image* opacityImage, Image& out) {
    const uint32_t w = source.width, h = source.height;
    out.Create(std::max(w / 2, 1u), std::max(h / 2, 1u), opacityImage != nullptr ? 32 : source.bitsPerPixel,
               true);
    if (source.data == nullptr || w == 0 || h == 0)
        return;
    const uint32_t sourceBytes = source.BytesPerPixel(), outBytes = out.BytesPerPixel();
    auto average = [](const Image& image, uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1,
                      uint32_t channel) {
        const uint32_t bytes = image.BytesPerPixel();
        return uint8_t((image.Row(y0)[x0 * bytes + channel] + image.Row(y0)[x1 * bytes + channel] +
                        image.Row(y1)[x0 * bytes + channel] + image.Row(y1)[x1 * bytes + channel] + 2) >>
                       2);
    };
    for (uint32_t y = 0; y < out.height; ++y)
        for (uint32_t x = 0; x < out.width; ++x) {
            const uint32_t x0 = 2 * x, y0 = 2 * y;
            const uint32_t x1 = w == 1 ? x0 : x0 + 1, y1 = h == 1 ? y0 : y0 + 1;
            uint8_t* target = out.Row(y) + size_t(x) * outBytes;
            if (opacityImage == nullptr) {
                for (uint32_t k = 0; k < sourceBytes; ++k)
                    target[k] = average(source, x0, y0, x1, y1, k);
                continue;
            }
            for (uint32_t k = 0; k < 3; ++k)
                target[k] = average(source, x0, y0, x1, y1, sourceBytes == 1 ? 0 : k);
            // The opacity image has the source's size; it is clamped all the same rather than trusted.
            const Image& o = *opacityImage;
            if (o.data == nullptr || o.width == 0 || o.height == 0) {
                target[3] = 255;
                continue;
            }
            const uint32_t ox0 = std::min(x0, o.width - 1), ox1 = std::min(x1, o.width - 1);
            const uint32_t oy0 = std::min(y0, o.height - 1), oy1 = std::min(y1, o.height - 1);
            target[3] = average(o, ox0, oy0, ox1, oy1, o.bitsPerPixel == 32 ? 3 : 0);
        }
}

} // namespace OrvexEngine
