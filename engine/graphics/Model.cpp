#include "engine/graphics/Model.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/files/FilePaths.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/IndexBuffer.h"
#include "engine/graphics/LightManager.h"
#include "engine/graphics/RenderSystem.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/graphics/Skeleton.h"
#include "engine/graphics/VertexBuffer.h"
#include "engine/math/Plane.h"

#include <algorithm>
#include <cmath>

namespace OrvexEngine {

namespace {

constexpr float farBound = 100000.0f;
constexpr float pickMiss = 100000.0f;

// The three cull bits exclude each other.
constexpr uint32_t cullBits = ModelCullClockwise | ModelTwoPasses | ModelCullCounterClockwise;

// Position, normal and texture coordinates of vertex i, whichever layout the buffer has.
template <class Vertex> Vertex* VertexAt(void* data, uint32_t i) {
    return static_cast<Vertex*>(data) + i;
}

void WriteVertex(VertexBuffer& buffer, void* data, uint32_t i, const Vec3& position, const Vec3& normal,
                 const Vec2& uv) {
    if (buffer.HasColor()) {
        ColoredVertex* v = VertexAt<ColoredVertex>(data, i);
        v->position = position;
        v->normal = normal;
        v->u = uv.x;
        v->v = uv.y;
    } else {
        PlainVertex* v = VertexAt<PlainVertex>(data, i);
        v->position = position;
        v->normal = normal;
        v->u = uv.x;
        v->v = uv.y;
    }
}

void WritePositionAndNormal(VertexBuffer& buffer, void* data, uint32_t i, const Vec3& position,
                            const Vec3& normal) {
    if (buffer.HasColor()) {
        VertexAt<ColoredVertex>(data, i)->position = position;
        VertexAt<ColoredVertex>(data, i)->normal = normal;
    } else {
        VertexAt<PlainVertex>(data, i)->position = position;
        VertexAt<PlainVertex>(data, i)->normal = normal;
    }
}

void WriteUv(VertexBuffer& buffer, void* data, uint32_t i, const Vec2& uv) {
    if (buffer.HasColor()) {
        VertexAt<ColoredVertex>(data, i)->u = uv.x;
        VertexAt<ColoredVertex>(data, i)->v = uv.y;
    } else {
        VertexAt<PlainVertex>(data, i)->u = uv.x;
        VertexAt<PlainVertex>(data, i)->v = uv.y;
    }
}

// Both layouts start with the position.
Vec3 PositionOf(const VertexBuffer& buffer, uint32_t i) {
    Vec3 position;
    const uint8_t* at = buffer.GetData() + size_t(i) * buffer.GetStride();
    std::copy(at, at + sizeof(Vec3), reinterpret_cast<uint8_t*>(position.Data()));
    return position;
}

} // namespace

Model::~Model() {
    if (material != nullptr && ShaderManager::Instance() != nullptr)
        ShaderManager::Instance()->ReleaseShaderUser(material);
    delete skeleton;
    delete animationControl;
    delete vertexBuffer;
    delete indexBuffer;
}

void Model::SetFlags(uint32_t bits) {
    flags |= bits;
    if (bits & ModelFirstList)
        flags &= ~ModelSecondList;
    else if (bits & ModelSecondList)
        flags &= ~ModelFirstList;
    if (bits & ModelCullClockwise)
        flags &= ~(cullBits & ~ModelCullClockwise);
    else if (bits & ModelCullCounterClockwise)
        flags &= ~(cullBits & ~ModelCullCounterClockwise);
    else if (bits & ModelTwoPasses)
        flags &= ~(cullBits & ~ModelTwoPasses);
}

void Model::ClearFlags(uint32_t bits) {
    if (bits & (ModelFirstList | ModelSecondList))
        flags |= ModelFirstList | ModelSecondList;
    flags &= ~bits;
}

void Model::SetCamera(Camera* newCamera) {
    camera = newCamera != nullptr ? newCamera : CameraManager::Instance()->GetDefaultCamera();
}

void Model::SetShader(const ShaderDescriptor& descriptor) {
    ShaderUser* created = ShaderManager::Instance()->CreateShaderUser(descriptor, 0);
    if (material != nullptr)
        ShaderManager::Instance()->ReleaseShaderUser(material);
    material = created;
}

void Model::SetColor(const Vec4& color) {
    vertexBuffer->SetColor(color);
}

Vec4 Model::GetColor() const {
    Vec4 color(1.0f);
    if (vertexBuffer->GetVertexCount() > 0)
        vertexBuffer->GetVertexColor(color, 0);
    return color;
}

void Model::ScaleTextureCoordinates(const Vec2& scale) {
    const uint32_t count = vertexBuffer->GetVertexCount();
    void* data = vertexBuffer->Lock(0, count);
    for (uint32_t i = 0; i < count; ++i) {
        if (vertexBuffer->HasColor()) {
            VertexAt<ColoredVertex>(data, i)->u *= scale.x;
            VertexAt<ColoredVertex>(data, i)->v *= scale.y;
        } else {
            VertexAt<PlainVertex>(data, i)->u *= scale.x;
            VertexAt<PlainVertex>(data, i)->v *= scale.y;
        }
    }
    vertexBuffer->Unlock();
}

void Model::ComputeBoundingBox(BoundingBox& target) const {
    Vec3 min(farBound);
    Vec3 max(-farBound);
    const uint32_t count = indexBuffer->GetIndexCount();
    const uint32_t vertexCount = vertexBuffer->GetVertexCount();
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t index = indexBuffer->GetIndex(i);
        // An owner filling its own buffers may leave indices beyond its vertices.
        if (index >= vertexCount)
            continue;
        const Vec3 p = PositionOf(*vertexBuffer, index);
        for (int c = 0; c < 3; ++c) {
            min[c] = std::min(min[c], p[c]);
            max[c] = std::max(max[c], p[c]);
        }
    }
    target.Set(min, max);
}

