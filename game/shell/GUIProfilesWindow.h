// The list of profiles: nine rows with a scroll for longer lists, the current profile first and drawn
// apart; a click on a row makes that profile current at once. Its buttons lead to creating, renaming and
// deleting a profile, or back to the main menu. The game creates the one instance after loading and the
// application root deletes it.
#pragma once

#include "framework/GUIFrameworkWindowBases.h"
#include "game/shell/GUIMenuWindow.h"

#include <array>
#include <string>
#include <vector>

namespace GameFramework {
class AudioPlayer;
class ProfileManagerBase;
} // namespace GameFramework

namespace OrvexEngine {
class GUIButton;
class GUIScroll;
} // namespace OrvexEngine

namespace GUITools {
class GUIButtonControl;
class GUIControl;
class GUIScrollControl;
class GUITextControl;
} // namespace GUITools

namespace VelmoraBall {

class GUIProfilesWindow final : public GameFramework::GUIProfilesWindowBase, public GUIMenuWindow {
public:
    static constexpr const char* WindowName = "window_profiles";
    static constexpr int RowCount = 9;
    // Fonts of a row's title: another profile, the current one, another under the mouse.
    static constexpr const char* RowFont = "common_0";
    static constexpr const char* CurrentRowFont = "common_1";
    static constexpr const char* HoveredRowFont = "common_2";

    // A control the description lacks is logged and left out: the window works without it.
    GUIProfilesWindow(GameFramework::AudioPlayer* audioPlayer,
                      GameFramework::ProfileManagerBase* profileManager, GameTools::DataKeeper* dataKeeper,
                      GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                      OrvexEngine::GUIWindow* parent);

    // Serves both the flow's per-frame update and the menu part's update slot.
    void Update() override;
    // Takes the list of names as it stands now: the current profile first, the others in the index's order.
    void Show(int newMode) override;
    void Hide() override;
    using GUIMenuWindow::Show;

    // The names as listed since the last Show.
    const std::vector<std::wstring>& GetListedNames() const { return listedNames; }
    // Row r counts from the top; null where the description lacks it.
    GUITools::GUITextControl* GetRowTitle(int row) const { return rowTitles[size_t(row)]; }
    OrvexEngine::GUIButton* GetRowButton(int row) const { return rowButtons[size_t(row)]; }
    OrvexEngine::GUIScroll* GetScroll() const { return scroll; }

private:
    // Enabled rows show, disabled ones hide; the name shows only when it changed.
    void ShowRowName(int row, const std::wstring& profileName);
    static void SetRowFont(GUITools::GUITextControl* rowTitle, const char* font);

    // One entry per row, from the top row ("button_profile_8") down; null where the description lacks it.
    std::array<GUITools::GUIControl*, RowCount> rowControls{};
    std::array<OrvexEngine::GUIButton*, RowCount> rowButtons{};
    std::array<GUITools::GUITextControl*, RowCount> rowTitles{};
    GUITools::GUIScrollControl* scrollControl = nullptr; // "/window/scroll", or null
    OrvexEngine::GUIScroll* scroll = nullptr;            // its element, or null
    GUITools::GUIButtonControl* createButton = nullptr;  // "/window/create", or null
    GUITools::GUIButtonControl* renameButton = nullptr;  // "/window/rename", or null
    GUITools::GUIButtonControl* deleteButton = nullptr;  // "/window/delete", or null
    GUITools::GUIButtonControl* doneButton = nullptr;    // "/window/done", or null
    std::vector<std::wstring> listedNames;
};

} // namespace VelmoraBall
