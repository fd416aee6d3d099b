// One falling bonus: its model slides down the field (towards the bat, at -y) over a coloured flare until
// the bat catches it or it leaves the field; a caught bonus plays its catch particles before it retires.
// Made, updated and deleted by the BonusManager, which lends it a pooled model.
#pragma once

#include "engine/math/BoundingBox.h"
#include "engine/math/Vector.h"

#include <cstdint>

namespace OrvexEngine {
class Model;
class ParticleSystem;
class SpriteGroup;
struct GroupSprite;
} // namespace OrvexEngine

namespace GameTools {
class DataKeeper;
}

namespace VelmoraBall {

class Effects;

class Bonus {
public:
    static constexpr float FallSpeed = 18.0f;  // units per second
    static constexpr float FieldEnd = -110.0f; // a bonus below this has left the field

    // Takes the model (a registered copy of the kind's model); the flare group is not owned.
    Bonus(GameTools::DataKeeper* keeper, Effects* effects, int kind, OrvexEngine::Model* model,
          OrvexEngine::SpriteGroup* flareGroup, float flareSize, const OrvexEngine::Vec4& flareColour);
    Bonus(const Bonus&) = delete;
    Bonus& operator=(const Bonus&) = delete;
    virtual ~Bonus();

    // Starts the fall at the point; nothing when already active. Without a free flare sprite the bonus
    // falls without a flare.
    void Drop(const OrvexEngine::Vec2& position);
    void Update(float fade);
    void Catch();
    // Hands the model over; the bonus no longer has one.
    OrvexEngine::Model* TakeModel();

    const OrvexEngine::BoundingBox& GetBox() const;
    int GetKind() const { return kind; }
    bool IsActive() const { return active; }
    bool IsCaught() const { return caught; }
    const OrvexEngine::Vec2& GetPosition() const { return position; }
    bool HasFlare() const { return flareSprite != nullptr; }
    uint32_t GetFlareSpriteId() const { return flareSpriteId; }
    OrvexEngine::Model* GetModel() const { return model; }

private:
    void UpdateTransform();

    OrvexEngine::SpriteGroup* flareGroup = nullptr; // not owned
    int kind = 0;
    OrvexEngine::Model* model = nullptr;                   // owned, registered
    OrvexEngine::ParticleSystem* catchParticles = nullptr; // owned, registered
    float flareSize = 10;
    OrvexEngine::Vec4 flareColour;
    uint32_t flareSpriteId = 0;
    OrvexEngine::GroupSprite* flareSprite = nullptr; // in the flare group; null without a flare
    OrvexEngine::Vec2 position;
    bool caught = false;
    bool active = false;
};

} // namespace VelmoraBall