void Model::UpdatePrimitiveCount() {
    const uint32_t count = indexBuffer->GetIndexCount();
    primitiveCount = strip ? (count < 3 ? 0 : count - 2) : count / 3;
}

void Model::FinishConstruction(Camera* newCamera) {
    SetCamera(newCamera);
    transform = Matrix4::Identity();
    baseTransform = Matrix4::Identity();
    sortDepth = 0;
    lastFrameValid = false;
    lastCurrentFrame = 0;
    lastNextFrame = 0;
    lastBlendFraction = 0;
    strip = (flags & ModelTriangleList) ? 0 : 1;
    UpdatePrimitiveCount();
    drawnPrimitives = 0;
}

void Model::InitBox(const Vec3& min, const Vec3& max, const ShaderDescriptor* descriptor, Camera* newCamera,
                    uint32_t extraFlags) {
    name = "box";
    flags = 0x422C9;
    SetFlags(extraFlags);
    animationControl = new AnimationControl(0, 1);
    RenderSystem* renderSystem = RenderSystem::Instance();
    vertexBuffer = renderSystem->CreateVertexBuffer((flags & ModelVertexBufferKind) != 0,
                                                    (flags & ModelVertexColors) != 0, 24);
    const Vec3& m = min;
    const Vec3& M = max;
    struct Corner {
        Vec3 position;
        Vec3 normal;
        Vec2 uv;
    };
    const Corner corners[24] = {
        {{m.x, m.y, m.z}, {0, 0, -1}, {1, 0}}, {{m.x, M.y, m.z}, {0, 0, -1}, {1, 1}},
        {{M.x, M.y, m.z}, {0, 0, -1}, {0, 1}}, {{M.x, m.y, m.z}, {0, 0, -1}, {0, 0}},
        {{m.x, m.y, M.z}, {0, 0, 1}, {0, 0}},  {{M.x, m.y, M.z}, {0, 0, 1}, {1, 0}},
        {{M.x, M.y, M.z}, {0, 0, 1}, {1, 1}},  {{m.x, M.y, M.z}, {0, 0, 1}, {0, 1}},
        {{m.x, m.y, m.z}, {0, -1, 0}, {0, 0}}, {{M.x, m.y, m.z}, {0, -1, 0}, {1, 0}},
        {{M.x, m.y, M.z}, {0, -1, 0}, {1, 1}}, {{m.x, m.y, M.z}, {0, -1, 0}, {0, 1}},
        {{M.x, m.y, m.z}, {1, 0, 0}, {0, 0}},  {{M.x, M.y, m.z}, {1, 0, 0}, {1, 0}},
        {{M.x, M.y, M.z}, {1, 0, 0}, {1, 1}},  {{M.x, m.y, M.z}, {1, 0, 0}, {0, 1}},
        {{M.x, M.y, m.z}, {0, 1, 0}, {0, 0}},  {{m.x, M.y, m.z}, {0, 1, 0}, {1, 0}},
        {{m.x, M.y, M.z}, {0, 1, 0}, {1, 1}},  {{M.x, M.y, M.z}, {0, 1, 0}, {0, 1}},
        {{m.x, M.y, m.z}, {-1, 0, 0}, {0, 0}}, {{m.x, m.y, m.z}, {-1, 0, 0}, {1, 0}},
        {{m.x, m.y, M.z}, {-1, 0, 0}, {1, 1}}, {{m.x, M.y, M.z}, {-1, 0, 0}, {0, 1}},
    };
    void* data = vertexBuffer->Lock(0, 24);
    for (uint32_t i = 0; i < 24; ++i)
        WriteVertex(*vertexBuffer, data, i, corners[i].position, corners[i].normal, corners[i].uv);
    vertexBuffer->Unlock();

    indexBuffer = renderSystem->CreateIndexBuffer((flags & ModelIndexBufferKind) != 0, 36);
    uint32_t indices[36];
    for (uint32_t f = 0; f < 6; ++f) {
        const uint32_t face[6] = {4 * f, 4 * f + 1, 4 * f + 2, 4 * f + 2, 4 * f + 3, 4 * f};
        std::copy(face, face + 6, indices + 6 * f);
    }
    indexBuffer->SetIndices(0, 36, indices);

    material = ShaderManager::Instance()->CreateShaderUser(
        descriptor != nullptr ? *descriptor : ShaderDescriptor(), 0);
    FinishConstruction(newCamera);
    ComputeBoundingBox(box);
}

