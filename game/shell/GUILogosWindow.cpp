#include "game/shell/GUILogosWindow.h"

#include "engine/core/TimerManager.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIWindow.h"

#include <algorithm>
#include <string>

namespace VelmoraBall {

namespace {

using OrvexEngine::GUIWindow;
using OrvexEngine::Vec2;
using OrvexEngine::Vec4;

constexpr uint32_t VisibleFlag = OrvexEngine::GUI_WINDOW_VISIBLE;
// Visible, drawn with its vertex colours, which carry the fades and the backdrop's black.
constexpr uint32_t PictureFlags = OrvexEngine::GUI_WINDOW_VISIBLE | OrvexEngine::GUI_WINDOW_VERTEX_COLORS;
// Visible, in the front layer: the logos lie over everything the loading window and the menus show.
constexpr uint32_t RootFlags = OrvexEngine::GUI_WINDOW_VISIBLE | OrvexEngine::GUI_WINDOW_LAYER_FRONT;
const Vec2 ScreenSize(800, 600);
// The picture fills the top-left 800 x 600 pixels of its 1024 x 1024 texture.
const Vec2 PictureUV(800.0f / 1024.0f, 600.0f / 1024.0f);
constexpr int HoldSeconds = 2;

// A full-screen picture of the image below the data directory, hidden; null when the file is missing.
GUIWindow* MakePicture(OrvexEngine::GUIManager* gui, const std::string& image, GUIWindow* parent) {
    const OrvexEngine::FileManager* files = OrvexEngine::FileManager::Instance();
    if (files == nullptr || !files->FileExists("data\\" + image))
        return nullptr;
    OrvexEngine::ShaderDescriptor material;
    material.InitFromImages(false, image, "32bit", true);
    GUIWindow* picture = gui->CreateWindow(PictureFlags, Vec2(0, 0), ScreenSize, nullptr, &material, parent);
    picture->ClearFlags(VisibleFlag);
    picture->ScaleUV(PictureUV);
    return picture;
}

void Delete(OrvexEngine::GUIManager* gui, GUIWindow*& window) {
    if (window != nullptr && gui != nullptr)
        gui->DeleteWindow(window);
    window = nullptr;
}

} // namespace

GUILogosWindow::GUILogosWindow() {
    OrvexEngine::GUIManager* gui = OrvexEngine::GUIManager::Instance();
    root = gui->CreateWindow(RootFlags, Vec2(0, 0), Vec2(0, 0), nullptr, nullptr, nullptr);
    splashOne = MakePicture(gui, "splash1.jpg", root);
    splashTwo = MakePicture(gui, "splash2.jpg", root);
    if (splashOne == nullptr) {
        splashOne = splashTwo;
        splashTwo = nullptr;
    }
    OrvexEngine::ShaderDescriptor black;
    black.InitFromImages(false, "common\\empty.tga", "32bit", true);
    backdrop = gui->CreateWindow(PictureFlags, Vec2(0, 0), ScreenSize, nullptr, &black, root);
    backdrop->SetColor(Vec4(0, 0, 0, 1));
    backdrop->SetFlags(VisibleFlag);

    backdrop->SetOrder(100);
    if (splashOne != nullptr)
        splashOne->SetOrder(102);
    if (splashTwo != nullptr)
        splashTwo->SetOrder(101);

    if (GUIWindow* first = splashTwo != nullptr ? splashTwo : splashOne) {
        first->SetFlags(VisibleFlag);
        first->SetColor(Vec4(1, 1, 1, 0));
    }
}

GUILogosWindow::~GUILogosWindow() {
    OrvexEngine::GUIManager* gui = OrvexEngine::GUIManager::Instance();
    // The pictures hang under the root: children first.
    DeletePictures();
    Delete(gui, root);
}

void GUILogosWindow::DeletePictures() {
    OrvexEngine::GUIManager* gui = OrvexEngine::GUIManager::Instance();
    Delete(gui, splashOne);
    Delete(gui, splashTwo);
    Delete(gui, backdrop);
}

void GUILogosWindow::Show(int newMode) {
    GUIFrameworkWindow::Show(newMode);
    running = true;
}

void GUILogosWindow::Hide() {
    GUIFrameworkWindow::Hide();
    running = false;
    DeletePictures();
}

bool GUILogosWindow::PlayPicture(GUIWindow* picture, float level, bool hideBackdropWhenShown) {
    switch (phase) {
    case FadingIn:
        picture->SetColor(Vec4(1, 1, 1, level));
        if (level >= 1) {
            time = 0;
            phase = Holding;
            // The last picture fades out onto whatever lies behind the logos, not onto black.
            if (hideBackdropWhenShown && backdrop != nullptr)
                backdrop->ClearFlags(VisibleFlag);
        }
        return false;
    case Holding:
        if (level >= 1) {
            ++holdCount;
            time = 0;
            if (holdCount == HoldSeconds)
                phase = FadingOut;
        }
        return false;
    case FadingOut:
        picture->SetColor(Vec4(1, 1, 1, 1 - level));
        return level >= 1;
    default:
        return false;
    }
}

void GUILogosWindow::Update() {
    GUIFrameworkWindow::Update();
    if (!running)
        return;
    time += OrvexEngine::TimerManager::Instance()->frameTime;
    const float level = std::clamp(time, 0.0f, 1.0f);

    if (splashTwo != nullptr && splashTwo->visible) {
        if (PlayPicture(splashTwo, level, splashOne == nullptr)) {
            splashTwo->ClearFlags(VisibleFlag);
            if (splashOne != nullptr) {
                splashOne->SetFlags(VisibleFlag);
                splashOne->SetColor(Vec4(1, 1, 1, 0));
            } else {
                result = 1;
            }
            holdCount = 0;
            time = 0;
            phase = FadingIn;
        }
    } else if (splashOne != nullptr && splashOne->visible) {
        if (PlayPicture(splashOne, level, true)) {
            splashOne->ClearFlags(VisibleFlag);
            time = 0;
            phase = Done;
            result = 1;
        }
    } else if (splashOne == nullptr && splashTwo == nullptr) {
        if (backdrop != nullptr)
            backdrop->ClearFlags(VisibleFlag);
        result = 1;
    }
}

} // namespace VelmoraBall
