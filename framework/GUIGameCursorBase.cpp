#include "framework/GUIGameCursorBase.h"

#include "engine/core/Config.h"
#include "engine/core/Controls.h"
#include "engine/core/Window.h"
#include "engine/gui/GUICursor.h"
#include "engine/gui/GUIManager.h"

#include <cassert>

using namespace OrvexEngine;

namespace GameFramework {

namespace {

void DeleteCustomCursor(GUICursor* cursor) {
    if (cursor == nullptr)
        return;
    GUIManager* gui = GUIManager::Instance();
    assert(gui != nullptr && "custom cursors belong to the GUI manager; delete the cursor object before it");
    if (gui != nullptr)
        gui->DeleteCursor(cursor);
}

} // namespace

GUIGameCursorBase::GUIGameCursorBase() {
    assert(Config::Instance() != nullptr && "the cursor registers its setting; create the configuration first");
    Config::Instance()->RegisterVariable("ui_custom_cursor", ConfigVariableBool, false, true, &customSetting,
                                         "1", true);
    customInUse = customSetting;
    SetVisible(false);
}

GUIGameCursorBase::~GUIGameCursorBase() {
    for (auto& [type, entry] : types)
        DeleteCustomCursor(entry.customCursor);
    if (Config* config = Config::Instance())
        config->Unbind("ui_custom_cursor");
}

bool GUIGameCursorBase::IsVisible() const {
    if (customInUse && currentEntry != nullptr)
        return currentEntry->customCursor != nullptr && currentEntry->customCursor->visible;
    const Controls* controls = Controls::Instance();
    return controls != nullptr && controls->IsCursorVisible();
}

void GUIGameCursorBase::SetVisible(bool visible) {
    if (customInUse && currentEntry != nullptr) {
        if (currentEntry->customCursor != nullptr)
            currentEntry->customCursor->visible = visible;
        return;
    }
    if (Controls* controls = Controls::Instance())
        controls->SetCursorVisible(visible);
}

void GUIGameCursorBase::AddSystemCursor(int type, int resourceId, GUICursor* customCursor) {
    if (customCursor != nullptr)
        customCursor->visible = false;
    auto found = types.find(type);
    if (found != types.end()) {
        // The entry stays as it was; the new custom cursor would otherwise be owned by nobody.
        if (found->second.customCursor != customCursor)
            DeleteCustomCursor(customCursor);
        return;
    }
    CursorEntry entry;
    if (const Window* window = Window::Instance())
        entry.systemCursor = window->LoadCursor(static_cast<uint16_t>(resourceId));
    entry.customCursor = customCursor;
    types.emplace(type, entry);
}

void GUIGameCursorBase::SetCursorType(int type) {
    if (type == currentType)
        return;
    currentType = type;
    auto found = types.find(type);
    if (found == types.end())
        return;
    if (currentEntry != nullptr && customInUse && IsVisible()) {
        SetVisible(false);
        currentEntry = &found->second;
        SetVisible(true);
    }
    currentEntry = &found->second;
    if (Window* window = Window::Instance())
        window->SetCursor(currentEntry->systemCursor);
}

void GUIGameCursorBase::Update() {
    if (!IsVisible())
        return;
    if (Config::Instance()->IsChanged("ui_custom_cursor")) {
        // Only reached while shown: the old kind is hidden and the new kind shown in its place.
        SetVisible(false);
        customInUse = customSetting;
        SetVisible(true);
    }
}

} // namespace GameFramework
