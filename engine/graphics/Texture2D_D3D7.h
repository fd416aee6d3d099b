// A texture on the Direct3D 7 device: owns one texture surface (with its mip levels) in a pixel format the
// device offers, filled from the TextureImage with conversion, released when asked and made again at its next
// use. Created by RenderSystem_D3D7::LoadTexture and CreateTexture, deleted by the TextureManager; registered
// in the render system's texture list for its whole life. Many exist.
#pragma once

#include "engine/graphics/RenderSystem.h"
#include "engine/graphics/Texture2D.h"
#include "platform/d3d/D3DTypes.h"

namespace platform {
class Surface;
}

namespace OrvexEngine {

class RenderSystem_D3D7;

class Texture2D_D3D7 final : public Texture2D {
public:
    // Takes over the images. An on-demand texture only learns its size now; others get their surface.
    Texture2D_D3D7(RenderSystem_D3D7* renderSystem, const std::string& name, Image* diffuse, Image* opacity,
                   bool mipMaps, bool onDemand);
    Texture2D_D3D7(RenderSystem_D3D7* renderSystem, const std::string& name, const std::string& diffuseName,
                   const std::string& opacityName, bool mipMaps, bool onDemand);
    ~Texture2D_D3D7() override;

    void ReleaseSurface() override;
    bool HasSurface() const override { return surface != nullptr; }
    // The surface, made first when there is none; null when it cannot be made.
    platform::Surface* GetSurface();
    // Makes and fills the surface; nothing when one exists. A surface that cannot be made or filled is logged
    // and left absent (the next use tries again).
    void CreateSurface();

    // The surface's pixel format and its TextureFormat code for an image of these bits and format, on the
    // render system's device and display. Ends the run through Fatal when the device offers nothing. Writes
    // one level (the opacity image gives level 0 its alpha) into locked surface memory laid out as desc says,
    // converting to its pixel format; returns the bytes uploaded. Reads stay within the images.
    static uint32_t Upload(const platform::SurfaceDesc& desc, uint8_t* bits, const Image& level,
                           const Image* opacity, TextureFormat format);

    static TextureFormat ChooseFormat(RenderSystem_D3D7* renderSystem, uint32_t bitsPerPixel,
                                      TextureFormat imageFormat, platform::PixelFormat& pixelFormat);

private:
    // Not owned: its device and DirectDraw object are looked up at each use, so textures outlive a device
    // reset.
    RenderSystem_D3D7* renderSystem = nullptr;
    platform::Surface* surface = nullptr; // one reference owned
};

} // namespace OrvexEngine
