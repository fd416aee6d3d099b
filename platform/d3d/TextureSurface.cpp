#define GL_GLEXT_PROTOTYPES 1
#include "platform/d3d/TextureSurface.h"

#include "platform/d3d/D3DSettings.h"
#include "platform/d3d/DirectDraw.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

namespace platform {

namespace {

struct GlFormat {
    GLenum internal = 0;
    GLenum format = 0; // 0 for compressed formats
    GLenum type = 0;
    uint32_t blockBytes = 0; // compressed formats: bytes per 4 x 4 block
    uint32_t pixelBytes = 0;
};

bool Masks(const PixelFormat& f, uint32_t r, uint32_t g, uint32_t b) {
    return f.redMask == r && f.greenMask == g && f.blueMask == b;
}

bool ToGl(const PixelFormat& f, GlFormat& gl) {
    if ((f.flags & PixelFourCC) != 0) {
        if (f.fourCC == MakeFourCC('D', 'X', 'T', '1'))
            gl = {GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 0, 0, 8, 0};
        else if (f.fourCC == MakeFourCC('D', 'X', 'T', '2') || f.fourCC == MakeFourCC('D', 'X', 'T', '3'))
            gl = {GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, 0, 0, 16, 0};
        else if (f.fourCC == MakeFourCC('D', 'X', 'T', '4') || f.fourCC == MakeFourCC('D', 'X', 'T', '5'))
            gl = {GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 0, 0, 16, 0};
        else
            return false;
        return true;
    }
    if ((f.flags & PixelRGB) == 0)
        return false;
    const bool alpha = (f.flags & PixelAlphaPixels) != 0;
    if (f.bitCount == 32 && Masks(f, 0xFF0000, 0xFF00, 0xFF))
        gl = {GLenum(alpha ? GL_RGBA8 : GL_RGB8), GL_BGRA, GL_UNSIGNED_BYTE, 0, 4};
    else if (f.bitCount == 16 && Masks(f, 0xF800, 0x07E0, 0x001F))
        gl = {GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 0, 2};
    else if (f.bitCount == 16 && alpha && Masks(f, 0x0F00, 0x00F0, 0x000F))
        gl = {GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, 0, 2};
    else if (f.bitCount == 16 && Masks(f, 0x7C00, 0x03E0, 0x001F))
        gl = {GLenum(alpha ? GL_RGB5_A1 : GL_RGB5), GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, 0, 2};
    else
        return false;
    return true;
}

size_t LevelBytes(const SurfaceDesc& d) {
    return (d.flags & DescLinearSize) != 0 ? d.linearSize : size_t(d.pitch) * d.height;
}

// Keeps the texture binding of the active unit as the device left it.
class BindingKeeper {
public:
    BindingKeeper() { glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous); }
    ~BindingKeeper() { glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous)); }
    BindingKeeper(const BindingKeeper&) = delete;
    BindingKeeper& operator=(const BindingKeeper&) = delete;

private:
    GLint previous = 0;
};

} // namespace

Result TextureStorage::DescribeLevels(const SurfaceDesc& request, std::vector<SurfaceDesc>& levels) {
    levels.clear();
    GlFormat gl;
    if ((request.flags & DescPixelFormat) == 0 || !ToGl(request.pixelFormat, gl))
        return ErrInvalidPixelFormat;
    if (request.width == 0 || request.height == 0 || request.width > 16384 || request.height > 16384)
        return ErrInvalidParams;
    uint32_t count = 1;
    if ((request.flags & DescMipMapCount) != 0 && request.mipMapCount > 0)
        count = request.mipMapCount;
    const uint32_t longest = std::max(request.width, request.height);
    uint32_t possible = 1;
    while ((longest >> possible) > 0)
        ++possible;
    if (count > possible)
        return ErrInvalidParams;
    for (uint32_t k = 0; k < count; ++k) {
        SurfaceDesc d = request;
        d.width = std::max(request.width >> k, 1u);
        d.height = std::max(request.height >> k, 1u);
        d.mipMapCount = count - k;
        d.flags |= DescCaps | DescWidth | DescHeight | DescPixelFormat;
        if (k > 0)
            d.caps |= CapsMipMap;
        if (gl.blockBytes != 0) {
            d.flags = (d.flags & ~DescPitch) | DescLinearSize;
            d.pitch = 0;
            d.linearSize = std::max(1u, (d.width + 3) / 4) * std::max(1u, (d.height + 3) / 4) * gl.blockBytes;
        } else {
            d.flags = (d.flags & ~DescLinearSize) | DescPitch;
            d.pitch = static_cast<int32_t>(d.width * gl.pixelBytes);
            d.linearSize = 0;
        }
        levels.push_back(d);
    }
    return ResultOk;
}

