// For tests that build the game's windows over the laid-out data: the log, the shipped packs opened as the
// game opens them, the engine's drawing services, and the GUI tools of one language. A table row
// (WindowLookups) says what a window's code asks of its description; the Expect... checks turn every miss
// into a test failure. The keeper (the engine's or the game's kind) and the windows stay with the test; the
// tools are made here, so they outlive the test's own members that use them.
#pragma once

#include "engine/files/FileManager.h"
#include "gametools/DataKeeper.h"
#include "guitools/GUIToolManager.h"
#include "guitools/GUIWindowBase.h"
#include "tests/support/SceneRenderFixture.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace VelmoraTest {

// The getter a lookup goes through; Any takes a control of whatever kind.
enum class ControlKind { Any, Window, Button, CheckBox, EditBox, Scroll, Text };

struct ControlLookup {
    std::string path; // after the window's name; "" is the root
    ControlKind kind;
};

// What the code of one window asks of its description: its controls by path and kind, the text keys and
// fonts it sets itself, and the labels whose text must carry the PROFILE_NAME variable the code fills in.
struct WindowLookups {
    std::string name;
    std::vector<ControlLookup> controls;
    std::vector<std::string> keys = {};
    std::vector<std::string> fonts = {};
    std::vector<std::string> profileNameLabels = {}; // paths after the window's name
};

class WindowDataFixture : public testing::Test {
protected:
    // Names a player can type, in either alphabet the name box offers: labels that show the profile's
    // name must draw them in every language.
    static constexpr const wchar_t* ProfileNameSample = L"Alice Алиса Ёжик Zoë";

    // The drawing services on a width x height window with an 800 x 600 GUI screen.
    WindowDataFixture(uint32_t width, uint32_t height);

    // The four GUI resource lists in the game's order of loading.
    static std::vector<std::string> GuiResourceLists();
    // Reads the lists into the keeper, making their resources at once (now) or queueing them; a list that
    // does not read is a test failure.
    static void LoadResourceLists(GameTools::DataKeeper& keeper, const std::vector<std::string>& lists,
                                  bool now);

    // Replaces the tools by those of the language, with both font files read as after the game's loading
    // and the game's locale for the language.
    // Whatever was built with the old tools must be gone first.
    void UseTools(const std::string& language);

    // Every control of the row has the kind its getter needs, every key has a text in the tools' language,
    // every font is loaded, and every profile-name label carries the variable.
    void ExpectLookupsFound(const GUITools::GUIWindowBase& window, const WindowLookups& lookups) const;
    void ExpectTextKeys(const std::vector<std::string>& keys) const;
    void ExpectFonts(const std::vector<std::string>& fonts) const;
    // The label's text carries "%variable%" for the code to fill in.
    static void ExpectLabelUses(const GUITools::GUIWindowBase& window, const std::string& labelName,
                                const std::wstring& variable);
    // The label's font has a glyph for every character of the text but blanks.
    static void ExpectLabelDraws(const GUITools::GUIWindowBase& window, const std::string& labelName,
                                 const std::wstring& text);
    // Every label of the window found its text and its font.
    static void ExpectLabelsResolved(const GUITools::GUIWindowBase& window);

    TestLog log;
    OrvexEngine::FileManager files;
    SceneRenderFixture scene;
    std::unique_ptr<GUITools::GUIToolManager> tools; // null until UseTools
};

} // namespace VelmoraTest
