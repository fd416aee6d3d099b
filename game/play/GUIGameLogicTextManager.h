// The level's floating texts: short texts that pop up where something happened (a caught bonus's name),
// all queued on one GUI window of the manager's own, in the in-game overlay. Built and deleted by the level
// in play; one per level.
#pragma once

#include "engine/math/Vector.h"

#include <string>
#include <vector>

namespace OrvexEngine {
class GUIWindow;
}

namespace VelmoraBall {

class GUIGameLogicText;

class GUIGameLogicTextManager {
public:
    static constexpr int Order = 490;

    // Its window is made visible under the parent (a root window without one).
    GUIGameLogicTextManager(int font, OrvexEngine::GUIWindow* parent);
    GUIGameLogicTextManager(const GUIGameLogicTextManager&) = delete;
    GUIGameLogicTextManager& operator=(const GUIGameLogicTextManager&) = delete;
    // The texts still alive go without being drawn, then the window.
    virtual ~GUIGameLogicTextManager();

    // At a point in GUI units: the centre of the text block before it rises.
    void AddText(const std::wstring& text, const OrvexEngine::Vec2& position);
    // At a point of the field, projected through the current camera onto the GUI screen.
    void AddTextAtWorldPoint(const std::wstring& text, const OrvexEngine::Vec3& point);
    // Once a frame: every text ages and is queued; dead texts are deleted.
    void Update();

    const std::vector<GUIGameLogicText*>& GetTexts() const { return texts; }
    OrvexEngine::GUIWindow* GetWindow() const { return window; }

private:
    int font = -1;
    OrvexEngine::GUIWindow* window = nullptr; // owned, through the GUI manager
    std::vector<GUIGameLogicText*> texts;     // owned, in creation order
};

} // namespace VelmoraBall
