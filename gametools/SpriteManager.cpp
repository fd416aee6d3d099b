#include "gametools/SpriteManager.h"

#include "engine/graphics/AnimationControl.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIWindow.h"
#include "gametools/Sprite2D.h"

namespace GameTools {

SpriteManager::~SpriteManager() {
    // Each sprite is taken out of the table before it is deleted, so its own removal finds nothing and the
    // compaction a removal may cause never disturbs this walk over a copy.
    const std::vector<Sprite2D*> remaining = sprites.GetObjects();
    for (Sprite2D* sprite : remaining) {
        if (sprite != nullptr && sprites.Remove(sprite))
            delete sprite;
    }
}

Sprite2D* SpriteManager::CreateSprite(const OrvexEngine::Vec2& position, const OrvexEngine::Vec2& size,
                                      const std::vector<const OrvexEngine::ShaderDescriptor*>& frameMaterials,
                                      float speed, OrvexEngine::GUIWindow* parent) {
    OrvexEngine::GUIManager* gui = OrvexEngine::GUIManager::Instance();
    OrvexEngine::GUIWindow* container = gui->CreateWindow(OrvexEngine::GUI_WINDOW_VISIBLE, position,
                                                          OrvexEngine::Vec2(0, 0), nullptr, nullptr, parent);
    std::vector<OrvexEngine::GUIWindow*> frames;
    for (const OrvexEngine::ShaderDescriptor* material : frameMaterials)
        frames.push_back(gui->CreateWindow(0, OrvexEngine::Vec2(0, 0), size, nullptr, material, container));
    OrvexEngine::AnimationControl* animation = nullptr;
    if (!frames.empty()) {
        // Cyclic: the loop runs through every frame, the last one included, and back to the first.
        animation = new OrvexEngine::AnimationControl(1, static_cast<uint32_t>(frames.size()));
        animation->speed = speed;
        animation->loop = true;
        animation->Play();
    }
    auto* sprite = new Sprite2D(container, std::move(frames), animation);
    sprites.Add(sprite);
    return sprite;
}

void SpriteManager::Update() {
    for (Sprite2D* sprite : sprites.GetObjects())
        if (sprite != nullptr)
            sprite->Update();
}

void SpriteManager::RemoveSprite(Sprite2D* sprite) {
    sprites.Remove(sprite);
}

} // namespace GameTools