void Model::InitFromArrays(uint32_t newFlags, uint32_t vertexCount, uint32_t indexCount, uint32_t frameCount,
                           const ShaderDescriptor* descriptor, Camera* newCamera, uint8_t onDemand) {
    flags = newFlags != 0 ? newFlags : uint32_t(ModelVertexBufferKind);
    name = "self_made";
    animationControl = new AnimationControl(0, std::max(frameCount, 1u));
    RenderSystem* renderSystem = RenderSystem::Instance();
    indexBuffer = renderSystem->CreateIndexBuffer((flags & ModelIndexBufferKind) != 0, indexCount);
    vertexBuffer = renderSystem->CreateVertexBuffer((flags & ModelVertexBufferKind) != 0,
                                                    (flags & ModelVertexColors) != 0, vertexCount);
    if (descriptor != nullptr)
        material = ShaderManager::Instance()->CreateShaderUser(*descriptor, onDemand);
    else
        material = ShaderManager::Instance()->CreateShaderUser(ShaderDescriptor(), 0);
    FinishConstruction(newCamera);
    box.Set(Vec3(-0.0001f), Vec3(0.0001f));
}

void Model::LoadFromFile(const std::string& fileName, Camera* newCamera, uint32_t extraFlags,
                         uint8_t onDemand) {
    name = fileName;
    ModelFileContents file;
    try {
        ModelFile::Read(fileName, extraFlags, file);
    } catch (const FileError& error) {
        Log()->Error(error.GetText());
        throw Error(error.GetText());
    }
    flags = file.flags;
    const uint32_t frames = file.frameCount;
    const uint32_t vertexCount = file.vertexCount;
    RenderSystem* renderSystem = RenderSystem::Instance();

    if (flags & ModelSkinned) {
        skeleton = file.skeleton.release();
        keyData = std::move(file.keys);
    }
    indexBuffer = renderSystem->CreateIndexBuffer((flags & ModelIndexBufferKind) != 0,
                                                  static_cast<uint32_t>(file.indices.size()));
    indexBuffer->SetIndices(0, static_cast<uint32_t>(file.indices.size()), file.indices.data());
    vertexBuffer = renderSystem->CreateVertexBuffer((flags & ModelVertexBufferKind) != 0,
                                                    (flags & ModelVertexColors) != 0, vertexCount);
    if (flags & ModelVertexAnimation)
        frameVertices.assign(size_t(vertexCount) * frames, FrameVertex());
    else if (flags & ModelSkinned)
        vertexInfluences.assign(vertexCount, VertexInfluences());

    if (flags & ModelStatic) {
        void* data = vertexBuffer->Lock(0, vertexCount);
        for (uint32_t i = 0; i < vertexCount; ++i) {
            const FrameVertex& v = file.vertices[i];
            WriteVertex(*vertexBuffer, data, i, v.position, v.normal, v.uv);
        }
        vertexBuffer->Unlock();
    } else if (flags & ModelVertexAnimation) {
        frameVertices = std::move(file.vertices);
    } else if (flags & ModelSkinned) {
        void* data = vertexBuffer->Lock(0, vertexCount);
        for (uint32_t i = 0; i < vertexCount; ++i)
            WriteUv(*vertexBuffer, data, i, file.skinnedUvs[i]);
        vertexBuffer->Unlock();
        vertexInfluences = std::move(file.influences);
    }

    if (flags & ModelVertexAnimation)
        frameBoxes = std::move(file.frameBoxes);
    box = file.box;
    if (skeleton != nullptr) {
        skeleton->Animate(keyData, 0, 0, 0);
        box = skeleton->box;
    }
    animationControl = new AnimationControl(0, frames);
    animationControl->speed = file.speed;
    std::string materialName = fileName;
    ReplaceExtension(materialName, "srf");
    material = ShaderManager::Instance()->LoadShaderUser(materialName, onDemand);
    FinishConstruction(newCamera);
}

