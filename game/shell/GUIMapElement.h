// One icon of the stage map: the level it stands for, drawn by a model window placed exactly where the map
// file puts it, a shadow window below it, and an invisible button over the middle of the icon for hover,
// clicks and double clicks. Its state is also the key frame its model shows. Created and deleted by the map
// window, one per map file element; the windows and the button are made and deleted through the GUI manager.
#pragma once

#include "engine/math/Matrix4.h"
#include "engine/math/Vector.h"

#include <cstdint>
#include <string>

namespace OrvexEngine {
class GUIButton;
class GUIWindow;
class Model;
class ShaderUser;
} // namespace OrvexEngine

namespace GameTools {
class DataKeeper;
class GUIDoubleClickDetecter;
} // namespace GameTools

namespace VelmoraBall {

class GUIMapElement {
public:
    // States, and the key frames of the icon models (2 is the hover look, 5 the shadow).
    static constexpr uint32_t StateOpen = 0;   // reached, after the selection
    static constexpr uint32_t StateBefore = 1; // before the selection
    static constexpr uint32_t FrameHover = 2;
    static constexpr uint32_t StateSelected = 3;
    static constexpr uint32_t StatePreview = 4; // not reached yet: shown by the path animation
    static constexpr uint32_t FrameShadow = 5;

    // placement: the file's matrix, in GUI units relative to the map window at windowPosition. Starts
    // hidden, open, unlocked, at alpha 1 and alpha factor 0. The button is registered with the detector.
    GUIMapElement(GameTools::DataKeeper* dataKeeper, GameTools::GUIDoubleClickDetecter* detector,
                  uint32_t type, const OrvexEngine::Matrix4& filePlacement,
                  const OrvexEngine::Vec2& windowPosition, uint32_t stage, uint32_t levelIndex,
                  OrvexEngine::GUIWindow* parent);
    GUIMapElement(const GUIMapElement&) = delete;
    GUIMapElement& operator=(const GUIMapElement&) = delete;
    virtual ~GUIMapElement();

    // The window's model shows key frame n when it has more than one.
    static void SetFrame(OrvexEngine::GUIWindow* window, uint32_t n);
    void SetState(uint32_t newState);
    // Showing also unlocks the element, unless it stands outside the level list.
    void SetShown(bool show);
    void Lock();
    // Locked for good: its position names no level of the level list, so it can never be selected.
    void LockOutsideLevelList();
    void SetAlpha(float x);
    void SetAlphaFactor(float f);
    // allow: a highlighted neighbour before it has the hover look already.
    void UpdateHover(bool allow);
    bool WasClicked() const;
    bool WasDoubleClicked() const;
    bool IsVisible() const;
    // A selected path element is drawn as a check point.
    void SetCheckPointLook(bool on);

    uint32_t GetType() const { return type; }
    uint32_t GetStage() const { return stage; }
    uint32_t GetLevelIndex() const { return levelIndex; }
    uint32_t GetState() const { return state; }
    bool IsHighlighted() const { return highlighted; }
    bool IsLocked() const { return locked; }
    bool IsOutsideLevelList() const { return outsideLevelList; }
    bool HasCheckPointLook() const { return checkPointLook; }
    float GetAlpha() const { return alpha; }
    float GetAlphaFactor() const { return alphaFactor; }
    OrvexEngine::GUIWindow* GetMainWindow() const { return mainWindow; }
    OrvexEngine::GUIWindow* GetShadowWindow() const { return shadowWindow; }
    OrvexEngine::GUIButton* GetButton() const { return button; }
    const OrvexEngine::Matrix4& GetPlacement() const { return placement; }

    // The resource name of the model and material of a type; empty for an unknown type.
    static std::string ResourceName(uint32_t type);

private:
    // A window showing a copy of the model exactly at the matrix, outside the GUI layout.
    OrvexEngine::GUIWindow* CreateModelWindow(OrvexEngine::Model* model, const OrvexEngine::Matrix4& matrix,
                                              int order);
    // Main and shadow windows with the named resource's model and material (none for an empty name).
    void CreateWindows(const std::string& resource);
    void DeleteWindows();

    GameTools::DataKeeper* dataKeeper = nullptr;           // not owned
    GameTools::GUIDoubleClickDetecter* detector = nullptr; // not owned
    OrvexEngine::GUIWindow* parentWindow = nullptr;        // not owned
    OrvexEngine::GUIWindow* mainWindow = nullptr;          // owned, through the GUI manager
    OrvexEngine::GUIWindow* shadowWindow = nullptr;        // owned, through the GUI manager
    OrvexEngine::GUIButton* button = nullptr;              // owned, through the GUI manager
    OrvexEngine::Matrix4 placement;
    uint32_t type = 0;
    bool highlighted = false;
    uint32_t stage = 0;
    uint32_t levelIndex = 0;
    uint32_t state = StateOpen;
    bool locked = false;
    bool outsideLevelList = false;
    bool checkPointLook = false;
    float alpha = 1;
    float alphaFactor = 0;
};

} // namespace VelmoraBall
