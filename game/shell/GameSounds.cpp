#include "game/shell/GameSounds.h"

#include "engine/files/FileManager.h"
#include "engine/gui/GUISoundManager.h"
#include "framework/AudioPlayer.h"

namespace VelmoraBall {

namespace {

struct GuiSound {
    const char* event;
    const char* sound;
    bool resident;
};

// Rows sharing a file still make a sound each.
const GuiSound guiSounds[] = {
    {"gui_default_button_select", "button_select_0", true},
    {"gui_default_button_select", "button_select_1", true},
    {"gui_default_button_click", "button_click", true},
    {"gui_default_check_box_select", "button_select_0", false},
    {"gui_default_check_box_click", "button_click", false},
    {"gui_default_slider_toddler_select", "button_select_0", false},
    {"gui_default_slider_toddler_click", "button_click", false},
    {"gui_default_scroll_toddler_select", "button_select_0", false},
    {"gui_default_scroll_toddler_click", "button_click", false},
    {"gui_default_scroll_navigation_select", "button_select_0", false},
    {"gui_default_scroll_navigation_click", "button_click", false},
    {"gui_default_edit_box_print", "edit_box_print", false},
};

struct Effect {
    int id;
    const char* category;
    const char* name;
    bool loop;
    unsigned voices;
    bool resident;
};

// In the order of registration: the menu's window sounds first.
const Effect effects[] = {
    {2, "menu", "window_appear", false, 1, false},
    {3, "menu", "window_disappear", false, 1, false},
    {0, "menu", "volume_slider", true, 1, false},
    {1, "menu", "upgrade", false, 1, false},
    {4, "menu", "charge_score", true, 1, false},
    {5, "game", "level_begin", false, 1, false},
    {6, "game", "level_complete", false, 1, false},
    {7, "game", "level_failed", false, 1, false},
    {8, "game", "hit_hard_brick", false, 2, true},
    {9, "game", "hit_unbreakable_brick", false, 2, true},
    {10, "game", "crash_simple_brick_0", false, 2, true},
    {11, "game", "crash_simple_brick_1", false, 2, true},
    {12, "game", "crash_simple_brick_2", false, 2, true},
    {13, "game", "crash_hard_brick", false, 2, true},
    {14, "game", "crash_unbreakable_brick", false, 2, true},
    {15, "game", "crash_explosive_brick", false, 2, true},
    {16, "game", "crash_ballkeeper", false, 1, true},
    {17, "game", "ball_hit_bat", false, 2, true},
    {18, "game", "ball_hit_field_simple", false, 1, true},
    {19, "game", "ball_hit_field_super", false, 1, true},
    {20, "game", "ball_hit_barrier", false, 1, true},
    {21, "game", "ball_losed", false, 1, false},
    {22, "game", "bonus_creation", false, 2, false},
    {23, "game", "bonus_get", false, 1, false},
    {24, "game", "arbalest_shot", false, 2, true},
    {25, "game", "ballista_shot", false, 2, true},
    {26, "game", "arbalest_hit_field", false, 1, true},
    {27, "game", "ballista_hit_field", false, 1, true},
    {28, "game", "bat_creation", false, 1, false},
    {29, "game", "bat_destruction", false, 1, false},
    {30, "game", "hammer", false, 2, false},
};

} // namespace

std::string MakeSoundPath(const std::string& category, const std::string& name) {
    const std::string path = "audio\\" + category + "\\" + name;
    OrvexEngine::FileManager* files = OrvexEngine::FileManager::Instance();
    const bool wave = files != nullptr && files->FileExists("data\\" + path + ".wav");
    return path + (wave ? ".wav" : ".ogg");
}

void RegisterGameSounds(OrvexEngine::GUISoundManager& gui, GameFramework::AudioPlayer& player) {
    for (const GuiSound& sound : guiSounds)
        gui.AddSound(sound.event, MakeSoundPath("menu", sound.sound), sound.resident ? 1 : 0);
    player.ReapplySoundVolume();
    player.AddMusicTrack(0, MakeSoundPath("music", "menu"), true);
    player.AddMusicTrack(1, MakeSoundPath("music", "game0"), true);
    for (const Effect& effect : effects)
        player.AddSound(effect.id, MakeSoundPath(effect.category, effect.name), effect.loop, effect.voices,
                        effect.resident);
}

} // namespace VelmoraBall
