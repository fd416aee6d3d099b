#include "engine/graphics/ShaderUser.h"

#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Shader.h"

#include <algorithm>

namespace OrvexEngine {

ShaderUser::ShaderUser(Shader* sharedShader, const ShaderDescriptor& description) : shader(sharedShader) {
    CopyFrom(description);
    for (uint32_t i = 0; i < stageCount; ++i) {
        const ShaderStage& stage = stages[i];
        AnimationControl* animation = new AnimationControl(1, std::max<uint32_t>(stage.frameCount, 1));
        animation->loop = true;
        animation->speed = stage.speed;
        if ((stage.flags & StageFlagRandomStart) != 0)
            animation->SetRandomStartFrame();
        else
            animation->position = 0;
        animation->Play();
        animations.push_back(animation);
    }
    ++shader->referenceCount;
}

ShaderUser::~ShaderUser() {
    for (AnimationControl* animation : animations)
        delete animation;
    animations.clear();
    if (--shader->referenceCount == 0)
        delete shader;
}

void ShaderUser::Apply() {
    shader->Apply(*this);
}

void ShaderUser::UpdateAtlasFrames() {
    for (uint32_t i = 0; i < stageCount && i < animations.size(); ++i) {
        ShaderStage& stage = stages[i];
        uint32_t frame = 0;
        if (stage.animationKind != AnimationStill) {
            animations[i]->Update();
            frame = animations[i]->currentFrame;
        }
        if (stage.animationKind != AnimationAtlas) {
            stage.currentFrame = frame;
            continue;
        }
        if (stage.columns == 0 || stage.rows == 0) {
            stage.currentFrame = 0; // no cells to pick from: the whole image stays
            continue;
        }
        // Each cell is shrunk by 0.1 % and centred so that filtering does not reach its neighbours; frame 0
        // is the top-left cell (rows counted from the bottom of the picture).
        const float margin = 0.001f;
        const float shrink = 1.0f - margin;
        const uint32_t column = frame % stage.columns;
        const uint32_t row = frame / stage.columns;
        const float fromBottom = static_cast<float>(stage.rows) - static_cast<float>(row) - 1.0f;
        stage.scaleU = shrink * (1.0f / static_cast<float>(stage.columns));
        stage.scaleV = shrink * (1.0f / static_cast<float>(stage.rows));
        stage.offsetU = stage.scaleU * (static_cast<float>(column) + margin * 0.5f) / shrink;
        stage.offsetV = stage.scaleV * (fromBottom + margin * 0.5f) / shrink;
        stage.currentFrame = 0;
    }
}

} // namespace OrvexEngine
