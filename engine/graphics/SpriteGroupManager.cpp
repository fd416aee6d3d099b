#include "engine/graphics/SpriteGroupManager.h"

#include "engine/graphics/SpriteGroup.h"

namespace OrvexEngine {

SpriteGroupManager::SpriteGroupManager() = default;

SpriteGroupManager::~SpriteGroupManager() = default; // the registry deletes what it holds

SpriteGroup* SpriteGroupManager::NewSpriteGroup(uint32_t spriteCount, const ShaderDescriptor* descriptor,
                                                Camera* camera, uint8_t onDemand) {
    return new SpriteGroup(spriteCount, descriptor, camera, onDemand);
}

SpriteGroup* SpriteGroupManager::CreateSpriteGroup(uint32_t spriteCount, const ShaderDescriptor* descriptor,
                                                   Camera* camera, uint8_t onDemand) {
    SpriteGroup* group = NewSpriteGroup(spriteCount, descriptor, camera, onDemand);
    registry.Add(group);
    return group;
}

SpriteGroup* SpriteGroupManager::CreateSpriteGroupCopy(const SpriteGroup& group) {
    SpriteGroup* copy = new SpriteGroup(group);
    registry.Add(copy);
    return copy;
}

void SpriteGroupManager::DeleteSpriteGroup(SpriteGroup* group) {
    if (registry.Remove(group))
        delete group;
}

void SpriteGroupManager::Update() {
    for (SpriteGroup* group : registry.GetObjects())
        if (group != nullptr)
            group->BuildGeometry();
}

} // namespace OrvexEngine
