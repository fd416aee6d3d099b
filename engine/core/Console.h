// The in-game console: a window that slides down from the top of the GUI screen, shows every frame's log
// messages and the results of commands, and executes the lines typed into its edit box through Config, with
// Tab completion, a history and page scroll-back. It draws only through the GUI: one window with the
// background, one edit box and texts queued on the window each frame. Created by Engine::CreateConsole and
// deleted first of the engine's services; single instance.
#pragma once

#include "engine/core/GlobalPointerHolder.h"
#include "engine/math/Vector.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {

class GUIEditBox;
class GUIFont;
class GUIWindow;
class ShaderDescriptor;
class ShaderUser;

enum ConsoleState : int32_t {
    ConsoleOpening = 0,
    ConsoleOpen = 1,
    ConsoleClosing = 2,
    ConsoleClosed = 3,
};

// One piece of shown text: a whole row, or the part of a row one text added.
struct ConsoleLine {
    Vec4 color;
    std::wstring text;
    bool lineEnd = false; // the text ends with a line feed; the next piece starts a new row
    float width = 0;      // measured in GUI units
};

class Console : public GlobalPointerHolder<Console> {
public:
    // Virtual-key codes of the keys the console handles itself.
    static constexpr uint16_t keyTab = 9;
    static constexpr uint16_t keyEnter = 13;
    static constexpr uint16_t keyEscape = 27;
    static constexpr uint16_t keyPageUp = 33;
    static constexpr uint16_t keyPageDown = 34;
    static constexpr uint16_t keyUp = 38;
    static constexpr uint16_t keyDown = 40;
    static constexpr const wchar_t* speakerName = L"Player";

    // Registers "ui_console_alpha", "ui_console_size", "ui_console_speed", "ui_console_key" and "say"
    // (their values from the settings file when it had them) and builds the window and the edit box, closed.
    // A font id without a loaded font is logged once; texts then measure 0 wide and draw nothing.
    Console(const std::string& title, const ShaderDescriptor& background, int fontId, wchar_t cursorCharacter,
            wchar_t promptCharacter, wchar_t scrollBackCharacter, const std::string& toggleKey, float alpha,
            float size, float speed);
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;
    virtual ~Console();

    // Disabling closes it; while disabled the toggle key does nothing.
    void SetEnabled(bool enabled);
    bool IsEnabled() const { return enabled; }
    // From Closing or Closed: slides in with an empty command line.
    void Open();
    // From Opening or Open: slides out; typing stops at once.
    void Close();
    // Appends a text, wrapped at the screen width between characters. A text without a final line feed
    // leaves its row open for the next text.
    void AddText(const Vec4& color, const std::wstring& text);
    // Once a frame: the frame's log messages, the toggle key, the slide, the rows and the keys.
    void Update();

    ConsoleState GetState() const { return state; }
    GUIWindow* GetWindow() const { return window; }
    GUIEditBox* GetEditBox() const { return editBox; }
    const std::vector<ConsoleLine>& GetLines() const { return lines; }
    const std::vector<std::wstring>& GetHistory() const { return history; }
    uint32_t GetScrollOffset() const { return scrollOffset; }
    const std::wstring& GetTitleRow() const { return titleRow; }
    const std::wstring& GetScrollBackRow() const { return scrollBackRow; }
    float GetLineStep() const { return lineStep; }
    float GetLineGap() const { return lineGap; }

private:
    float Measure(const std::wstring& text) const;
    // Puts `fill` in front of row one at a time, at most `limit` times, while the row stays within the
    // screen width.
    void PadInFront(std::wstring& row, wchar_t fill, size_t limit) const;
    void Slide(float screenHeight);
    void QueueRows(float screenHeight);
    void HandleKey(uint16_t code);
    void ExecuteLine();
    void Complete();

    ConsoleState state = ConsoleClosed;
    std::string toggleKey; // storage of "ui_console_key"
    float alpha = 1;       // storage of "ui_console_alpha"
    float size = 0;        // storage of "ui_console_size": the shown height
    float speed = 0;       // storage of "ui_console_speed": GUI units per second
    std::wstring prompt;
    std::wstring scrollBackRow;
    std::wstring titleRow;
    std::string sayText;              // storage of "say"
    ShaderUser* background = nullptr; // owned, released through ShaderManager
    int fontId = -1;
    GUIFont* font = nullptr;       // not owned: the font manager's; null for an unknown id
    GUIWindow* window = nullptr;   // owned, through GUIManager
    GUIEditBox* editBox = nullptr; // owned, through GUIManager; a child of window
    uint32_t scrollOffset = 0;
    std::vector<ConsoleLine> lines; // oldest first; never trimmed
    size_t historyIndex = 0;
    std::vector<std::wstring> history; // executed lines, each beginning with "\"
    float lineGap = 0;
    float lineStep = 0;
    std::wstring speaker = speakerName;
    bool enabled = true;
    std::wstring piece; // the piece AddText is building; reused
};

} // namespace OrvexEngine
