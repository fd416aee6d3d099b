// Keeps the GUI's loaded fonts under integer ids and turns the texts GUI windows hand over during a frame
// into glyph quads: one batch font per loaded font and window depth, ended once a frame by Flush. Created,
// owned and deleted by the GUI manager with the GUI camera; single instance.
#pragma once

#include "engine/math/Vector.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace OrvexEngine {

class Camera;
class GUIFont;
class GUIWindow;
class ShaderUser;

// Bit flags of a queued text's mode. Horizontally 0x01 wins over 0x04 over 0x08, vertically 0x02 over 0x10
// over 0x20; without a flag on an axis the text's offset is used on it.
enum GUITextAlignment : int32_t {
    AlignCentreHorizontal = 0x01,
    AlignCentreVertical = 0x02,
    AlignLeft = 0x04,
    AlignRight = 0x08,
    AlignTop = 0x10,
    AlignBottom = 0x20,
};

class GUIFontManager {
public:
    explicit GUIFontManager(Camera* camera);
    GUIFontManager(const GUIFontManager&) = delete;
    GUIFontManager& operator=(const GUIFontManager&) = delete;
    virtual ~GUIFontManager();

    // A new loaded font under the id (one already there is removed first); the shader user stays the
    // caller's.
    GUIFont* CreateFont(int id, ShaderUser* shaderUser, const std::string& path);
    // Also deletes the batches drawing with that font; an unknown id does nothing.
    void RemoveFont(int id);
    // Null for an unknown id (also -1).
    GUIFont* GetFont(int id) const;
    // The batch of the font at the window's depth less 0.005, made when there is none; null for an unknown
    // id.
    GUIFont* GetBatch(int id, const GUIWindow* window);
    // Where the pen starts: the lower-left corner of the first glyph at angle 0. (0, 0) for an unknown id.
    Vec2 GetTextPosition(int32_t mode, int id, const GUIWindow* window, const Vec2& offset, float angle,
                         const std::wstring& text) const;
    // Draws nothing for a hidden window or an unknown id.
    void DrawText(int32_t mode, int id, float angle, const GUIWindow* window, const Vec2& offset,
                  const Vec4& color, const std::wstring& text);
    // Ends the frame: batches that received nothing are deleted, the others keep their quads for drawing.
    void Flush();

    const std::vector<GUIFont*>& GetBatches() const { return batches; }

private:
    Camera* camera = nullptr;      // not owned
    std::map<int, GUIFont*> fonts; // owned
    std::vector<GUIFont*> batches; // owned, in creation order
};

} // namespace OrvexEngine
