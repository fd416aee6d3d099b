// The engine's pixel buffer in main memory: 8, 24 or 32 bits per pixel, channels R, G, B(, A), rows packed
// without gaps and stored bottom-up (row 0 is the picture's bottom row). Loaders, the DDS reader, texture
// uploads and the screen capture all fill or read it in that convention. Owned by whoever declares or
// creates it; any number of instances; copied only explicitly, through Copy.
#pragma once

#include "engine/math/Vector.h"

#include <cstdint>
#include <string>

namespace OrvexEngine {

class FileBinary;

enum ResizeFilter : uint32_t {
    Nearest = 0,
    Bilinear = 1,
    Bicubic = 2,
};

class Image {
public:
    Image() = default;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    virtual ~Image();

    // Describes the image; allocates the pixel buffer when asked and none exists yet. size 0 computes
    // width * height * bitsPerPixel / 8. Unchanged dimensions keep the existing buffer.
    void Create(uint32_t width, uint32_t height, uint32_t bitsPerPixel, bool allocate, uint32_t size = 0);
    // Frees the pixels and returns to empty; size keeps its value.
    void Release();
    // Becomes a copy of the source; a header-only source gives a header-only copy.
    void Copy(const Image& source);

    // out receives the rectangle starting at (x, y), clipped to this image.
    void Crop(uint32_t x, uint32_t y, uint32_t w, uint32_t h, Image& out) const;
    // out (never this image) receives the resampled picture.
    void Resize(uint32_t newWidth, uint32_t newHeight, ResizeFilter filter, Image& out) const;
    void ResizeInPlace(uint32_t newWidth, uint32_t newHeight, ResizeFilter filter);
    // Exchanges channels 0 and 2; into out when given, else in place.
    void SwapRedBlue(Image* out = nullptr);
    // Converts between 8, 24 and 32 bits; into out when given, else in place.
    void ConvertBitsPerPixel(uint32_t newBitsPerPixel, Image* out = nullptr);
    // Copies the source in at (x, y), clipped; into out (first made a copy of this image) when given.
    void Paste(uint32_t x, uint32_t y, const Image& source, Image* out = nullptr);
    // Sets every pixel to the colour (components 0..1); returns the image that was filled.
    Image* Fill(const Vec4& colour, Image* out = nullptr);
    // The 64 x 64 yellow and black checkerboard that stands in for a picture that failed to load.
    void MakePlaceholder();

    // The cubic through four samples at fraction t / 128 between p1 and p2, floored.
    static int CubicInterpolate(int p0, int p1, int p2, int p3, int t);

    // Loaders: the file comes from FileManager::OpenFile; Load chooses the reader by the extension (bmp, tga,
    // jpg or jpeg, png, in any case). readData false only describes the picture. Failures are logged as
    // errors and return false with the image empty.
    bool Load(const std::string& name, bool readData);
    bool LoadBMP(const std::string& name, bool readData);
    bool LoadTGA(const std::string& name, bool readData);
    bool LoadPNG(const std::string& name, bool readData);
    bool LoadJPEG(const std::string& name, bool readData);

    // Readers over an open file (from the file manager, a pack member or a memory image); name is the one
    // error texts show. readData false only describes the picture. They throw FileError for files they
    // refuse and leave the image empty.
    void ReadBMP(FileBinary& file, const std::string& name, bool readData);
    void ReadTGA(FileBinary& file, const std::string& name, bool readData);
    void ReadPNG(FileBinary& file, const std::string& name, bool readData);
    void ReadJPEG(FileBinary& file, const std::string& name, bool readData);

    uint32_t BytesPerPixel() const { return bitsPerPixel / 8; }
    // Start of row y (row 0 is the bottom row); only for images with data.
    uint8_t* Row(uint32_t y) { return data + size_t(y) * width * BytesPerPixel(); }
    const uint8_t* Row(uint32_t y) const { return data + size_t(y) * width * BytesPerPixel(); }

    bool empty = true;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bitsPerPixel = 0;
    uint32_t size = 0;
    uint8_t* data = nullptr; // owned; null when empty or header-only

private:
    bool LoadWith(void (Image::*reader)(FileBinary&, const std::string&, bool), const std::string& name,
                  bool readData);
    void ReadBMPData(FileBinary& file, const std::string& name, bool readData);
    void ReadTGAData(FileBinary& file, const std::string& name, bool readData);

    uint32_t allocated = 0; // bytes behind data, so that a larger explicit size never overruns it
};

} // namespace OrvexEngine
