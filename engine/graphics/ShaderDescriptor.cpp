#include "engine/graphics/ShaderDescriptor.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"
#include "engine/files/FilePaths.h"

#include <cstring>
#include <memory>

namespace OrvexEngine {

namespace {

constexpr uint32_t MaterialVersion = 211;
constexpr uint32_t MaterialMemoryLimit = 8 * 1024 * 1024;
const char* const OverflowText = "Shader Stages: buffer is overflowed";

uint32_t ReadU32(FileBinary& file) {
    uint8_t b[4];
    file.Read(b, 4);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

int32_t ReadI32(FileBinary& file) {
    return static_cast<int32_t>(ReadU32(file));
}

float ReadF32(FileBinary& file) {
    uint32_t bits = ReadU32(file);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

Vec4 ReadColor(FileBinary& file) {
    Vec4 c;
    for (int i = 0; i < 4; ++i)
        c[i] = ReadF32(file);
    return c;
}

bool HasDirectory(const std::string& name) {
    return name.find_first_of("\\/") != std::string::npos;
}

// Image names without a folder live beside the material file.
std::string RelativeToMaterial(const std::string& image, const std::string& materialName) {
    if (image.empty() || HasDirectory(image))
        return image;
    std::string directory = GetDirectory(materialName);
    return directory.empty() ? image : directory + "\\" + image;
}

bool Exists(const std::string& name) {
    FileManager* files = FileManager::Instance();
    return files != nullptr && files->FileExists(name);
}

std::string WithExtension(std::string name, const char* extension) {
    ReplaceExtension(name, extension);
    return name;
}

bool IsSequence(uint32_t kind) {
    return kind == AnimationColorSequence || kind == AnimationOpacitySequence ||
           kind == AnimationBothSequences;
}

} // namespace

void ShaderDescriptor::CopyFrom(const ShaderDescriptor& source) {
    flags = source.flags;
    color1 = source.color1;
    color2 = source.color2;
    color3 = source.color3;
    color4 = source.color4;
    value1 = source.value1;
    value2 = source.value2;
    blendSource = source.blendSource;
    blendDestination = source.blendDestination;
    stageCount = source.stageCount;
    for (uint32_t i = 0; i < MaxStages; ++i)
        stages[i] = i < stageCount ? source.stages[i] : ShaderStage();
    UpdateNameHash();
}

void ShaderDescriptor::InitBlending(const std::string& opacityImage) {
    *this = ShaderDescriptor();
    if (!opacityImage.empty()) {
        flags = ShaderFlagAlphaBlend;
        blendSource = 4;
        blendDestination = 5;
    }
}

void ShaderDescriptor::InitFromImages(bool /*mipMaps*/, const std::string& colorImage,
                                      const std::string& opacityImage, bool clamp) {
    InitBlending(opacityImage);
    if (colorImage.empty())
        return;
    // "32bit" names no file: the colour image carries its own alpha, and blending stays on.
    std::string opacity = opacityImage == "32bit" ? std::string() : opacityImage;
    AddStage(flags, AnimationStill, 1, 1, 0, 0, colorImage, opacity, clamp ? 0 : 1);
}

void ShaderDescriptor::InitAnimated(bool mipMaps, uint32_t kind, uint32_t columns, uint32_t rows,
                                    uint32_t frameCount, float speed, const std::string& colorImage,
                                    const std::string& opacityImage, bool clamp) {
    InitBlending(opacityImage);
    std::string opacity = opacityImage == "32bit" ? std::string() : opacityImage;
    AddStage(mipMaps ? StageFlagMipMaps : 0, kind, columns, rows, frameCount, speed, colorImage, opacity,
             clamp ? 0 : 1);
}

bool ShaderDescriptor::IsAnimatable(uint32_t kind, uint32_t columns, uint32_t rows, uint32_t frameCount) {
    if (kind == AnimationStill)
        return true;
    // An atlas of no frames still plays one: its first cell.
    if (kind == AnimationAtlas)
        return columns > 0 && rows > 0;
    // Every frame of a sequence is an image file and a texture: a count beyond any real sequence is a broken
    // file, not a reason to build millions of names.
    return IsSequence(kind) && frameCount > 0 && frameCount <= MaxSequenceFrames;
}

uint32_t ShaderDescriptor::AddStage(uint32_t stageFlags, uint32_t kind, uint32_t columns, uint32_t rows,
                                    uint32_t frameCount, float speed, const std::string& colorImage,
                                    const std::string& opacityImage, int32_t addressing) {
    if (stageCount >= MaxStages)
        throw FatalError(OverflowText);
    // A stage that cannot animate would divide by its column count or index past its frame list when it
    // plays; it is kept as its first (still) image instead.
    if (!IsAnimatable(kind, columns, rows, frameCount)) {
        kind = AnimationStill;
        columns = 1;
        rows = 1;
    }
    ShaderStage& stage = stages[stageCount];
    stage = ShaderStage();
    stage.flags = stageFlags;
    stage.animationKind = kind;
    stage.columns = columns;
    stage.rows = rows;
    stage.frameCount = kind != AnimationStill ? frameCount : 0;
    stage.speed = speed;
    stage.colorImage = colorImage;
    stage.opacityImage = opacityImage;
    stage.addressU = addressing;
    stage.addressV = addressing;
    ++stageCount;
    UpdateNameHash();
    return stageCount - 1;
}

void ShaderDescriptor::SetBlend(int index, int32_t code) {
    if (index == 0)
        blendSource = code;
    else if (index == 1)
        blendDestination = code;
}

void ShaderDescriptor::UpdateNameHash() {
    uint32_t hash = 0;
    for (uint32_t i = 0; i < stageCount && i < MaxStages; ++i) {
        for (char c : stages[i].colorImage)
            hash += static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c)));
        for (char c : stages[i].opacityImage)
            hash += static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c)));
    }
    nameHash = hash;
}

