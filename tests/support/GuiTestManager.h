// Stands in for the GUI manager in tests of GUI elements: the orthographic GUI camera (near 500, far -500,
// the given virtual size), the font manager, and the two per-frame steps over the windows it made (input:
// every window gets the same cursor and button state; layout: every window renders, then the fonts flush).
// Buttons and check boxes get the stand-in's GUI sound manager. Needs the camera and model services; one per
// test, deleted before them.
#pragma once

#include "engine/graphics/Camera.h"
#include "engine/graphics/CameraManager.h"
#include "engine/gui/GUICheckBox.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUISoundManager.h"
#include "engine/gui/GUIWindow.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace VelmoraTest {

class GuiTestManager {
public:
    explicit GuiTestManager(float width = 800, float height = 600) {
        camera = OrvexEngine::CameraManager::Instance()->CreateCamera(1);
        camera->nearPlane = 500;
        camera->farPlane = -500;
        camera->orthoWidth = width;
        camera->orthoHeight = height;
        fontManager = std::make_unique<OrvexEngine::GUIFontManager>(camera);
    }
    ~GuiTestManager() {
        for (OrvexEngine::GUIWindow* window : windows)
            delete window;
        windows.clear();
        fontManager.reset();
        soundManager.reset();
        OrvexEngine::CameraManager::Instance()->DestroyCamera(camera);
    }
    GuiTestManager(const GuiTestManager&) = delete;
    GuiTestManager& operator=(const GuiTestManager&) = delete;

    OrvexEngine::GUIWindow* CreateWindow(uint32_t flags, const OrvexEngine::Vec2& position,
                                         const OrvexEngine::Vec2& size,
                                         const OrvexEngine::Model* sourceModel = nullptr,
                                         const OrvexEngine::ShaderDescriptor* material = nullptr,
                                         OrvexEngine::GUIWindow* parent = nullptr) {
        windows.push_back(new OrvexEngine::GUIWindow(fontManager.get(), camera, flags, position, size,
                                                     sourceModel, material, parent));
        return windows.back();
    }
    // Buttons and check boxes: Element is GUIButton or GUICheckBox.
    template <class Element>
    Element* CreateButton(uint32_t flags, const OrvexEngine::Vec2& position, const OrvexEngine::Vec2& size,
                          const OrvexEngine::Model* sourceModel = nullptr,
                          const OrvexEngine::ShaderDescriptor* material = nullptr,
                          OrvexEngine::GUIWindow* parent = nullptr) {
        auto* element = new Element(fontManager.get(), soundManager.get(), camera, flags, position, size,
                                    sourceModel, material, parent);
        windows.push_back(element);
        return element;
    }
    void DeleteWindow(OrvexEngine::GUIWindow* window) {
        auto found = std::find(windows.begin(), windows.end(), window);
        if (found == windows.end())
            return;
        windows.erase(found);
        delete window;
    }
    void Update(const OrvexEngine::Vec2& cursor, bool held = false, bool pressed = false) {
        for (OrvexEngine::GUIWindow* window : windows)
            window->Update(cursor, held, pressed);
    }
    void Render() {
        for (OrvexEngine::GUIWindow* window : windows)
            window->Render();
        fontManager->Flush();
    }

    OrvexEngine::Camera* camera = nullptr; // owned, through the camera manager
    std::unique_ptr<OrvexEngine::GUIFontManager> fontManager;
    std::unique_ptr<OrvexEngine::GUISoundManager> soundManager =
        std::make_unique<OrvexEngine::GUISoundManager>();
    std::vector<OrvexEngine::GUIWindow*> windows; // owned, in creation order
};

} // namespace VelmoraTest
