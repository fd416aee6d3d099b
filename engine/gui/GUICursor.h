// Turns the mouse position into GUI units and, when it has a model, draws that model with its hot spot
// there, in front of every window layer. Created and deleted by the GUI manager, which moves every cursor
// to the mouse in its input step and places their models in its layout step; many may exist (the manager's
// own cursor has no model and only supplies the position the elements test against).
#pragma once

#include "engine/math/Vector.h"

namespace OrvexEngine {

class Camera;
class Model;
class ShaderDescriptor;

class GUICursor {
public:
    static constexpr float SortDepth = -30.1f;

    // With a source model: a copy of it, its own placement kept under the cursor's translation; else with
    // a material: a square of side `size` hanging right and down from the hot spot; else no model.
    GUICursor(Camera* camera, const Model* sourceModel, const ShaderDescriptor* material, float size);
    GUICursor(const GUICursor&) = delete;
    GUICursor& operator=(const GUICursor&) = delete;
    virtual ~GUICursor();

    // Position from the mouse. Without a window or mouse, or while the client area has no size, the
    // previous position is kept.
    void UpdateFromMouse();
    // Model transform and visibility; nothing without a model.
    void Update();

    Camera* GetCamera() const { return camera; }
    Model* GetModel() const { return model; }

    // Fields the cursor's owners read and set directly.
    bool visible = false; // shows the model; the position follows the mouse either way
    Vec2 position;        // the hot spot in GUI units; (0, 0) until the first input step

private:
    Camera* camera = nullptr; // not owned
    Model* model = nullptr;   // owned, through ModelManager
};

} // namespace OrvexEngine
