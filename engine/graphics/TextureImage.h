// What a texture is made of in main memory: the diffuse (colour) image, an optional opacity image whose
// intensity becomes the alpha, and the mip chain. Loads them from files (DDS or any Image format), fits their
// sizes to powers of two within the device's limits and builds the mip levels with a 2 x 2 box filter; for
// textures made on first use it also reports size and format without keeping pixels. Owned by its Texture2D;
// one per texture.
#pragma once

#include "engine/graphics/Image.h"
#include "engine/graphics/RenderSystem.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {

struct EngineSettings;

// True for 0, 1, 2 and every power of two up to 65536.
bool IsValidTextureSize(uint32_t n);

class TextureImage {
public:
    // Takes over the images (opacity may be null); they are kept across uploads.
    TextureImage(Image* diffuseImage, Image* opacityImage, bool mipMap);
    // Images read from these files at every Load and freed by ReleaseImages; opacity may be "".
    TextureImage(const std::string& diffuseFile, const std::string& opacityFile, bool mipMap);
    TextureImage(const TextureImage&) = delete;
    TextureImage& operator=(const TextureImage&) = delete;
    virtual ~TextureImage();

    // Brings the images and the mip chain into memory. Never leaves diffuse null or empty: a file that fails
    // gives the checkerboard placeholder.
    void Load();
    // Width, height, bits and format without keeping pixel data; for images named by files.
    void ReadInfo();
    // Frees the file-read images and every mip level.
    void ReleaseImages();
    // out becomes the next smaller level of source; with an opacity image (the source's size) out has 32 bits
    // and takes its alpha from the opacity image.
    static void BuildMipLevel(const Image& source, const Image* opacityImage, Image& out);

    EngineSettings* settings = nullptr; // not owned: Config's record; null without a Config
    std::string diffuseName;
    std::string opacityName;
    bool fromFiles = false;
    Image* diffuse = nullptr; // owned
    Image* opacity = nullptr; // owned; may be null
    bool mipMapping = false;
    std::vector<Image*> mipLevels; // owned; levels 1, 2, ... (level 0 is diffuse)
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bitsPerPixel = 0;
    TextureFormat format = TextureFormatUnknown; // R8G8B8 stands for 24-bit data without alpha

private:
    bool LoadDDS();
    void CheckAndFit();
    void DeleteMipLevels();
    void WarnUnlessPowerOfTwo() const;
};

} // namespace OrvexEngine
