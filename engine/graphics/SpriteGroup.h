// Many camera-facing square sprites of one material drawn as one model: a fixed pool of sprites (position,
// size, rotation, colour) whose quads are rebuilt every frame to face the group's camera, optionally farthest
// first. Made and deleted through SpriteGroupManager; particle systems draw through one each, gameplay uses
// them for flares and glows. The group's model is registered with the ModelManager and dies with the group.
#pragma once

#include "engine/math/Vector.h"

#include <cstdint>
#include <vector>

namespace OrvexEngine {

class Camera;
class Model;
class ShaderDescriptor;
class ShaderUser;

// A first-in first-out queue of pool ids with a fixed capacity, kept in one ring, so that ids move between
// free and live without allocating. Sprite groups and particle systems keep their free ids in one.
class IdQueue {
public:
    explicit IdQueue(uint32_t capacity = 0) : ring(capacity) {}

    bool Empty() const { return count == 0; }
    uint32_t Size() const { return count; }
    // Only when not empty.
    uint32_t Front() const { return ring[head]; }
    void PopFront() {
        head = (head + 1) % static_cast<uint32_t>(ring.size());
        --count;
    }
    // False, and nothing queued, when the queue is full.
    bool PushBack(uint32_t id) {
        if (count == ring.size())
            return false;
        ring[(head + count) % ring.size()] = id;
        ++count;
        return true;
    }

private:
    std::vector<uint32_t> ring;
    uint32_t head = 0;
    uint32_t count = 0;
};

struct GroupSprite {
    bool free = true;
    float depth = 0; // in front of the camera, from the last rebuild with depth sort
    Vec3 position;
    float size = 0;     // half the side of the square
    float rotation = 0; // radians about the camera's viewing axis
    Vec4 colour{1, 1, 1, 1};
};

class SpriteGroup {
public:
    // Returned by AddSprite when every sprite is in use.
    static constexpr uint32_t noSprite = 0xFFFFFFFFu;

    // Camera none: the camera manager's default camera.
    SpriteGroup(uint32_t spriteCount, const ShaderDescriptor* descriptor, Camera* camera, uint8_t onDemand);
    // Same count and camera, a registered copy of the other's model, its free ids, records, sort and colour.
    explicit SpriteGroup(const SpriteGroup& other);
    SpriteGroup& operator=(const SpriteGroup&) = delete;
    virtual ~SpriteGroup();

    // The id freed first; noSprite (and nothing changes) when the group is full.
    uint32_t AddSprite(const Vec3& position, float size, const Vec4& colour);
    // An id that is not live (free, out of range, noSprite) is ignored.
    void RemoveSprite(uint32_t id);
    // An id out of range gives a scratch record that nothing draws.
    GroupSprite& GetSprite(uint32_t id);
    bool IsVisible() const;
    void SetVisible(bool visible);
    void SetColor(const Vec4& newColour) { colour = newColour; }
    const Vec4& GetColor() const { return colour; }
    ShaderUser* GetShaderUser() const;
    void SetShader(const ShaderDescriptor& descriptor);
    Model* GetModel() const { return model; }
    Camera* GetCamera() const { return camera; }
    uint32_t GetSpriteCount() const { return spriteCount; }
    // The live sprites' quads facing the camera; nothing while hidden.
    void BuildGeometry();

    bool depthSort = true; // live sprites drawn farthest first

private:
    IdQueue freeIds;
    uint32_t spriteCount = 0;
    std::vector<GroupSprite> sprites;
    std::vector<GroupSprite*> drawList; // not owned: the live sprites in drawing order
    Camera* camera = nullptr;           // not owned
    Model* model = nullptr;             // owned through the ModelManager
    Vec4 colour{1, 1, 1, 1};
    GroupSprite scratch;
};

} // namespace OrvexEngine
