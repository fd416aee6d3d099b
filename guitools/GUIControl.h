// The base of the controls a window description builds: it owns nothing but an optional animator model, and
// drives the engine element its concrete control creates: the description's geometry every frame, and the
// element's appearance and disappearance on the window's show and hide, with a delay, the model's show and
// hide ranges, an animator model that moves the element, and a fader that blends its alpha. Created and
// deleted by the GUIWindowBase that built it; many exist.
#pragma once

#include "engine/math/Vector.h"

#include <cstdint>
#include <string>

namespace OrvexEngine {
class AnimationControl;
class GUIWindow;
class Model;
class ShaderDescriptor;
} // namespace OrvexEngine

namespace GameTools {
class DataKeeper;
}

namespace GUITools {

// The common description values of one control, handed to every control's constructor.
struct GUIControlDescription {
    std::string name; // the control's full name
    std::string model;
    int32_t model_start_frame = -1; // -1: none given
    int32_t model_end_frame = -1;
    std::string shader;
    OrvexEngine::Vec2 uv{1, 1};
    std::string animator_model;
    int32_t animator_model_start_frame = -1;
    int32_t animator_model_end_frame = -1;
};

class GUIControl {
public:
    // Range ids of the model and animator animations.
    static constexpr uint32_t ShowRange = 0;
    static constexpr uint32_t HideRange = 1;

    // No element yet: the concrete control creates it and calls InitElement.
    GUIControl(GameTools::DataKeeper* dataKeeper, const GUIControlDescription& description);
    GUIControl(const GUIControl&) = delete;
    GUIControl& operator=(const GUIControl&) = delete;
    // Deletes the animator model; the concrete control has deleted its element already.
    virtual ~GUIControl();

    // Once a frame while the owning window is visible: delays, animations, geometry and the fader.
    virtual void Update();
    // Starts a show or a hide. With applyActions the action word for the direction decides: "show", "hide",
    // or any other word, which leaves the control untouched.
    virtual void Show(bool show, bool applyActions);
    // True from a show request until the element has finished hiding.
    virtual bool IsActive() const;

    // Never null once the concrete constructor has run.
    OrvexEngine::GUIWindow* GetWindow() const { return element; }
    const std::string& GetName() const { return name; }

    // Properties the description sets after construction.
    std::string show_action = "show";
    std::string hide_action = "hide";
    int32_t height = 1;
    OrvexEngine::Vec2 position{0, 0};
    OrvexEngine::Vec2 size{1, 1};
    bool hasSelection = false;
    OrvexEngine::Vec2 selection_position{0, 0};
    OrvexEngine::Vec2 selection_size{0, 0};
    std::string fader; // empty: no fader
    std::string type = "timed";
    float show_speed = 1;
    float hide_speed = 1;
    float min = 0;
    float max = 1;
    float fade_offset = 0;
    float show_offset = 0;
    float hide_offset = 0;

    // Run state, read by the text label and by tests.
    bool showRequested = false;
    float fadeTime = 0;
    float fadeValue = 0;
    bool transitionPending = false;
    float delayTime = 0;

    OrvexEngine::AnimationControl* modelAnimation = nullptr;    // not owned: the element model's, or none
    OrvexEngine::Model* animatorModel = nullptr;                // owned unregistered copy, or none
    OrvexEngine::AnimationControl* animatorAnimation = nullptr; // not owned: the animator's, or none

protected:
    // Called once by each concrete constructor right after it has created its element; leaves it hidden.
    void InitElement(OrvexEngine::GUIWindow* newElement, const GUIControlDescription& description);
    // The data keeper's "ui/" + name, or none for an empty name.
    OrvexEngine::Model* DescribedModel(const std::string& modelName) const;
    const OrvexEngine::ShaderDescriptor* DescribedMaterial(const std::string& shaderName) const;

    GameTools::DataKeeper* dataKeeper = nullptr; // not owned
    std::string name;
    OrvexEngine::GUIWindow* element = nullptr; // created and deleted by the concrete control
    OrvexEngine::Model* model = nullptr;       // not owned: the element's

private:
    // Adds the show and hide ranges from the given frames, or pins the single frame and returns null.
    static OrvexEngine::AnimationControl* SetUpRanges(OrvexEngine::AnimationControl* animation,
                                                      int32_t startFrame, int32_t endFrame);
    static void StartRange(OrvexEngine::AnimationControl* animation, uint32_t range);
    // True when the animation played its hide range to the end.
    static bool HideRangeEnded(const OrvexEngine::AnimationControl* animation);
    float ComputeFaderValue(float frameTime);
};

} // namespace GUITools
