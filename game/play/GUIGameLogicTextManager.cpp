#include "game/play/GUIGameLogicTextManager.h"

#include "engine/graphics/CameraManager.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIWindow.h"
#include "game/play/GUIGameLogicText.h"
#include "game/play/ScreenMapping.h"

#include <algorithm>

using namespace OrvexEngine;

namespace VelmoraBall {

GUIGameLogicTextManager::GUIGameLogicTextManager(int textFont, GUIWindow* parent) : font(textFont) {
    window = GUIManager::Instance()->CreateEmptyWindow(GUI_WINDOW_VISIBLE, parent);
    window->SetOrder(Order);
}

GUIGameLogicTextManager::~GUIGameLogicTextManager() {
    for (GUIGameLogicText* text : texts)
        delete text;
    texts.clear();
    if (GUIManager* gui = GUIManager::Instance())
        gui->DeleteWindow(window);
}

void GUIGameLogicTextManager::AddText(const std::wstring& text, const Vec2& position) {
    texts.push_back(new GUIGameLogicText(position, text, font, window));
}

void GUIGameLogicTextManager::AddTextAtWorldPoint(const std::wstring& text, const Vec3& point) {
    const CameraManager* cameras = CameraManager::Instance();
    const Vec2 pixel = cameras->Project(*cameras->GetDefaultCamera(), point);
    AddText(text, ScreenMapping::PixelToGui(pixel));
}

void GUIGameLogicTextManager::Update() {
    for (GUIGameLogicText*& text : texts) {
        text->Update();
        if (!text->IsAlive()) {
            delete text;
            text = nullptr;
        }
    }
    texts.erase(std::remove(texts.begin(), texts.end(), nullptr), texts.end());
}

} // namespace VelmoraBall
