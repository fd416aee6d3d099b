#include "engine/gui/GUIManager.h"

#include "engine/core/Controls.h"
#include "engine/core/Window.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/gui/GUICheckBox.h"
#include "engine/gui/GUICursor.h"
#include "engine/gui/GUIEditBox.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIScroll.h"
#include "engine/gui/GUISoundManager.h"

namespace OrvexEngine {

namespace {

constexpr float fourThirds = 4.0f / 3.0f;

} // namespace

GUIManager::GUIManager() {
    camera = CameraManager::Instance()->CreateCamera(1);
    camera->nearPlane = 500;
    camera->farPlane = -500;
    fontManager = new GUIFontManager(camera);
    soundManager = new GUISoundManager();
    mainCursor = CreateCursor(nullptr, nullptr, 0);
    mainCursor->visible = false;
    const Window* window = Window::Instance();
    if (window != nullptr && (window->wideDesktop || window->tallDesktop)) {
        const ShaderDescriptor unitQuad;
        for (int i = 0; i < 2; ++i) {
            GUIWindow* border =
                CreateWindow(GUI_WINDOW_VERTEX_COLORS, Vec2(0, 0), Vec2(0, 0), nullptr, &unitQuad, nullptr);
            border->SetColor(Vec4(0, 0, 0, 1));
            borderWindows.push_back(border);
        }
    }
    SetScreenSize(4, 3);
}

GUIManager::~GUIManager() {
    DeleteCursor(mainCursor);
    mainCursor = nullptr;
    for (GUIWindow* border : borderWindows)
        DeleteWindow(border);
    borderWindows.clear();
    delete fontManager;
    fontManager = nullptr;
    delete soundManager;
    soundManager = nullptr;
    CameraManager::Instance()->DestroyCamera(camera);
    camera = nullptr;
    // The pools delete what is left as members.
}

void GUIManager::SetScreenSize(float width, float height) {
    camera->orthoWidth = width;
    camera->orthoHeight = height;
    if (borderWindows.empty())
        return;
    const Window* window = Window::Instance();
    const float r = window->desktopAspect / fourThirds;
    // Each border reaches one unit past the screen's edge, so no seam shows where it meets the edge.
    if (window->wideDesktop) {
        const float a = (r - 1) * width / 2;
        borderWindows[0]->SetPosition(Vec2(-a - 1, 0));
        borderWindows[0]->SetSize(Vec2(a + 1, height));
        borderWindows[1]->SetPosition(Vec2(width, 0));
        borderWindows[1]->SetSize(Vec2(a + 1, height));
    } else {
        const float a = (1 - r) * height / 2;
        borderWindows[0]->SetPosition(Vec2(0, -a - 1));
        borderWindows[0]->SetSize(Vec2(width, a + 1));
        borderWindows[1]->SetPosition(Vec2(0, height));
        borderWindows[1]->SetSize(Vec2(width, a + 1));
    }
}

float GUIManager::GetScreenWidth() const {
    return camera->orthoWidth;
}

float GUIManager::GetScreenHeight() const {
    return camera->orthoHeight;
}

Vec2 GUIManager::GetCursorPosition() const {
    return mainCursor->position;
}

template <class Visit> void GUIManager::ForEachElement(Visit visit) {
    auto walk = [&visit](const auto& pool) {
        for (GUIWindow* element : pool.GetObjects())
            if (element != nullptr)
                visit(element);
    };
    walk(windows);
    walk(buttons);
    walk(checkBoxes);
    walk(editBoxes);
    walk(sliders);
    walk(scrolls);
}

void GUIManager::Update() {
    const Window* window = Window::Instance();
    const bool fullScreen = window != nullptr && window->fullscreen;
    for (GUIWindow* border : borderWindows) {
        border->Show(fullScreen);
        // Showing a root window puts it on the default layer; the borders stay in front of everything.
        if (Model* model = border->GetModel())
            model->sortDepth = borderDepth;
    }
    for (GUICursor* cursor : cursors.GetObjects())
        if (cursor != nullptr)
            cursor->UpdateFromMouse();
    const Controls* controls = Controls::Instance();
    const bool held = controls != nullptr && controls->IsDownOrPressed("MOUSE1");
    const bool pressed = controls != nullptr && controls->WasPressed("MOUSE1");
    UpdateElements(mainCursor->position, held, pressed);
}

void GUIManager::UpdateElements(const Vec2& cursor, bool held, bool pressed) {
    ForEachElement([&](GUIWindow* element) { element->Update(cursor, held, pressed); });
}

void GUIManager::Render() {
    for (GUICursor* cursor : cursors.GetObjects())
        if (cursor != nullptr)
            cursor->Update();
    ForEachElement([](GUIWindow* element) { element->Render(); });
    fontManager->Flush();
}

GUIWindow* GUIManager::CreateWindow(uint32_t flags, const Vec2& position, const Vec2& size,
                                    const Model* sourceModel, const ShaderDescriptor* material,
                                    GUIWindow* parent) {
    auto* window = new GUIWindow(fontManager, camera, flags, position, size, sourceModel, material, parent);
    windows.Add(window);
    return window;
}

GUIWindow* GUIManager::CreateEmptyWindow(uint32_t flags, GUIWindow* parent) {
    return CreateWindow(flags, Vec2(0, 0), Vec2(0, 0), nullptr, nullptr, parent);
}

GUIButton* GUIManager::CreateButton(uint32_t flags, const Vec2& position, const Vec2& size,
                                    const Model* sourceModel, const ShaderDescriptor* material,
                                    GUIWindow* parent) {
    auto* button = new GUIButton(fontManager, soundManager, camera, flags, position, size, sourceModel,
                                 material, parent);
    buttons.Add(button);
    return button;
}

GUICheckBox* GUIManager::CreateCheckBox(uint32_t flags, const Vec2& position, const Vec2& size,
                                        const Model* sourceModel, const ShaderDescriptor* material,
                                        GUIWindow* parent) {
    auto* checkBox = new GUICheckBox(fontManager, soundManager, camera, flags, position, size, sourceModel,
                                     material, parent);
    checkBoxes.Add(checkBox);
    return checkBox;
}

GUIEditBox* GUIManager::CreateEditBox(uint32_t flags, const Vec2& position, const Vec2& size,
                                      const Model* sourceModel, const ShaderDescriptor* material, int fontId,
                                      const Vec4& fontColor, const Vec2& textOffset, int maxCharacterCount,
                                      float maxTextLength, float visibleTextWidth, wchar_t cursorCharacter,
                                      GUIWindow* parent) {
    auto* editBox = new GUIEditBox(fontManager, soundManager, camera, flags, position, size, sourceModel,
                                   material, fontId, fontColor, textOffset, maxCharacterCount, maxTextLength,
                                   visibleTextWidth, cursorCharacter, parent);
    editBoxes.Add(editBox);
    return editBox;
}

GUISlider* GUIManager::CreateSlider(uint32_t flags, const Vec2& position, const Vec2& size,
                                    const Model* sourceModel, const ShaderDescriptor* material,
                                    int orientation, const Vec2& toddlerMinPosition,
                                    const Vec2& toddlerMaxPosition, uint32_t positionCount,
                                    GUIWindow* parent) {
    auto* slider =
        new GUISlider(fontManager, soundManager, camera, flags, position, size, sourceModel, material,
                      orientation, toddlerMinPosition, toddlerMaxPosition, positionCount, parent);
    sliders.Add(slider);
    return slider;
}

GUIScroll* GUIManager::CreateScroll(uint32_t flags, const Vec2& position, const Vec2& size,
                                    const Model* sourceModel, const ShaderDescriptor* material,
                                    int orientation, const Vec2& toddlerMinPosition,
                                    const Vec2& toddlerMaxPosition, uint32_t positionCount,
                                    GUIWindow* parent) {
    auto* scroll =
        new GUIScroll(fontManager, soundManager, camera, flags, position, size, sourceModel, material,
                      orientation, toddlerMinPosition, toddlerMaxPosition, positionCount, parent);
    scrolls.Add(scroll);
    return scroll;
}

GUICursor* GUIManager::CreateCursor(const Model* sourceModel, const ShaderDescriptor* material, float size) {
    auto* cursor = new GUICursor(camera, sourceModel, material, size);
    cursors.Add(cursor);
    return cursor;
}

template <class Element> void GUIManager::Delete(ObjectManager<Element>& pool, Element* element) {
    if (pool.Remove(element))
        delete element;
}

void GUIManager::DeleteWindow(GUIWindow* window) {
    Delete(windows, window);
}

void GUIManager::DeleteButton(GUIButton* button) {
    Delete(buttons, button);
}

void GUIManager::DeleteCheckBox(GUICheckBox* checkBox) {
    Delete(checkBoxes, checkBox);
}

void GUIManager::DeleteEditBox(GUIEditBox* editBox) {
    Delete(editBoxes, editBox);
}

void GUIManager::DeleteSlider(GUISlider* slider) {
    Delete(sliders, slider);
}

void GUIManager::DeleteScroll(GUIScroll* scroll) {
    Delete(scrolls, scroll);
}

void GUIManager::DeleteCursor(GUICursor* cursor) {
    Delete(cursors, cursor);
}

} // namespace OrvexEngine
