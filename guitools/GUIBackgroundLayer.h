// One layer of an animated background: a GUI window showing an animated model, or a particle system drawn
// in the GUI that follows the window, optionally moved by an animator model, with its own colour and a fade
// of its own. Created and deleted by the GUIBackgroundBase that owns it; many exist.
#pragma once

#include "engine/math/Vector.h"

#include <string>

namespace OrvexEngine {
class GUIWindow;
class Model;
class ParticleSystem;
} // namespace OrvexEngine

namespace GameTools {
class DataKeeper;
}

namespace GUITools {

// One frame of a linear fade, for the background and its layers: time advances by the frame time, the
// factor rises from 0 to 1 at speed per second (falls from 1 to 0 when hiding). Returns the factor and
// whether the fade has reached its end.
float AdvanceFade(float& time, float speed, bool showing, bool& finished);

class GUIBackgroundLayer {
public:
    // The names are complete data keeper names, empty when absent. A non-empty particle-system name makes a
    // particles layer; otherwise the window (the given one, or a new one) shows the model. Hidden until
    // shown. speed < 0 keeps the models' own animation speed.
    GUIBackgroundLayer(GameTools::DataKeeper* dataKeeper, const std::string& name,
                       OrvexEngine::GUIWindow* window, const std::string& modelName,
                       const std::string& particleSystemName, const std::string& shaderName,
                       const std::string& animatorModelName, bool randomStartFrame, float speed, bool loop,
                       const OrvexEngine::Vec4& color, int order, OrvexEngine::GUIWindow* parent);
    GUIBackgroundLayer(const GUIBackgroundLayer&) = delete;
    GUIBackgroundLayer& operator=(const GUIBackgroundLayer&) = delete;
    // Deletes the window and the animator, and gives the particle system back to its manager.
    virtual ~GUIBackgroundLayer();

    // With fade, the layer's own factor runs from 0 to 1 (show) or 1 to 0 (hide) at speed per second.
    void Show(bool show, bool fade, float speed);
    // Once a frame through the background: the animator moves the window, the particles follow it, the own
    // fade runs.
    void Update();
    // The window's (and particles') colour: the layer's colour with its alpha times factor and the own fade.
    void ApplyAlpha(float factor);

    GameTools::DataKeeper* dataKeeper = nullptr; // not owned
    std::string name;
    OrvexEngine::GUIWindow* window = nullptr;              // owned, through the GUI manager
    OrvexEngine::ParticleSystem* particleSystem = nullptr; // registered copy, released with the layer
    OrvexEngine::Model* animatorModel = nullptr;           // owned unregistered copy, or none
    bool randomStartFrame = true;
    OrvexEngine::Vec4 color{1, 1, 1, 1};
    bool showing = false;
    bool fading = false;
    float fadeSpeed = 1;
    float fadeTime = 0;
    float fadeFactor = 0;
};

} // namespace GUITools