void Model::CopyFrom(const Model& source, Camera* newCamera, uint32_t extraFlags) {
    flags = source.flags | extraFlags;
    if (flags == 0)
        flags = ModelVertexBufferKind;
    name = source.name;
    animationControl = new AnimationControl(*source.animationControl);
    if ((flags & ModelSkinned) && source.skeleton != nullptr) {
        skeleton = new Skeleton(*source.skeleton);
        keyData = source.keyData;
    }
    if (flags & ModelVertexAnimation)
        frameVertices = source.frameVertices;
    else if (flags & ModelSkinned)
        vertexInfluences = source.vertexInfluences;
    frameBoxes = source.frameBoxes;
    RenderSystem* renderSystem = RenderSystem::Instance();
    vertexBuffer = renderSystem->CreateVertexBufferFrom(
        (flags & ModelVertexBufferKind) != 0, (flags & ModelVertexColors) != 0, *source.vertexBuffer);
    indexBuffer =
        renderSystem->CreateIndexBufferFrom((flags & ModelIndexBufferKind) != 0, *source.indexBuffer);
    box = source.box;
    material = ShaderManager::Instance()->CreateShaderUserByPolicy(*source.material, 0);
    camera = newCamera != nullptr ? newCamera : source.camera;
    transform = source.transform;
    box.SetTransform(transform);
    baseTransform = source.baseTransform;
    sortDepth = source.sortDepth;
    strip = source.strip;
    lastFrameValid = source.lastFrameValid;
    lastCurrentFrame = source.lastCurrentFrame;
    lastNextFrame = source.lastNextFrame;
    lastBlendFraction = source.lastBlendFraction;
    UpdatePrimitiveCount();
    drawnPrimitives = 0;
}

void Model::Update(bool cullFlag) {
    uint32_t current = 0;
    uint32_t next = 0;
    float fraction = 0;
    if (flags & (ModelVertexAnimation | ModelSkinned)) {
        animationControl->Update();
        current = animationControl->currentFrame;
        next = animationControl->nextFrame;
        fraction = animationControl->blendFraction;
    }
    if (!(flags & ModelVisible))
        return;

    if ((flags & ModelBoxFromVertices) && (flags & ModelStatic)) {
        ComputeBoundingBox(box);
        box.SetTransform(transform);
    }
    if (flags & ModelVertexAnimation) {
        // A mesh its owner builds may carry fewer frame boxes than its animation has frames.
        if (std::max(current, next) < frameBoxes.size())
            box = BlendBoundingBoxes(frameBoxes[current], frameBoxes[next], fraction);
        box.SetTransform(transform);
    } else if ((flags & ModelSkinned) && skeleton != nullptr) {
        skeleton->Animate(keyData, current, next, fraction);
        box = skeleton->box;
        box.SetTransform(transform);
    }

    UpdatePrimitiveCount();
    drawnPrimitives = primitiveCount;
    if (cullFlag && !camera->frustum->IntersectsSphere(box))
        drawnPrimitives = 0;
    if (drawnPrimitives == 0)
        return;

    if (!(flags & ModelFixedSortDepth))
        sortDepth = camera->backAxis.Dot(camera->position - box.GetCentre());

    const bool changed = !(lastFrameValid && lastCurrentFrame == current && lastNextFrame == next &&
                           std::fabs(lastBlendFraction - fraction) < 0.0001f);
    lastFrameValid = true;
    lastCurrentFrame = current;
    lastNextFrame = next;
    lastBlendFraction = fraction;
    if (!changed)
        return;
    if (flags & ModelVertexAnimation)
        BlendFrameVertices(current, next, fraction);
    else if (flags & ModelSkinned)
        SkinVertices();
}

void Model::BlendFrameVertices(uint32_t current, uint32_t next, float fraction) {
    const uint32_t count = vertexBuffer->GetVertexCount();
    // A mesh its owner builds may carry fewer frames than its animation has.
    if ((size_t(std::max(current, next)) + 1) * count > frameVertices.size())
        return;
    void* data = vertexBuffer->Lock(0, count);
    const FrameVertex* a = frameVertices.data() + size_t(current) * count;
    const FrameVertex* b = frameVertices.data() + size_t(next) * count;
    const float keep = 1 - fraction;
    for (uint32_t v = 0; v < count; ++v)
        WriteVertex(*vertexBuffer, data, v, a[v].position * keep + b[v].position * fraction,
                    a[v].normal * keep + b[v].normal * fraction, a[v].uv * keep + b[v].uv * fraction);
    vertexBuffer->Unlock();
}

