// The plain description of a material: flags, four colours, two values, a blend pair and up to two texture
// stages, each naming a colour and an opacity image and saying how it animates. Carries no device
// resources; the ShaderManager turns it into a ShaderUser. Built in code by anyone who needs a material, or
// read from a material file ("OESRF" 211); owned by whoever built it. Copies are independent.
#pragma once

#include "engine/math/Vector.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {

// Stage flag bits.
constexpr uint32_t StageFlagMipMaps = 0x1;     // a mip-map request handed to the texture manager
constexpr uint32_t StageFlagRandomStart = 0x2; // the animation starts at a random frame
constexpr uint32_t StageFlagNoImages = 0x4;    // the stage has no texture whatever its names

// Animation kinds of a stage.
constexpr uint32_t AnimationStill = 0;
constexpr uint32_t AnimationAtlas = 1;
constexpr uint32_t AnimationColorSequence = 2;
constexpr uint32_t AnimationOpacitySequence = 3;
constexpr uint32_t AnimationBothSequences = 4;

// Description flag bit 0: alpha blending with the blend factors.
constexpr uint32_t ShaderFlagAlphaBlend = 0x1;

struct ShaderStage {
    uint32_t flags = 0;
    uint32_t animationKind = AnimationStill;
    uint32_t columns = 1;
    uint32_t rows = 1;
    uint32_t frameCount = 0;
    float speed = 0;        // frames per second
    std::string colorImage; // empty: no texture for the frame
    std::string opacityImage;
    int32_t addressU = 1; // 0 clamp, 1 wrap
    int32_t addressV = 1;
    float scaleU = 1;
    float scaleV = 1;
    float offsetU = 0;
    float offsetV = 0;
    uint32_t currentFrame = 0; // the frame whose texture is bound; kept by the ShaderUser
};

class ShaderDescriptor {
public:
    static constexpr uint32_t MaxStages = 2;
    static constexpr uint32_t MaxSequenceFrames = 10000; // numbered images 0000 to 9999

    // White colours 1 to 3, opaque black colour 4, blending off, no stage: the fallback material.
    ShaderDescriptor() = default;
    ShaderDescriptor(const ShaderDescriptor& source) { CopyFrom(source); }
    ShaderDescriptor& operator=(const ShaderDescriptor& source) {
        if (this != &source)
            CopyFrom(source);
        return *this;
    }
    virtual ~ShaderDescriptor() = default;

    // Copies everything, including the used stages' names, addressing, scale, offset and current frame.
    void CopyFrom(const ShaderDescriptor& source);

    // A material of one still image (none when colorImage is empty). A non-empty opacity name turns on
    // blending with source alpha; "32bit" means the colour image carries its own alpha.
    void InitFromImages(bool mipMaps, const std::string& colorImage, const std::string& opacityImage,
                        bool clamp);
    // Blending as InitFromImages, then always one stage of the given animation.
    void InitAnimated(bool mipMaps, uint32_t kind, uint32_t columns, uint32_t rows, uint32_t frameCount,
                      float speed, const std::string& colorImage, const std::string& opacityImage,
                      bool clamp);

    // Reads a material file below the data directory. Throws Error (after logging its text) when the file is
    // missing, short or malformed, and FatalError "Shader Stages: buffer is overflowed" for a third stage.
    void LoadFromFile(const std::string& name);

    // Appends a stage (scale 1, 1; offset 0, 0; both addresses = addressing) and returns its index. A stage
    // that cannot animate (an atlas without columns or rows, a sequence without frames or with more than
    // MaxSequenceFrames, an unknown kind)
    // becomes a still image. Throws FatalError "Shader Stages: buffer is overflowed" with two stages present.
    uint32_t AddStage(uint32_t stageFlags, uint32_t kind, uint32_t columns, uint32_t rows,
                      uint32_t frameCount, float speed, const std::string& colorImage,
                      const std::string& opacityImage, int32_t addressing);

    // index 0 sets the source factor, 1 the destination factor (engine blend codes).
    void SetBlend(int index, int32_t code);
    void AddFlags(uint32_t bits) { flags |= bits; }

    // Equal descriptions share one Shader: same image names, same flags but bit 0, same stage count, same
    // stage flags but bits 0 and 1, and for sequences the same kinds and frame counts.
    bool Equals(const ShaderDescriptor& other) const;

    // Two names per frame of the stage (colour, then opacity) with the data prefix, lower-cased and resolved
    // to the image files that exist; empty names for a stage without images.
    void FindTextureImageFile(uint32_t stage, std::vector<std::string>& names) const;

    // To be called after changing a stage's image names directly.
    void UpdateNameHash();
    uint32_t GetNameHash() const { return nameHash; }

    // True when a stage of that kind and size can be animated (or is a still image).
    static bool IsAnimatable(uint32_t kind, uint32_t columns, uint32_t rows, uint32_t frameCount);
    // The name of frame k of n of a numbered sequence whose stored name is name (fire15.png, 3, 16 gives
    // fire03.png).
    static std::string NumberedName(const std::string& name, uint32_t frame, uint32_t frameCount);

    uint32_t flags = 0;
    Vec4 color1 = Vec4(1.0f, 1.0f, 1.0f, 1.0f);
    Vec4 color2 = Vec4(1.0f, 1.0f, 1.0f, 1.0f);
    Vec4 color3 = Vec4(1.0f, 1.0f, 1.0f, 1.0f);
    Vec4 color4 = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
    float value1 = 0;
    float value2 = 0;
    int32_t blendSource = 0;
    int32_t blendDestination = 0;
    uint32_t stageCount = 0;
    ShaderStage stages[MaxStages];

private:
    void InitBlending(const std::string& opacityImage);
    std::string ResolveColorImage(std::string name, std::string& opacity) const;
    std::string ResolveOpacityImage(std::string name) const;

    uint32_t nameHash = 0;
};

} // namespace OrvexEngine
