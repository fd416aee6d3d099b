// One user's material: its own copy of the description (with the stages' scale, offset and current frame),
// one frame animation per stage, and the Shader it shares with every equal description. Created and deleted
// only by the ShaderManager; models, the GUI, sprite groups and gameplay hold them by pointer.
#pragma once

#include "engine/graphics/ShaderDescriptor.h"

#include <vector>

namespace OrvexEngine {

class AnimationControl;
class Shader;

class ShaderUser : public ShaderDescriptor {
public:
    // Copies the description and counts itself in the shader's references.
    ShaderUser(Shader* shader, const ShaderDescriptor& description);
    ShaderUser(const ShaderUser&) = delete;
    ShaderUser& operator=(const ShaderUser&) = delete;
    // Deletes the shader when this was its last user.
    ~ShaderUser() override;

    // Blending and textures of this material to the device; right before drawing.
    void Apply();
    // Once a frame: advances every animated stage and sets its current frame, or its atlas cell.
    void UpdateAtlasFrames();

    Shader* GetShader() const { return shader; }
    // The stage's animation (owners may set its position to show a chosen frame); null past the stages.
    AnimationControl* GetAnimation(uint32_t stage) const {
        return stage < animations.size() ? animations[stage] : nullptr;
    }

private:
    Shader* shader = nullptr;                  // shared, counted in its references
    std::vector<AnimationControl*> animations; // owned, one per stage
};

} // namespace OrvexEngine
