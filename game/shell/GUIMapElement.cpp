#include "game/shell/GUIMapElement.h"

#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIWindow.h"
#include "game/shell/StageMapFile.h"
#include "gametools/DataKeeper.h"
#include "gametools/GUIDoubleClickDetecter.h"

#include <cassert>

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

constexpr uint32_t VisibleFlag = GUI_WINDOW_VISIBLE;
// The clickable part of an icon: its middle, 60 % of its size each way.
constexpr float clickableShare = 0.6f;
constexpr int shadowOrder = 1;
constexpr int mainOrder = 2;

Matrix4 ShadowPlacement(const Matrix4& placement) {
    return Matrix4::Translation(Vec3(2, -2, 0)).Multiply(placement);
}

} // namespace

std::string GUIMapElement::ResourceName(uint32_t type) {
    switch (type) {
    case StageMapFile::typeStart:
        return "ui/map_start";
    case StageMapFile::typeFinish:
        return "ui/map_finish";
    case StageMapFile::typeCheckPoint:
        return "ui/map_check_point";
    case StageMapFile::typePath:
        return "ui/map_path";
    default:
        return "";
    }
}

GUIMapElement::GUIMapElement(GameTools::DataKeeper* dataKeeper, GameTools::GUIDoubleClickDetecter* detector,
                             uint32_t type, const Matrix4& filePlacement, const Vec2& windowPosition,
                             uint32_t stage, uint32_t levelIndex, GUIWindow* parent)
    : dataKeeper(dataKeeper), detector(detector), parentWindow(parent),
      placement(Matrix4::Translation(Vec3(windowPosition.x, windowPosition.y, 0)).Multiply(filePlacement)),
      type(type), stage(stage), levelIndex(levelIndex) {
    assert(GUIManager::Instance() != nullptr && "map icons are GUI elements: create the GUI manager first");
    CreateWindows(ResourceName(type));

    // The button covers the middle of the icon as the model's box places it, relative to the map window.
    Vec2 centre(windowPosition);
    Vec2 half(0, 0);
    if (const Model* model = mainWindow->GetModel()) {
        const Vec3& c = model->box.GetCentre();
        const Vec3& h = model->box.GetHalfSize();
        centre = Vec2(c.x, c.y);
        half = Vec2(h.x, h.y) * clickableShare;
    }
    const Vec2 relative = centre - windowPosition;
    button = GUIManager::Instance()->CreateButton(0, relative - half, half * 2.0f, nullptr, nullptr, parent);
    if (detector != nullptr)
        detector->AddElement(button);
}

GUIMapElement::~GUIMapElement() {
    if (detector != nullptr)
        detector->RemoveElement(button);
    DeleteWindows();
    if (GUIManager* gui = GUIManager::Instance())
        gui->DeleteButton(button);
}

GUIWindow* GUIMapElement::CreateModelWindow(Model* model, const Matrix4& matrix, int order) {
    GUIWindow* window = GUIManager::Instance()->CreateWindow(GUI_WINDOW_VERTEX_COLORS, Vec2(0, 0), Vec2(1, 1),
                                                             model, nullptr, parentWindow);
    window->SetOrder(order);
    // The layout would scale the model to the window's unit size; the file's matrix places it instead.
    window->autoTransform = false;
    if (Model* copy = window->GetModel()) {
        copy->transform = matrix;
        copy->box.SetTransform(matrix);
    }
    return window;
}

void GUIMapElement::CreateWindows(const std::string& resource) {
    Model* model = nullptr;
    ShaderUser* material = nullptr;
    if (!resource.empty() && dataKeeper != nullptr) {
        model = dataKeeper->GetModel(resource);
        material = dataKeeper->GetShaderUser(resource);
    }
    mainWindow = CreateModelWindow(model, placement, mainOrder);
    shadowWindow = CreateModelWindow(model, ShadowPlacement(placement), shadowOrder);
    if (material != nullptr) {
        mainWindow->SetShader(*material);
        shadowWindow->SetShader(*material);
    }
    SetFrame(shadowWindow, FrameShadow);
}

void GUIMapElement::DeleteWindows() {
    GUIManager* gui = GUIManager::Instance();
    if (gui == nullptr)
        return;
    gui->DeleteWindow(mainWindow);
    gui->DeleteWindow(shadowWindow);
    mainWindow = shadowWindow = nullptr;
}

void GUIMapElement::SetFrame(GUIWindow* window, uint32_t n) {
    Model* model = window != nullptr ? window->GetModel() : nullptr;
    if (model == nullptr || model->animationControl == nullptr || model->animationControl->frameCount <= 1)
        return;
    GUIButton::ShowFrame(model->animationControl, n);
}

void GUIMapElement::SetState(uint32_t newState) {
    state = newState;
    SetFrame(mainWindow, state);
    if (!locked)
        button->SetEnabled(state < StatePreview);
    if (state < StatePreview)
        SetAlpha(1);
}

void GUIMapElement::SetShown(bool show) {
    for (GUIWindow* window : {mainWindow, shadowWindow, static_cast<GUIWindow*>(button)}) {
        if (show)
            window->SetFlags(VisibleFlag);
        else
            window->ClearFlags(VisibleFlag);
    }
    if (show && !outsideLevelList) {
        locked = false;
        button->SetEnabled(true);
    }
}

void GUIMapElement::Lock() {
    locked = true;
    button->SetEnabled(false);
}

void GUIMapElement::LockOutsideLevelList() {
    outsideLevelList = true;
    Lock();
}

void GUIMapElement::SetAlpha(float x) {
    alpha = x;
    const Vec4 colour(1, 1, 1, alpha * alphaFactor);
    mainWindow->SetColor(colour);
    shadowWindow->SetColor(colour);
}

void GUIMapElement::SetAlphaFactor(float f) {
    alphaFactor = f;
    SetAlpha(alpha);
}

void GUIMapElement::UpdateHover(bool allow) {
    highlighted = false;
    if (state == StateSelected || state == StatePreview)
        return;
    if (button->mouseOver && !locked && allow) {
        SetFrame(mainWindow, FrameHover);
        highlighted = true;
    } else {
        SetFrame(mainWindow, state);
    }
}

bool GUIMapElement::WasClicked() const {
    return button->clicked;
}

bool GUIMapElement::WasDoubleClicked() const {
    if ((locked && state != StateSelected) || state == StatePreview || detector == nullptr)
        return false;
    return detector->doubleClicked && detector->element == button;
}

bool GUIMapElement::IsVisible() const {
    return mainWindow->visible;
}

void GUIMapElement::SetCheckPointLook(bool on) {
    std::string resource;
    if (on && type == StageMapFile::typePath && !checkPointLook)
        resource = ResourceName(StageMapFile::typeCheckPoint);
    else if (!on && checkPointLook)
        resource = ResourceName(StageMapFile::typePath);
    if (!resource.empty()) {
        // The new windows take over what the old ones showed.
        const uint32_t mainFlags = mainWindow->GetFlags() & VisibleFlag;
        const uint32_t shadowFlags = shadowWindow->GetFlags() & VisibleFlag;
        const Vec4 mainColour = mainWindow->GetColor();
        const Vec4 shadowColour = shadowWindow->GetColor();
        DeleteWindows();
        CreateWindows(resource);
        SetFrame(mainWindow, state);
        if (mainFlags != 0)
            mainWindow->SetFlags(VisibleFlag);
        if (shadowFlags != 0)
            shadowWindow->SetFlags(VisibleFlag);
        mainWindow->SetColor(mainColour);
        shadowWindow->SetColor(shadowColour);
    }
    checkPointLook = on;
}

} // namespace VelmoraBall
