#include "gametools/Sprite2D.h"

#include "engine/graphics/AnimationControl.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIWindow.h"
#include "gametools/SpriteManager.h"

#include <utility>

namespace GameTools {

Sprite2D::Sprite2D(OrvexEngine::GUIWindow* containerElement,
                   std::vector<OrvexEngine::GUIWindow*> frameElements,
                   OrvexEngine::AnimationControl* frameClock)
    : container(containerElement), frames(std::move(frameElements)), animation(frameClock) {}

Sprite2D::~Sprite2D() {
    if (!frames.empty())
        delete animation;
    if (OrvexEngine::GUIManager* gui = OrvexEngine::GUIManager::Instance()) {
        gui->DeleteWindow(container);
        for (OrvexEngine::GUIWindow* frame : frames)
            gui->DeleteWindow(frame);
    }
    if (SpriteManager* manager = SpriteManager::Instance())
        manager->RemoveSprite(this);
    frames.clear();
}

void Sprite2D::Update() {
    if (frames.empty())
        return;
    animation->Update();
    for (size_t i = 0; i < frames.size(); ++i) {
        if (i == animation->currentFrame)
            frames[i]->SetFlags(OrvexEngine::GUI_WINDOW_VISIBLE);
        else
            frames[i]->ClearFlags(OrvexEngine::GUI_WINDOW_VISIBLE);
    }
}

} // namespace GameTools
