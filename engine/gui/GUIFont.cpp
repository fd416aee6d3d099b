#include "engine/gui/GUIFont.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"
#include "engine/files/FilePaths.h"
#include "engine/graphics/IndexBuffer.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/graphics/VertexBuffer.h"

#include <cmath>
#include <cstring>
#include <cwctype>
#include <limits>
#include <memory>

namespace OrvexEngine {

namespace {

constexpr uint32_t fontModelFlags = 0x248C29;
constexpr float batchDepth = -9.0f;
constexpr uint32_t formatVersion = 201;

bool IsBlank(wchar_t character) {
    return character == L'\n' || std::iswspace(static_cast<wint_t>(character)) != 0;
}

} // namespace

GUIFont::GUIFont(Camera* camera, ShaderUser* shaderUser, const std::string& path) {
    const uint32_t vertexCount = 4 * maxQuads;
    const uint32_t indexCount = 6 * maxQuads;
    model = ModelManager::Instance()->CreateModelFromArrays(fontModelFlags, vertexCount, indexCount, 1,
                                                            shaderUser, camera, 0);
    model->name = "font_model";
    model->sortDepth = batchDepth;
    indexBuffer = model->indexBuffer;
    vertexBuffer = model->vertexBuffer;

    std::vector<uint32_t> indices(indexCount);
    for (uint32_t quad = 0; quad < uint32_t(maxQuads); ++quad) {
        const uint32_t first = 4 * quad;
        const uint32_t pattern[6] = {first, first + 1, first + 2, first + 2, first + 1, first + 3};
        std::memcpy(&indices[6 * quad], pattern, sizeof(pattern));
    }
    indexBuffer->SetIndices(0, indexCount, indices.data());
    indexBuffer->SetIndexCount(0);

    ColoredVertex* vertices = vertexBuffer->LockColoredVertices(0, vertexCount);
    for (uint32_t i = 0; i < vertexCount; ++i) {
        vertices[i].position.z = 0;
        vertices[i].normal = Vec3(0, 0, 1);
    }
    vertexBuffer->Unlock();

    // The table is sized before the file is read, so that a font whose file fails is simply empty.
    glyphs.assign(glyphSlots, nullptr);
    Load(path);
}

GUIFont::GUIFont(GUIFont* sourceFont) : source(sourceFont), glyphTable(&sourceFont->glyphs) {
    model = ModelManager::Instance()->CreateModelCopy(*source->model, nullptr, 0);
    model->SetFlags(ModelVisible);
    indexBuffer = model->indexBuffer;
    vertexBuffer = model->vertexBuffer;
    indexBuffer->SetIndexCount(0);
    model->sortDepth = batchDepth;
    size = source->size;
    space = source->space;
    shift = source->shift;
    virtualSizeRatio = source->virtualSizeRatio;
    maxGlyphWidth = source->maxGlyphWidth;
    monospace = source->monospace;
}

GUIFont::~GUIFont() {
    for (GUIFontGlyph* glyph : glyphs)
        delete glyph;
    if (ModelManager* models = ModelManager::Instance())
        models->DeleteModel(model);
}

void GUIFont::Load(const std::string& path) {
    try {
        // No memory limit: the whole file is read at once and the records are taken from memory.
        std::unique_ptr<FileBinary> file(FileManager::Instance()->OpenFile(
            MakeDataPath(path), false, std::numeric_limits<uint32_t>::max()));
        uint8_t header[13];
        file->Read(header, sizeof(header));
        uint32_t storedSize = 0;
        uint32_t version = 0;
        std::memcpy(&storedSize, header, 4);
        std::memcpy(&version, header + 9, 4);
        if (std::memcmp(header + 4, "OEFNT", 5) != 0 || storedSize != file->GetSize())
            throw FileError("Incorrect \"" + path + "\" file format");
        if (version != formatVersion)
            throw FileError("Incorrect \"" + path + "\" format version, current is 201");
        uint32_t count = 0;
        file->Read(&count, 4);
        for (uint32_t i = 0; i < count; ++i) {
            uint16_t code = 0;
            float values[5] = {};
            file->Read(&code, 2);
            for (float& value : values)
                file->Read(&value, 4);
            if (glyphs[code] != nullptr)
                continue; // a repeated character keeps its first record
            auto* glyph = new GUIFontGlyph;
            glyph->texturePosition = Vec2(values[0], values[1]);
            glyph->textureSize = Vec2(values[2], values[3]);
            glyph->width = values[4];
            glyphs[code] = glyph;
            maxGlyphWidth = std::max(maxGlyphWidth, glyph->width);
        }
    } catch (const FileError& error) {
        Log()->Error(error.GetText());
    }
}

float GUIFont::GetDepth() const {
    return model->sortDepth;
}

void GUIFont::SetDepth(float depth) {
    model->sortDepth = depth;
}

void GUIFont::AddGlyph(const Vec2& position, float angle, const Vec4& color, wchar_t character) {
    if (quadCount >= maxQuads || IsBlank(character))
        return;
    const GUIFontGlyph* glyph = Glyph(character);
    if (glyph == nullptr)
        return;
    if (!vertexBuffer->IsLocked())
        lockedVertices = vertexBuffer->LockColoredVertices(0, vertexBuffer->GetVertexCount());

    ColoredVertex* quad = lockedVertices + 4 * quadCount;
    const uint32_t packed = vertexBuffer->PackColor(color);
    const Vec2 uv = glyph->texturePosition;
    const Vec2 wh = glyph->textureSize;
    const Vec2 uvs[4] = {Vec2(uv.x, uv.y + wh.y), uv, uv + wh, Vec2(uv.x + wh.x, uv.y)};
    const std::array<Vec2, 4> corners = GetGlyphBox(position, angle, character);
    for (int i = 0; i < 4; ++i) {
        quad[i].position.x = corners[i].x;
        quad[i].position.y = corners[i].y;
        quad[i].color = packed;
        quad[i].u = uvs[i].x;
        quad[i].v = uvs[i].y;
    }
    ++quadCount;
    indexBuffer->SetIndexCount(6 * uint32_t(quadCount));
}

template <class Visit>
void GUIFont::WalkText(const std::wstring& text, float angle, float penSize, Visit visit) const {
    const Vec2 direction(std::cos(angle), std::sin(angle));
    Vec2 pen(0, 0);
    for (wchar_t character : text) {
        const GUIFontGlyph* glyph = Glyph(character);
        if (!monospace) {
            visit(pen, character);
            pen += direction * (glyph != nullptr ? penSize * glyph->width * shift : penSize * space);
        } else if (glyph != nullptr) {
            const float half = (maxGlyphWidth - glyph->width) * penSize * shift * 0.5f;
            pen += direction * half;
            visit(pen, character);
            pen += direction * (penSize * glyph->width * shift);
            pen += direction * half;
        } else {
            visit(pen, character);
            pen += direction * (penSize * maxGlyphWidth * shift);
        }
    }
}

void GUIFont::DrawText(const Vec2& origin, float angle, const Vec4& color, const std::wstring& text) {
    if (source != nullptr) {
        // A size set on the loaded font just before drawing applies to this text.
        size = source->size;
        space = source->space;
        shift = source->shift;
        virtualSizeRatio = source->virtualSizeRatio;
    }
    WalkText(text, angle, size,
             [&](const Vec2& pen, wchar_t character) { AddGlyph(origin + pen, angle, color, character); });
}

Vec2 GUIFont::MeasureText(const std::wstring& text, float angle, float measureSize) const {
    if (text.empty())
        return Vec2(0, 0);
    const float penSize = measureSize >= 0 ? measureSize : size;
    Vec2 low(10000, 10000);
    Vec2 high(-10000, -10000);
    WalkText(text, angle, penSize, [&](const Vec2& pen, wchar_t character) {
        for (const Vec2& corner : GetGlyphBox(pen, angle, character)) {
            low = Vec2(std::min(low.x, corner.x), std::min(low.y, corner.y));
            high = Vec2(std::max(high.x, corner.x), std::max(high.y, corner.y));
        }
    });
    Vec2 box = high - low;
    box.y *= virtualSizeRatio;
    return box;
}

std::array<Vec2, 4> GUIFont::GetGlyphBox(const Vec2& position, float angle, wchar_t character) const {
    const GUIFontGlyph* glyph = Glyph(character);
    const float height = size;
    const float width = (glyph == nullptr || IsBlank(character)) ? size * space : size * glyph->width;
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const Vec2 along = Vec2(c, s) * width;
    const Vec2 up = Vec2(-s, c) * height;
    return {position + up, position, position + along + up, position + along};
}

void GUIFont::Flush() {
    if (quadCount == 0)
        indexBuffer->SetIndexCount(0);
    quadCount = 0;
    if (vertexBuffer->IsLocked())
        vertexBuffer->Unlock();
    lockedVertices = nullptr;
}

void GUIFont::CopyUpperCaseGlyphs() {
    CopyCaseGlyphs(true);
}

void GUIFont::CopyLowerCaseGlyphs() {
    CopyCaseGlyphs(false);
}

void GUIFont::CopyCaseGlyphs(bool toUpper) {
    if (glyphs.size() != glyphSlots)
        return; // a batch font has no table of its own
    for (uint32_t code = 0; code < glyphSlots; ++code) {
        const auto character = static_cast<wint_t>(code);
        const wint_t same = toUpper ? std::towlower(character) : std::towupper(character);
        const wint_t other = toUpper ? std::towupper(character) : std::towlower(character);
        // A character that is its own other form keeps its glyph (copying it onto itself would read what
        // was just deleted).
        if (same != character || other == character || other >= glyphSlots || glyphs[other] == nullptr)
            continue;
        auto* copy = new GUIFontGlyph(*glyphs[other]);
        delete glyphs[code];
        glyphs[code] = copy;
    }
}

} // namespace OrvexEngine
