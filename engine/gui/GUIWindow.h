// The engine's GUI element: a rectangle in GUI units placed relative to a parent, an optional model that
// shows it, visibility and layer flags, a drawing depth derived from its place in the tree, an optional
// selection rectangle for the mouse and a per-frame queue of texts handed to the font manager. Base of the
// buttons, sliders and edit boxes. Created and deleted by the GUI manager's factories or by the element
// that owns it; many exist.
#pragma once

#include "engine/math/Vector.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {

class Camera;
class GUIFontManager;
class Model;
class ShaderDescriptor;
class ShaderUser;

enum GUIWindowFlag : uint32_t {
    GUI_WINDOW_VISIBLE = 0x1,
    GUI_WINDOW_VERTEX_COLORS = 0x2,
    GUI_WINDOW_LAYER_BACK = 0x4,
    GUI_WINDOW_LAYER_FRONT = 0x8,
    GUI_WINDOW_LAYER_TOP = 0x10,
};

// One text queued for the current frame.
struct GUIQueuedText {
    int32_t mode = 0; // GUITextAlignment flags; 0 places the text at position
    int32_t fontId = -1;
    float angle = 0;
    float fontSize = -1; // 0 or more: the font's size for this text only
    Vec2 position;       // offset within the window's area
    Vec4 color;
    std::wstring text;
};

class GUIWindow {
public:
    // With a source model: a copy of it, drawn as a GUI model (material replaced when one is given); else
    // with a material: the unit quad; else no model.
    GUIWindow(GUIFontManager* fontManager, Camera* camera, uint32_t flags, const Vec2& position,
              const Vec2& size, const Model* sourceModel, const ShaderDescriptor* material,
              GUIWindow* parent);
    GUIWindow(const GUIWindow&) = delete;
    GUIWindow& operator=(const GUIWindow&) = delete;
    // Children become roots; they are not deleted.
    virtual ~GUIWindow();

    // The mouse-over test; held and pressed are for derived elements. False when hidden.
    virtual bool Update(const Vec2& cursor, bool held, bool pressed);
    // Places the model and hands the queued texts to the font manager. False when hidden.
    virtual bool Render();
    virtual void SetOrder(int newOrder);
    virtual void SetColor(const Vec4& color);
    virtual void SetAlpha(float alpha);
    virtual void UpdateVisibility();

    void Show(bool show);
    // Does nothing when any of the bits is already set.
    void SetFlags(uint32_t bits);
    // Does nothing when none of the bits is set.
    void ClearFlags(uint32_t bits);
    void SetPosition(const Vec2& newPosition) { position = newPosition; }
    void SetSize(const Vec2& newSize) { size = newSize; }
    void SetSelectionPosition(const Vec2& offset) { selectionPosition = offset; }
    void SetSelectionSize(const Vec2& newSize) { selectionSize = newSize; }
    void SetParent(GUIWindow* newParent);
    void AddChild(GUIWindow* child);
    void RemoveChild(GUIWindow* child);
    Vec2 GetParentOrigin() const;
    Vec4 GetColor() const;
    float GetAlpha() const;
    void ScaleUV(const Vec2& scale);
    void SetShader(const ShaderDescriptor& material);
    ShaderUser* GetShaderUser() const;
    // An empty text queues nothing. Texts are queued anew every frame and drawn in queue order.
    void QueueText(int32_t mode, int32_t fontId, const Vec2& offset, const Vec4& color,
                   const std::wstring& text, float angle = 0, float fontSize = -1);
    GUIQueuedText* NextTextRecord();

    uint32_t GetFlags() const { return flags; }
    GUIWindow* GetParent() const { return parent; }
    const std::vector<GUIWindow*>& GetChildren() const { return children; }
    int GetOrder() const { return order; }
    float GetDepth() const { return depth; }
    Model* GetModel() const { return model; }
    uint32_t GetTextCount() const { return textCount; }
    // The i-th text queued this frame; i must be below GetTextCount().
    const GUIQueuedText& GetQueuedText(uint32_t i) const { return *texts[i]; }
    size_t GetTextRecordCount() const { return texts.size(); }

    // Fields the GUI's owners read and set directly.
    bool visible = false;
    Vec2 position;
    Vec2 size;
    bool selection = false;
    Vec2 selectionPosition;
    Vec2 selectionSize;
    bool textArea = false;
    Vec2 textAreaPosition;
    Vec2 textAreaSize;
    bool mouseOver = false;
    bool autoTransform = true;

protected:
    void SetDepth(float newDepth);

    GUIFontManager* fontManager = nullptr; // not owned
    uint32_t flags = 0;
    GUIWindow* parent = nullptr;      // not owned
    std::vector<GUIWindow*> children; // not owned
    int order = 1;
    float depth = -15;
    Model* model = nullptr; // owned, through ModelManager
    uint32_t textCount = 0;
    std::vector<GUIQueuedText*> texts; // owned; reused from frame to frame
};

} // namespace OrvexEngine