TextureStorage::TextureStorage(const std::vector<SurfaceDesc>& levelDescs)
    : levels(levelDescs), staging(levelDescs.size()) {
    GlFormat gl;
    ToGl(levels[0].pixelFormat, gl);
    BindingKeeper keep;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    // With fewer levels than a full chain the texture stays complete under a mipmap filter.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(levels.size()) - 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (uint32_t k = 0; k < levels.size(); ++k) {
        const SurfaceDesc& d = levels[k];
        if (gl.blockBytes != 0) {
            std::vector<uint8_t> zeros(d.linearSize, 0);
            glCompressedTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(k), gl.internal,
                                   static_cast<GLsizei>(d.width), static_cast<GLsizei>(d.height), 0,
                                   static_cast<GLsizei>(d.linearSize), zeros.data());
        } else {
            glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(k), static_cast<GLint>(gl.internal),
                         static_cast<GLsizei>(d.width), static_cast<GLsizei>(d.height), 0, gl.format, gl.type,
                         nullptr);
        }
    }
}

TextureStorage::~TextureStorage() {
    if (texture != 0)
        glDeleteTextures(1, &texture);
}

uint32_t TextureStorage::Release() {
    const uint32_t left = --references;
    if (left == 0)
        delete this;
    return left;
}

uint8_t* TextureStorage::Lock(uint32_t level) {
    if (level >= levels.size() || !staging[level].empty())
        return nullptr;
    staging[level].assign(std::max<size_t>(LevelBytes(levels[level]), 1), 0);
    return staging[level].data();
}

bool TextureStorage::Unlock(uint32_t level) {
    if (level >= levels.size() || staging[level].empty())
        return false;
    Upload(level, staging[level].data());
    std::vector<uint8_t>().swap(staging[level]);
    return true;
}

void TextureStorage::Upload(uint32_t level, const uint8_t* pixels) const {
    GlFormat gl;
    ToGl(levels[level].pixelFormat, gl);
    const SurfaceDesc& d = levels[level];
    BindingKeeper keep;
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    if (gl.blockBytes != 0)
        glCompressedTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), gl.internal,
                               static_cast<GLsizei>(d.width), static_cast<GLsizei>(d.height), 0,
                               static_cast<GLsizei>(d.linearSize), pixels);
    else
        glTexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), 0, 0, static_cast<GLsizei>(d.width),
                        static_cast<GLsizei>(d.height), gl.format, gl.type, pixels);
}

} // namespace platform

namespace platform {

Result CreateTextureChain(DisplayDriver* driver, const SurfaceDesc& request, Surface** out) {
    *out = nullptr;
    Result r = ErrGeneric;
    if (D3DShouldFail(D3DStep::CreateTexture, &r))
        return r;
    std::vector<SurfaceDesc> levels;
    r = TextureStorage::DescribeLevels(request, levels);
    if (Failed(r))
        return r;
    driver->MakeCurrent();
    TextureStorage* storage = new TextureStorage(levels);
    // Built from the smallest level up, so that each level can hold the next one.
    Surface* next = nullptr;
    for (size_t k = levels.size(); k-- > 0;) {
        if (k + 1 != levels.size())
            storage->AddRef();
        Surface* level = new Surface(driver, Surface::Kind::Texture, levels[k]);
        level->texture = storage;
        level->textureLevel = static_cast<uint32_t>(k);
        level->nextLevel = next;
        next = level;
    }
    *out = next;
    return ResultOk;
}

uint32_t Surface::GetTexture() const {
    return texture != nullptr ? texture->GetTexture() : 0;
}

Result Surface::LockTexture(SurfaceDesc& out, void** bits) {
    Result r = ErrGeneric;
    if (D3DShouldFail(D3DStep::LockTexture, &r))
        return r;
    uint8_t* memory = texture->Lock(textureLevel);
    if (memory == nullptr)
        return MakeDDResult(430); // surface busy: locked already
    out = desc;
    *bits = memory;
    return ResultOk;
}

Result Surface::UnlockTexture() {
    driver->MakeCurrent();
    return texture->Unlock(textureLevel) ? ResultOk : ErrNotLocked;
}

} // namespace platform
