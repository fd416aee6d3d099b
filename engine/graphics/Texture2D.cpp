#include "engine/graphics/Texture2D.h"

#include "engine/graphics/TextureImage.h"

namespace OrvexEngine {

Texture2D::Texture2D(const std::string& textureName, Image* diffuse, Image* opacity, bool mipMaps,
                     bool isOnDemand)
    : name(textureName), image(new TextureImage(diffuse, opacity, mipMaps)), onDemand(isOnDemand) {}

Texture2D::Texture2D(const std::string& textureName, const std::string& diffuseName,
                     const std::string& opacityName, bool mipMaps, bool isOnDemand)
    : name(textureName), image(new TextureImage(diffuseName, opacityName, mipMaps)), onDemand(isOnDemand) {}

Texture2D::~Texture2D() {
    delete image;
}

bool Texture2D::HasMipMaps() const {
    return image != nullptr && image->mipMapping;
}

} // namespace OrvexEngine
