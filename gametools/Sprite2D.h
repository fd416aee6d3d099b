// A frame-by-frame animation on the GUI: one GUI element per frame under a container element, of which
// only the element of the animation's current frame is visible. Made and registered by the sprite manager,
// which updates it every frame; it deletes its elements through the GUI manager and leaves the manager's
// table when it is deleted. Many may exist.
#pragma once

#include <vector>

namespace OrvexEngine {
class AnimationControl;
class GUIWindow;
} // namespace OrvexEngine

namespace GameTools {

class Sprite2D {
public:
    // Takes the elements (made through the GUI manager) and, when there are frames, the animation.
    Sprite2D(OrvexEngine::GUIWindow* container, std::vector<OrvexEngine::GUIWindow*> frames,
             OrvexEngine::AnimationControl* animation);
    Sprite2D(const Sprite2D&) = delete;
    Sprite2D& operator=(const Sprite2D&) = delete;
    // Deletes the animation and every element, and removes itself from the sprite manager.
    virtual ~Sprite2D();

    // Advances the animation and shows the current frame's element alone. Nothing without frames.
    void Update();

    OrvexEngine::GUIWindow* GetContainer() const { return container; }
    const std::vector<OrvexEngine::GUIWindow*>& GetFrames() const { return frames; }
    OrvexEngine::AnimationControl* GetAnimation() const { return animation; }

private:
    OrvexEngine::GUIWindow* container = nullptr;        // owned, through GUIManager
    std::vector<OrvexEngine::GUIWindow*> frames;        // owned, through GUIManager; frame index = position
    OrvexEngine::AnimationControl* animation = nullptr; // owned; present when there are frames
};

} // namespace GameTools