bool ShaderDescriptor::Equals(const ShaderDescriptor& other) const {
    if (nameHash != other.nameHash)
        return false;
    if ((flags & ~ShaderFlagAlphaBlend) != (other.flags & ~ShaderFlagAlphaBlend))
        return false;
    if (stageCount != other.stageCount)
        return false;
    for (uint32_t i = 0; i < stageCount && i < MaxStages; ++i) {
        const ShaderStage& a = stages[i];
        const ShaderStage& b = other.stages[i];
        const uint32_t ignored = StageFlagMipMaps | StageFlagRandomStart;
        if ((a.flags & ~ignored) != (b.flags & ~ignored))
            return false;
        if (a.animationKind > AnimationAtlas || b.animationKind > AnimationAtlas) {
            if (a.animationKind != b.animationKind || a.frameCount != b.frameCount)
                return false;
        }
        if (a.colorImage != b.colorImage || a.opacityImage != b.opacityImage)
            return false;
    }
    return true;
}

std::string ShaderDescriptor::NumberedName(const std::string& name, uint32_t frame, uint32_t frameCount) {
    const std::string digits = std::to_string(frameCount > 0 ? frameCount - 1 : 0);
    const size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    // The stored name ends in as many digits as the last frame number has; a name shorter than that keeps
    // nothing of its stem rather than wrapping around.
    const int64_t keep = static_cast<int64_t>(name.size()) - static_cast<int64_t>(extension.size()) -
                         static_cast<int64_t>(digits.size()) - 1;
    std::string number = std::to_string(frame);
    if (number.size() < digits.size())
        number.insert(0, digits.size() - number.size(), '0');
    return name.substr(0, keep > 0 ? static_cast<size_t>(keep) : 0) + number + "." + extension;
}

std::string ShaderDescriptor::ResolveColorImage(std::string name, std::string& opacity) const {
    const std::string dds = WithExtension(name, "dds");
    if (Exists(dds)) {
        opacity.clear(); // a DDS file carries its alpha
        return dds;
    }
    for (const char* extension : {"jp2", "jpg"}) {
        std::string candidate = WithExtension(name, extension);
        if (Exists(candidate)) {
            name = candidate;
            break;
        }
    }
    if (!Exists(name)) {
        for (const char* extension : {"bmp", "png"}) {
            std::string candidate = WithExtension(name, extension);
            if (Exists(candidate)) {
                name = candidate;
                break;
            }
        }
    }
    if (ToLowerCopy(GetExtension(name)) == "png")
        opacity.clear(); // a PNG file carries its alpha
    return name;
}

std::string ShaderDescriptor::ResolveOpacityImage(std::string name) const {
    for (const char* extension : {"jp2", "jpg"}) {
        std::string candidate = WithExtension(name, extension);
        if (Exists(candidate))
            return candidate;
    }
    if (!Exists(name)) {
        std::string candidate = WithExtension(name, "bmp");
        if (Exists(candidate))
            return candidate;
    }
    return name;
}

