// The game's mouse cursor as the framework knows it: any number of cursor types, each a system cursor
// from the program's resources and a custom cursor drawn by the GUI. The saved setting "ui_custom_cursor"
// picks the kind; only the current type's cursor of the kind in use is ever shown or hidden. The game
// derives its cursor from it and registers its types; the application root creates the one cursor through
// the game's factory, updates it every frame and deletes it.
#pragma once

#include "platform/win/NativeWindow.h"

#include <map>

namespace OrvexEngine {
class GUICursor;
}

namespace GameFramework {

struct CursorEntry {
    platform::CursorHandle systemCursor = 0;
    OrvexEngine::GUICursor* customCursor = nullptr; // owned by the cursor object, deleted through the GUI
};

class GUIGameCursorBase {
public:
    // Registers "ui_custom_cursor" and starts hidden, with no type.
    GUIGameCursorBase();
    GUIGameCursorBase(const GUIGameCursorBase&) = delete;
    GUIGameCursorBase& operator=(const GUIGameCursorBase&) = delete;
    // Deletes every custom cursor and unbinds the setting (its value stays for the settings file).
    virtual ~GUIGameCursorBase();

    // Switches the kind in use when "ui_custom_cursor" changed this frame, but only while the cursor is
    // shown: a change made while it is hidden is not taken over.
    virtual void Update();
    // The current type's custom cursor when the custom kind is in use, else the system cursor.
    virtual void SetVisible(bool visible);

    bool IsVisible() const;
    // A type without an entry only changes the number; the shown cursor stays.
    void SetCursorType(int type);
    // Takes the custom cursor over. A type that already has an entry keeps it, and the custom cursor
    // passed is deleted.
    void AddSystemCursor(int type, int resourceId, OrvexEngine::GUICursor* customCursor);

    int GetCursorType() const { return currentType; }
    bool IsCustomInUse() const { return customInUse; }

protected:
    bool customSetting = true;            // storage of "ui_custom_cursor"
    bool customInUse = true;              // follows the setting only in Update
    std::map<int, CursorEntry> types;
    int currentType = -1;
    CursorEntry* currentEntry = nullptr;  // an entry of types, or null
};

} // namespace GameFramework
