// A bitmap font: a glyph table read from a font description file ("OEFNT" 201) and a model of up to 1024
// textured quads. A loaded font owns its table and is kept by the font manager under an id; a batch font is
// a copy the font manager makes for one drawing depth, shares its source's table and receives the quads of
// one frame. Both are created and deleted by GUIFontManager; the font registry sets the layout values.
#pragma once

#include "engine/math/Vector.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {

class Camera;
class IndexBuffer;
class Model;
class ShaderUser;
class VertexBuffer;
struct ColoredVertex;

struct GUIFontGlyph {
    Vec2 texturePosition; // lower-left corner of the glyph's rectangle, v upwards
    Vec2 textureSize;
    float width = 0; // quad width / quad height
};

class GUIFont {
public:
    static constexpr uint32_t glyphSlots = 65536;
    static constexpr int maxQuads = 1024;

    // A loaded font. Failures to read the file are logged as errors; the font is usable without glyphs.
    GUIFont(Camera* camera, ShaderUser* shaderUser, const std::string& path);
    // A batch font drawing with source's glyphs; source must outlive it.
    explicit GUIFont(GUIFont* source);
    GUIFont(const GUIFont&) = delete;
    GUIFont& operator=(const GUIFont&) = delete;
    virtual ~GUIFont();

    bool HasGlyph(wchar_t character) const { return Glyph(character) != nullptr; }
    float GetDepth() const;
    void SetDepth(float depth);
    // One quad with its lower-left corner at position; blanks, line feeds, missing glyphs and quads beyond
    // the 1024th of a frame are skipped.
    void AddGlyph(const Vec2& position, float angle, const Vec4& color, wchar_t character);
    // One line starting at origin (the first glyph's lower-left corner at angle 0).
    void DrawText(const Vec2& origin, float angle, const Vec4& color, const std::wstring& text);
    // The text's box; a negative size means the font's own size.
    Vec2 MeasureText(const std::wstring& text, float angle, float measureSize) const;
    // Corners in the vertex order of a quad: upper left, lower left, upper right, lower right.
    std::array<Vec2, 4> GetGlyphBox(const Vec2& position, float angle, wchar_t character) const;
    // Ends the frame's batch: unlocks the vertices and starts the next frame at quad 0.
    void Flush();
    void CopyUpperCaseGlyphs();
    void CopyLowerCaseGlyphs();

    const GUIFontGlyph* Glyph(wchar_t character) const {
        const auto code = static_cast<uint32_t>(character);
        return code < glyphTable->size() ? (*glyphTable)[code] : nullptr;
    }
    GUIFont* GetSource() const { return source; }
    Model* GetModel() const { return model; }
    int GetQuadCount() const { return quadCount; }
    float GetMaxGlyphWidth() const { return maxGlyphWidth; }

    float size = 1;
    float space = 1;
    float shift = 1;
    float virtualSizeRatio = 1;
    bool monospace = false;

private:
    void Load(const std::string& path);
    // Gives each code whose own case form is itself the glyph of its other case form.
    void CopyCaseGlyphs(bool toUpper);
    // Moves the pen over one character as DrawText does and calls visit where a glyph is placed.
    template <class Visit>
    void WalkText(const std::wstring& text, float angle, float penSize, Visit visit) const;

    GUIFont* source = nullptr;                              // not owned
    std::vector<GUIFontGlyph*> glyphs;                      // owned records; loaded fonts only
    const std::vector<GUIFontGlyph*>* glyphTable = &glyphs; // not owned: glyphs or the source's
    Model* model = nullptr;                                 // owned, through ModelManager
    IndexBuffer* indexBuffer = nullptr;                     // not owned: the model's
    VertexBuffer* vertexBuffer = nullptr;                   // not owned: the model's
    ColoredVertex* lockedVertices = nullptr;                // not owned: the current lock of vertexBuffer
    float maxGlyphWidth = 0;
    int quadCount = 0;
};

} // namespace OrvexEngine
