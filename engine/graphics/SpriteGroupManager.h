// Makes sprite groups, keeps the registered ones, rebuilds their quads once a frame (after the particle
// systems moved their sprites, before the render pass) and deletes them. Created by the Engine after the
// ModelManager and deleted after the particle systems are gone; single instance.
#pragma once

#include "engine/core/GlobalPointerHolder.h"
#include "engine/core/ObjectManager.h"

#include <cstdint>

namespace OrvexEngine {

class Camera;
class ShaderDescriptor;
class SpriteGroup;

class SpriteGroupManager : public GlobalPointerHolder<SpriteGroupManager> {
public:
    SpriteGroupManager();
    SpriteGroupManager(const SpriteGroupManager&) = delete;
    SpriteGroupManager& operator=(const SpriteGroupManager&) = delete;
    // Deletes the registered groups.
    virtual ~SpriteGroupManager();

    // Not registered: its owner deletes it and it is not rebuilt here.
    SpriteGroup* NewSpriteGroup(uint32_t spriteCount, const ShaderDescriptor* descriptor, Camera* camera,
                                uint8_t onDemand);
    SpriteGroup* CreateSpriteGroup(uint32_t spriteCount, const ShaderDescriptor* descriptor, Camera* camera,
                                   uint8_t onDemand);
    SpriteGroup* CreateSpriteGroupCopy(const SpriteGroup& group);
    // Deletes a registered group; null or an unregistered group is left alone.
    void DeleteSpriteGroup(SpriteGroup* group);
    // Once a frame: every registered group rebuilt in slot order.
    void Update();

private:
    ObjectManager<SpriteGroup> registry;
};

} // namespace OrvexEngine
