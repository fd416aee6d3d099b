// A texture as the renderer sees it: a named, reference-counted object that owns the TextureImage its device
// surface is made from. The render system creates them (RenderSystem::LoadTexture, CreateTexture) for the
// TextureManager, which shares them by key and deletes them when their last reference goes. Many exist; the
// platform form (Texture2D_D3D7) owns the device surface.
#pragma once

#include <cstdint>
#include <string>

namespace OrvexEngine {

class Image;
class TextureImage;

class Texture2D {
public:
    // Takes over both images (opacity may be null).
    Texture2D(const std::string& name, Image* diffuse, Image* opacity, bool mipMaps, bool onDemand);
    // The files are read when the surface is made; opacityName may be empty.
    Texture2D(const std::string& name, const std::string& diffuseName, const std::string& opacityName,
              bool mipMaps, bool onDemand);
    Texture2D(const Texture2D&) = delete;
    Texture2D& operator=(const Texture2D&) = delete;
    virtual ~Texture2D();

    // Gives the device surface back; it is made again at the next use.
    virtual void ReleaseSurface() {}
    // True while a device surface exists.
    virtual bool HasSurface() const { return false; }

    // Whether the texture has mip levels: the filter of a stage that binds it depends on it.
    bool HasMipMaps() const;

    std::string name;              // the manager's key for textures it made
    TextureImage* image = nullptr; // owned
    bool onDemand = false;         // surface made at first use, released after unused frames
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t memoryBytes = 0; // bytes uploaded to the current surface
    int refCount = 1;
    uint32_t framesUnused = 0; // raised by the manager each frame, reset by every bind
};

} // namespace OrvexEngine