void ShaderDescriptor::FindTextureImageFile(uint32_t stageIndex, std::vector<std::string>& names) const {
    names.clear();
    if (stageIndex >= stageCount || stageIndex >= MaxStages)
        return;
    const ShaderStage& stage = stages[stageIndex];
    const bool sequence = IsSequence(stage.animationKind);
    const uint32_t frames = sequence && stage.frameCount > 0 ? stage.frameCount : 1;
    names.assign(2 * size_t(frames), std::string());
    if ((stage.flags & StageFlagNoImages) != 0)
        return;
    const bool numberColor =
        stage.animationKind == AnimationColorSequence || stage.animationKind == AnimationBothSequences;
    const bool numberOpacity =
        stage.animationKind == AnimationOpacitySequence || stage.animationKind == AnimationBothSequences;
    for (uint32_t k = 0; k < frames; ++k) {
        std::string color = stage.colorImage;
        std::string opacity = stage.opacityImage;
        if (numberColor && !color.empty())
            color = NumberedName(color, k, frames);
        if (numberOpacity && !opacity.empty())
            opacity = NumberedName(opacity, k, frames);
        // An empty name stays empty: it means "no image", not the data folder.
        if (!color.empty())
            color = ToLowerCopy(MakeDataPath(color));
        if (!opacity.empty())
            opacity = ToLowerCopy(MakeDataPath(opacity));
        if (!color.empty())
            color = ResolveColorImage(color, opacity);
        if (!opacity.empty())
            opacity = ResolveOpacityImage(opacity);
        names[2 * size_t(k)] = color;
        names[2 * size_t(k) + 1] = opacity;
    }
}

void ShaderDescriptor::LoadFromFile(const std::string& name) {
    try {
        FileManager* files = FileManager::Instance();
        std::unique_ptr<FileBinary> file(files->OpenFile(MakeDataPath(name), false, MaterialMemoryLimit));

        const std::string formatText = "Incorrect \"" + name + "\" file format";
        const uint32_t size = ReadU32(*file);
        char magic[5];
        file->Read(magic, 5);
        const uint32_t version = ReadU32(*file);
        if (std::memcmp(magic, "OESRF", 5) != 0 || size != file->GetSize())
            throw FileError(formatText);
        if (version != MaterialVersion)
            throw FileError("Incorrect \"" + name + "\" format version, current is 211");

        *this = ShaderDescriptor();
        flags = ReadU32(*file);
        color1 = ReadColor(*file);
        color2 = ReadColor(*file);
        color3 = ReadColor(*file);
        color4 = ReadColor(*file);
        value1 = ReadF32(*file);
        value2 = ReadF32(*file);
        blendSource = ReadI32(*file);
        blendDestination = ReadI32(*file);
        const uint32_t count = ReadU32(*file);
        for (uint32_t i = 0; i < count; ++i) {
            if (stageCount >= MaxStages)
                throw FatalError(OverflowText);
            const uint32_t stageFlags = ReadU32(*file);
            const uint32_t kind = ReadU32(*file);
            uint32_t frameCount = 0;
            float speed = 0;
            uint32_t columns = 1;
            uint32_t rows = 1;
            if (kind != AnimationStill) {
                frameCount = ReadU32(*file);
                speed = ReadF32(*file);
            }
            if (kind == AnimationAtlas) {
                columns = ReadU32(*file);
                rows = ReadU32(*file);
            }
            std::string color;
            std::string opacity;
            file->ReadString(color);
            file->ReadString(opacity);
            const int32_t addressU = ReadI32(*file);
            const int32_t addressV = ReadI32(*file);
            const float scaleU = ReadF32(*file);
            const float scaleV = ReadF32(*file);
            const float offsetU = ReadF32(*file);
            const float offsetV = ReadF32(*file);

            if (!IsAnimatable(kind, columns, rows, frameCount))
                Log()->Error("Shader \"" + name + "\": stage " + std::to_string(i) +
                             " cannot be animated and is shown as a still image");
            const uint32_t index =
                AddStage(stageFlags, kind, columns, rows, frameCount, speed, RelativeToMaterial(color, name),
                         RelativeToMaterial(opacity, name), 0);
            ShaderStage& stage = stages[index];
            stage.addressU = addressU;
            stage.addressV = addressV;
            stage.scaleU = scaleU;
            stage.scaleV = scaleV;
            stage.offsetU = offsetU;
            stage.offsetV = offsetV;
        }
    } catch (const FileError& error) {
        Log()->Error(error.GetText());
        throw Error(error.GetText());
    }
}

} // namespace OrvexEngine
