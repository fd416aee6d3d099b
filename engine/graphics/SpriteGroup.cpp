#include "engine/graphics/SpriteGroup.h"

#include "engine/graphics/Camera.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/IndexBuffer.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/VertexBuffer.h"
#include "engine/math/Matrix4.h"

#include <algorithm>
#include <cmath>

namespace OrvexEngine {

namespace {

// Static, list, vertex colours, depth test, second list, box from the vertices, visible, no depth writes,
// vertex-buffer kind.
constexpr uint32_t spriteModelFlags = 0x2C84A9;

} // namespace

SpriteGroup::SpriteGroup(uint32_t count, const ShaderDescriptor* descriptor, Camera* groupCamera,
                         uint8_t onDemand)
    : freeIds(count), spriteCount(count) {
    camera = groupCamera != nullptr ? groupCamera : CameraManager::Instance()->GetDefaultCamera();
    model = ModelManager::Instance()->CreateModelFromArrays(spriteModelFlags, 4 * count, 6 * count, 1,
                                                            descriptor, camera, onDemand);
    std::vector<uint32_t> indices(size_t(6) * count);
    for (uint32_t t = 0; t < count; ++t) {
        const uint32_t quad[6] = {4 * t, 4 * t + 1, 4 * t + 2, 4 * t + 2, 4 * t + 1, 4 * t + 3};
        std::copy(quad, quad + 6, indices.begin() + 6 * size_t(t));
    }
    model->indexBuffer->SetIndices(0, 6 * count, indices.data());
    ColoredVertex* vertices = model->vertexBuffer->LockColoredVertices(0, 4 * count);
    const float uvs[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    for (uint32_t i = 0; i < 4 * count; ++i) {
        vertices[i].u = uvs[i % 4][0];
        vertices[i].v = uvs[i % 4][1];
    }
    model->vertexBuffer->Unlock();
    sprites.resize(count);
    drawList.reserve(count);
    for (uint32_t id = 0; id < count; ++id)
        freeIds.PushBack(id);
}

SpriteGroup::SpriteGroup(const SpriteGroup& other)
    : freeIds(other.freeIds), spriteCount(other.spriteCount), sprites(other.sprites), camera(other.camera),
      colour(other.colour) {
    model = ModelManager::Instance()->CreateModelCopy(*other.model, nullptr, 0);
    drawList.reserve(spriteCount);
    depthSort = other.depthSort;
}

SpriteGroup::~SpriteGroup() {
    if (ModelManager::Instance() != nullptr)
        ModelManager::Instance()->DeleteModel(model);
}

uint32_t SpriteGroup::AddSprite(const Vec3& position, float size, const Vec4& spriteColour) {
    if (freeIds.Empty())
        return noSprite;
    const uint32_t id = freeIds.Front();
    freeIds.PopFront();
    GroupSprite& sprite = sprites[id];
    sprite.free = false;
    sprite.position = position;
    sprite.size = size;
    sprite.colour = spriteColour;
    sprite.rotation = 0;
    return id;
}

void SpriteGroup::RemoveSprite(uint32_t id) {
    // Freeing an id twice would hand it out twice.
    if (id >= spriteCount || sprites[id].free)
        return;
    sprites[id].free = true;
    freeIds.PushBack(id);
}

GroupSprite& SpriteGroup::GetSprite(uint32_t id) {
    if (id >= spriteCount) {
        scratch = GroupSprite();
        return scratch;
    }
    return sprites[id];
}

bool SpriteGroup::IsVisible() const {
    return (model->GetFlags() & ModelVisible) != 0;
}

void SpriteGroup::SetVisible(bool visible) {
    if (visible)
        model->SetFlags(ModelVisible);
    else
        model->ClearFlags(ModelVisible);
}

ShaderUser* SpriteGroup::GetShaderUser() const {
    return model->material;
}

void SpriteGroup::SetShader(const ShaderDescriptor& descriptor) {
    model->SetShader(descriptor);
}

void SpriteGroup::BuildGeometry() {
    if (!IsVisible())
        return;
    const Vec3 C = camera->position;
    const Vec3 R = camera->rightAxis;
    const Vec3 U = camera->upAxis;
    const Vec3 B = camera->backAxis;

    drawList.clear();
    for (GroupSprite& sprite : sprites) {
        if (sprite.free)
            continue;
        if (depthSort)
            sprite.depth = B.Dot(C - sprite.position);
        drawList.push_back(&sprite);
    }
    if (depthSort)
        std::sort(drawList.begin(), drawList.end(), [](const GroupSprite* a, const GroupSprite* b) {
            // A NaN depth compares false both ways, which breaks the sort; the model pass's keys do not.
            const int64_t ka = DepthKey(a->depth);
            const int64_t kb = DepthKey(b->depth);
            return ka != kb ? ka > kb : a < b;
        });

    const uint32_t live = static_cast<uint32_t>(drawList.size());
    VertexBuffer& buffer = *model->vertexBuffer;
    if (live > 0) {
        ColoredVertex* vertices = buffer.LockColoredVertices(0, 4 * live);
        for (uint32_t j = 0; j < live; ++j) {
            const GroupSprite& sprite = *drawList[j];
            const Vec3& P = sprite.position;
            const float s = sprite.size;
            Vec3 corners[4] = {P + (-R - U) * s, P + (-R + U) * s, P + (R - U) * s, P + (R + U) * s};
            if (std::fabs(sprite.rotation) > 0.0001f) {
                const Matrix4 turn = Matrix4::RotationAxis(B, sprite.rotation);
                for (Vec3& corner : corners)
                    corner = P + turn.MultiplyPoint(corner - P);
            }
            const uint32_t packed = buffer.PackColor(sprite.colour * colour);
            for (uint32_t i = 0; i < 4; ++i) {
                vertices[4 * j + i].position = corners[i];
                vertices[4 * j + i].color = packed;
            }
        }
        buffer.Unlock();
    }
    model->indexBuffer->SetIndexCount(6 * live);
}

} // namespace OrvexEngine