void Model::SkinVertices() {
    if (skeleton == nullptr)
        return;
    const uint32_t count =
        std::min<uint32_t>(vertexBuffer->GetVertexCount(), static_cast<uint32_t>(vertexInfluences.size()));
    void* data = vertexBuffer->Lock(0, count);
    for (uint32_t v = 0; v < count; ++v) {
        const VertexInfluences& record = vertexInfluences[v];
        Vec3 position;
        Vec3 normal;
        for (uint16_t i = 0; i < std::min(record.count, VertexInfluences::maxInfluences); ++i) {
            const BoneInfluence& influence = record.influences[i];
            if (influence.bone >= skeleton->boneCount)
                continue;
            const Bone& bone = skeleton->bones[influence.bone];
            position += bone.fullMatrix.MultiplyPoint(influence.position) * influence.weight;
            normal += bone.normalMatrix.MultiplyPoint(influence.normal) * influence.weight;
        }
        WritePositionAndNormal(*vertexBuffer, data, v, position, normal);
    }
    vertexBuffer->Unlock();
}

void Model::Render() {
    if (!(flags & ModelVisible) || drawnPrimitives == 0)
        return;
    RenderSystem* renderSystem = RenderSystem::Instance();
    if (material->stageCount > renderSystem->stageCount)
        return;
    if ((flags & ModelStencil) && !renderSystem->hasStencil)
        return;
    CameraManager::Instance()->SetActiveCamera(camera, (flags & ModelZBiased) != 0);
    const bool lit = (flags & ModelLit) != 0;
    LightManager::Instance()->EnableLighting(lit);
    renderSystem->SetNormalizeNormals(lit);
    renderSystem->SetWorldMatrix(transform);
    renderSystem->SetZ((flags & ModelDepthTest) != 0);
    renderSystem->SetZWrite((flags & ModelNoDepthWrite) == 0);
    renderSystem->SetStencil((flags & ModelStencil) != 0);
    const int passes = (flags & ModelTwoPasses) ? 2 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        int32_t cull = CullCodeNone;
        if (flags & ModelTwoPasses)
            cull = pass == 0 ? CullCodeCounterClockwise : CullCodeClockwise;
        else if (flags & ModelCullClockwise)
            cull = CullCodeClockwise;
        else if (flags & ModelCullCounterClockwise)
            cull = CullCodeCounterClockwise;
        renderSystem->SetCullMode(cull);
        material->Apply();
        renderSystem->DrawIndexedPrimitive(strip != 0, indexBuffer, vertexBuffer, primitiveCount);
    }
}

bool Model::RayPick(const Ray& ray, float* distance) const {
    if (!box.IntersectsSegment(ray))
        return false;
    float nearest = pickMiss;
    bool found = false;
    Matrix4 inverse = transform;
    inverse.Inverse();
    Ray local = inverse.TransformRay(ray);
    local.direction.Normalize();
    const uint32_t vertexCount = vertexBuffer->GetVertexCount();
    const uint32_t indexCount = indexBuffer->GetIndexCount();
    // The triangles are read through the index buffer: models share vertices between triangles.
    for (uint32_t i = 0; i < primitiveCount; ++i) {
        const uint32_t first = strip ? i : 3 * i;
        if (first + 2 >= indexCount)
            break;
        uint32_t corners[3];
        bool inside = true;
        for (uint32_t c = 0; c < 3; ++c) {
            corners[c] = indexBuffer->GetIndex(first + c);
            inside = inside && corners[c] < vertexCount;
        }
        if (!inside)
            continue;
        const Vec3 a = PositionOf(*vertexBuffer, corners[0]);
        const Vec3 b = PositionOf(*vertexBuffer, corners[1]);
        const Vec3 c = PositionOf(*vertexBuffer, corners[2]);
        Plane plane;
        plane.FromPoints(a, b, c);
        float t = 0;
        if (plane.IntersectRay(local, t) &&
            PointInTriangle(plane, a, b, c, local.origin + local.direction * t)) {
            nearest = std::min(nearest, t);
            found = true;
            if (distance == nullptr)
                break;
        }
    }
    if (distance != nullptr)
        *distance = nearest;
    return found;
}

} // namespace OrvexEngine
