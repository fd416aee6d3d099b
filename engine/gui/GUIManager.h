// The root of the engine's GUI: the orthographic GUI camera over the virtual screen, the font and sound
// managers, one pool per kind of element, the main cursor that carries the mouse position, and two black
// border windows that cover the strips outside the 4:3 area on a wide or tall desktop in full screen. Every
// GUI element is made and deleted through its factories, so the input step (Update, from the engine's
// begin-frame step) and the layout step (Render, before the render pass) reach all of them. Created last
// among the Engine's services and deleted right after the console; single instance.
#pragma once

#include "engine/core/GlobalPointerHolder.h"
#include "engine/core/ObjectManager.h"
#include "engine/math/Vector.h"

#include <cstdint>
#include <vector>

namespace OrvexEngine {

class Camera;
class GUIButton;
class GUICheckBox;
class GUICursor;
class GUIEditBox;
class GUIFontManager;
class GUIScroll;
class GUISlider;
class GUISoundManager;
class GUIWindow;
class Model;
class ShaderDescriptor;

class GUIManager : public GlobalPointerHolder<GUIManager> {
public:
    // Needs the camera and model managers; the window (when there is one) decides whether border windows
    // exist. The virtual screen is 4 x 3 units until SetScreenSize.
    GUIManager();
    GUIManager(const GUIManager&) = delete;
    GUIManager& operator=(const GUIManager&) = delete;
    // Deletes every element still in the pools, the managers and the camera.
    virtual ~GUIManager();

    // The input step: border windows follow the full-screen state, cursors follow the mouse, and every
    // pooled element gets the main cursor's position and the state of "MOUSE1".
    void Update();
    // The elements' share of the input step: every element of every pool, in pool and slot order, gets the
    // same cursor and button state; nothing is captured or consumed between them.
    void UpdateElements(const Vec2& cursor, bool held, bool pressed);
    // The layout step: cursors, then every element places its model and hands over its texts; the font
    // manager then ends the frame's glyph batches.
    void Render();

    // The virtual screen in GUI units; also places the border windows.
    void SetScreenSize(float width, float height);
    float GetScreenWidth() const;
    float GetScreenHeight() const;
    Vec2 GetCursorPosition() const;

    GUIWindow* CreateWindow(uint32_t flags, const Vec2& position, const Vec2& size,
                            const Model* sourceModel = nullptr, const ShaderDescriptor* material = nullptr,
                            GUIWindow* parent = nullptr);
    // A window without model at (0, 0) of size (0, 0): a parent for other elements or a holder of texts.
    GUIWindow* CreateEmptyWindow(uint32_t flags, GUIWindow* parent);
    GUIButton* CreateButton(uint32_t flags, const Vec2& position, const Vec2& size, const Model* sourceModel,
                            const ShaderDescriptor* material, GUIWindow* parent);
    GUICheckBox* CreateCheckBox(uint32_t flags, const Vec2& position, const Vec2& size,
                                const Model* sourceModel, const ShaderDescriptor* material,
                                GUIWindow* parent);
    GUIEditBox* CreateEditBox(uint32_t flags, const Vec2& position, const Vec2& size,
                              const Model* sourceModel, const ShaderDescriptor* material, int fontId,
                              const Vec4& fontColor, const Vec2& textOffset, int maxCharacterCount,
                              float maxTextLength, float visibleTextWidth, wchar_t cursorCharacter,
                              GUIWindow* parent);
    GUISlider* CreateSlider(uint32_t flags, const Vec2& position, const Vec2& size, const Model* sourceModel,
                            const ShaderDescriptor* material, int orientation, const Vec2& toddlerMinPosition,
                            const Vec2& toddlerMaxPosition, uint32_t positionCount, GUIWindow* parent);
    GUIScroll* CreateScroll(uint32_t flags, const Vec2& position, const Vec2& size, const Model* sourceModel,
                            const ShaderDescriptor* material, int orientation, const Vec2& toddlerMinPosition,
                            const Vec2& toddlerMaxPosition, uint32_t positionCount, GUIWindow* parent);
    GUICursor* CreateCursor(const Model* sourceModel, const ShaderDescriptor* material, float size);

    // Each deleter removes the element from its own pool and deletes it; an element the pool does not hold
    // (a check box given to DeleteButton, null) is left alone.
    void DeleteWindow(GUIWindow* window);
    void DeleteButton(GUIButton* button);
    void DeleteCheckBox(GUICheckBox* checkBox);
    void DeleteEditBox(GUIEditBox* editBox);
    void DeleteSlider(GUISlider* slider);
    void DeleteScroll(GUIScroll* scroll);
    void DeleteCursor(GUICursor* cursor);

    Camera* GetCamera() const { return camera; }
    GUIFontManager* GetFontManager() const { return fontManager; }
    GUISoundManager* GetSoundManager() const { return soundManager; }
    GUICursor* GetMainCursor() const { return mainCursor; }
    // Empty, or index 0 left or bottom and index 1 right or top.
    const std::vector<GUIWindow*>& GetBorderWindows() const { return borderWindows; }
    const ObjectManager<GUICursor>& GetCursors() const { return cursors; }
    const ObjectManager<GUIWindow>& GetWindows() const { return windows; }
    const ObjectManager<GUIButton>& GetButtons() const { return buttons; }
    const ObjectManager<GUICheckBox>& GetCheckBoxes() const { return checkBoxes; }
    const ObjectManager<GUIEditBox>& GetEditBoxes() const { return editBoxes; }
    const ObjectManager<GUISlider>& GetSliders() const { return sliders; }
    const ObjectManager<GUIScroll>& GetScrolls() const { return scrolls; }

    static constexpr float borderDepth = -31.0f;

private:
    // Calls visit on every element of the six element pools, in pool order and slot order, skipping empty
    // slots.
    template <class Visit> void ForEachElement(Visit visit);
    template <class Element> static void Delete(ObjectManager<Element>& pool, Element* element);

    Camera* camera = nullptr;                // owned, through CameraManager
    GUIFontManager* fontManager = nullptr;   // owned
    GUISoundManager* soundManager = nullptr; // owned
    // The pools own their elements; declared in the order of the per-frame walks.
    ObjectManager<GUICursor> cursors;
    ObjectManager<GUIWindow> windows;
    ObjectManager<GUIButton> buttons;
    ObjectManager<GUICheckBox> checkBoxes;
    ObjectManager<GUIEditBox> editBoxes;
    ObjectManager<GUISlider> sliders;
    ObjectManager<GUIScroll> scrolls;
    GUICursor* mainCursor = nullptr;       // not owned: lives in cursors
    std::vector<GUIWindow*> borderWindows; // not owned: live in windows
};

} // namespace OrvexEngine
