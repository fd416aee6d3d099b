// Owns every 2D sprite and updates them once a frame (after the cursor, before the engine's tick). Created,
// registered and deleted by the application root; single instance.
#pragma once

#include "engine/core/GlobalPointerHolder.h"
#include "engine/core/ObjectManager.h"
#include "engine/math/Vector.h"

#include <vector>

namespace OrvexEngine {
class GUIWindow;
class ShaderDescriptor;
} // namespace OrvexEngine

namespace GameTools {

class Sprite2D;

class SpriteManager : public OrvexEngine::GlobalPointerHolder<SpriteManager> {
public:
    SpriteManager() = default;
    SpriteManager(const SpriteManager&) = delete;
    SpriteManager& operator=(const SpriteManager&) = delete;
    // Deletes the sprites still registered.
    virtual ~SpriteManager();

    // A new registered sprite: an empty container at `position` under `parent`, and one quad of `size` per
    // material inside it, shown in turn at `speed` frames per second, looping. Needs the GUI manager.
    Sprite2D* CreateSprite(const OrvexEngine::Vec2& position, const OrvexEngine::Vec2& size,
                           const std::vector<const OrvexEngine::ShaderDescriptor*>& frameMaterials,
                           float speed, OrvexEngine::GUIWindow* parent = nullptr);
    // Every sprite in slot order.
    void Update();
    // Forgets the sprite without deleting it.
    void RemoveSprite(Sprite2D* sprite);

    const OrvexEngine::ObjectManager<Sprite2D>& GetSprites() const { return sprites; }

private:
    OrvexEngine::ObjectManager<Sprite2D> sprites; // owned
};

} // namespace GameTools
