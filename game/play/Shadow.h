// A shadow on the field plane z = 0: a flattened, darkened copy of its owner's model (or a flattened box of
// the owner's size) shifted along the lighting's shadow direction, fading as the owner rises. Made and
// deleted only by Effects; the owner shows and hides it and may change its opacity.
#pragma once

#include <cstdint>

namespace OrvexEngine {
class Model;
}

namespace VelmoraBall {

class Lighting;

class Shadow {
public:
    static constexpr float DefaultOpacity = 0.25f;
    static constexpr float FadeHeight = 40.0f; // an owner this high casts the faintest shadow

    // Hidden until the owner shows it; the owner model must outlive the shadow.
    Shadow(const Lighting* lighting, const OrvexEngine::Model* owner, bool modelShaped);
    Shadow(const Shadow&) = delete;
    Shadow& operator=(const Shadow&) = delete;
    virtual ~Shadow();

    void SetVisible(bool shown);
    bool IsVisible() const;
    // Follows the owner: its current frame, the flattened matrix, the height fade. Only while visible.
    void Update();

    void SetOpacity(float value) { opacity = value; }
    float GetOpacity() const { return opacity; }
    OrvexEngine::Model* GetModel() const { return model; }

    // The darkness of a shadow of the given opacity under an owner whose bottom is at that height.
    static float Alpha(float opacity, float bottom);

private:
    const Lighting* lighting = nullptr;        // not owned
    const OrvexEngine::Model* owner = nullptr; // not owned
    OrvexEngine::Model* model = nullptr;       // owned, registered
    float opacity = DefaultOpacity;
};

} // namespace VelmoraBall
