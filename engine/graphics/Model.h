// One drawable mesh: index and vertex buffers, a material, a camera, a world transform, a bounding box and
// a flag word that picks its geometry and animation kind and every state it is drawn with. Static,
// vertex-animated (whole vertex sets per frame, blended) or skinned (bones and per-vertex influences).
// Created and deleted only through ModelManager (registered models die with its registry, unregistered
// ones are deleted by their owners); the GUI, sprite groups, particle systems and gameplay hold them.
#pragma once

#include "engine/graphics/ModelFile.h"
#include "engine/math/BoundingBox.h"
#include "engine/math/Matrix4.h"
#include "engine/math/Ray.h"
#include "engine/math/Vector.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {

class AnimationControl;
class Camera;
class IndexBuffer;
class ShaderDescriptor;
class ShaderUser;
class Skeleton;
class VertexBuffer;

// Model flag bits.
enum ModelFlag : uint32_t {
    ModelStatic = 0x1,
    ModelVertexAnimation = 0x2,
    ModelSkinned = 0x4,
    ModelTriangleList = 0x8,
    ModelVertexColors = 0x20,
    ModelLit = 0x40,
    ModelDepthTest = 0x80,
    ModelFirstList = 0x200,
    ModelSecondList = 0x400,
    ModelFixedSortDepth = 0x800,
    ModelZBiased = 0x1000,
    ModelCullClockwise = 0x2000,
    ModelTwoPasses = 0x4000,
    ModelBoxFromVertices = 0x8000,
    ModelVisible = 0x40000,
    ModelNoDepthWrite = 0x80000,
    ModelIndexBufferKind = 0x100000,
    ModelVertexBufferKind = 0x200000,
    ModelCullCounterClockwise = 0x400000,
    ModelStencil = 0x800000,
};

class Model {
public:
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;
    // Gives the material back to the shader manager; the camera is not touched.
    virtual ~Model();

    // flags |= bits; setting one list bit clears the other, setting one cull bit clears the other two.
    void SetFlags(uint32_t bits);
    // Clearing one of the two list bits sets the other; clearing both clears both.
    void ClearFlags(uint32_t bits);
    uint32_t GetFlags() const { return flags; }

    // None: the camera manager's default camera.
    void SetCamera(Camera* newCamera);
    Camera* GetCamera() const { return camera; }
    // A new material from the description, then the old one released.
    void SetShader(const ShaderDescriptor& descriptor);
    void ChangeShader(const ShaderDescriptor& descriptor) { SetShader(descriptor); }
    void SetColor(const Vec4& color);
    // Vertex 0's colour; white without vertex colours.
    Vec4 GetColor() const;
    void ScaleTextureCoordinates(const Vec2& scale);
    // The local bounds of the vertices the indices in use reach.
    void ComputeBoundingBox(BoundingBox& target) const;
    void UpdatePrimitiveCount();
    // Once a frame: animation, box, culling (with cullFlag), sort depth and the animated vertices.
    void Update(bool cullFlag);
    // Draws with the model's states and material; only between the render system's begin and end of scene.
    void Render();
    // Whether the world ray meets a triangle; distance (local units along the normalised direction) gets
    // the nearest hit, or 100000 when the box was met but no triangle. A ray missing the box leaves it.
    bool RayPick(const Ray& ray, float* distance) const;

    uint32_t GetPrimitiveCount() const { return primitiveCount; }
    uint32_t GetDrawnPrimitives() const { return drawnPrimitives; }
    bool IsStrip() const { return strip != 0; }

    // Fields owners use directly.
    std::string name;
    IndexBuffer* indexBuffer = nullptr;           // owned
    VertexBuffer* vertexBuffer = nullptr;         // owned
    AnimationControl* animationControl = nullptr; // owned; never null after construction
    ShaderUser* material = nullptr;               // owned through the shader manager
    Matrix4 transform;
    Matrix4 baseTransform; // a rest pose kept for the owner; never read here
    BoundingBox box;
    float sortDepth = 0; // written by the owner with ModelFixedSortDepth

private:
    friend class ModelManager;

    Model() = default;
    void InitBox(const Vec3& min, const Vec3& max, const ShaderDescriptor* descriptor, Camera* newCamera,
                 uint32_t extraFlags);
    void InitFromArrays(uint32_t newFlags, uint32_t vertexCount, uint32_t indexCount, uint32_t frameCount,
                        const ShaderDescriptor* descriptor, Camera* newCamera, uint8_t onDemand);
    // Throws Error (after logging its text) when the file cannot be read.
    void LoadFromFile(const std::string& fileName, Camera* newCamera, uint32_t extraFlags, uint8_t onDemand);
    void CopyFrom(const Model& source, Camera* newCamera, uint32_t extraFlags);
    // Camera, identity matrices, sort depth, the last-frame state, strip and primitive counts.
    void FinishConstruction(Camera* newCamera);
    void BlendFrameVertices(uint32_t current, uint32_t next, float fraction);
    void SkinVertices();

    uint32_t flags = 0;
    int32_t strip = 0;
    std::vector<VertexInfluences> vertexInfluences; // skinned models
    std::vector<FrameVertex> frameVertices;         // vertex-animated models: frames x vertices
    Skeleton* skeleton = nullptr;                   // owned; skinned models
    std::vector<float> keyData;                     // skinned models: bones x frames x 10
    Camera* camera = nullptr;                       // not owned
    std::vector<BoundingBox> frameBoxes;            // vertex-animated models
    uint32_t primitiveCount = 0;
    uint32_t drawnPrimitives = 0;
    bool lastFrameValid = false;
    uint32_t lastCurrentFrame = 0;
    uint32_t lastNextFrame = 0;
    float lastBlendFraction = 0;
};

} // namespace OrvexEngine
