// ctest-label: console
// The console in the whole engine: created after the engine with a loaded font, opened, a command typed as
// the player types it (characters through the edit box, Enter through the console), and its answer shown;
// the engine deletes it first of its services.
#include "engine/core/Engine.h"

#include "engine/core/Console.h"
#include "engine/core/MessageManager.h"
#include "engine/core/StringUtils.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/gui/GUIEditBox.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIManager.h"
#include "platform/d3d/D3DTest.h"
#include "platform/input/DirectInput.h"
#include "platform/win/Events.h"
#include "platform/win/Time.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/TestLog.h"
#include "tools/formats/BinaryWriter.h"
#include "tools/formats/FontWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace OrvexEngine;

namespace {

class EngineConsoleTest : public testing::Test {
protected:
    void SetUp() override {
        platform::InstallFakeClock();
        platform::D3DTest::Reset();
        platform::sim::Reset();
    }
    void TearDown() override {
        platform::RemoveFakeClock();
        platform::sim::Reset();
    }
};

// One turn of the game's loop: the waiting window messages, then the engine's frame.
void Frame(Engine& engine) {
    platform::WindowMessage message;
    while (platform::PeekWindowMessage(message)) {
        platform::TranslateWindowMessage(message);
        platform::DispatchWindowMessage(message);
    }
    engine.BeginFrame();
    engine.Tick(0);
}

// The console's rows as one text.
std::wstring Shown(const Console* console) {
    std::wstring all;
    for (const ConsoleLine& line : console->GetLines())
        all += line.text;
    return all;
}

} // namespace

TEST_F(EngineConsoleTest, TheConsoleOpensOverTheGameAndAnswersACommand) {
    const std::string base = VelmoraTest::TempDir() + "/console";
    std::vector<VbFormats::FontGlyph> glyphs;
    for (uint16_t code = 33; code < 127; ++code) {
        VbFormats::FontGlyph glyph;
        glyph.code = code;
        glyph.width = glyph.height = 0.01f;
        glyph.widthFactor = 0.5f;
        glyphs.push_back(glyph);
    }
    VbFormats::SaveBytes(base + "/data/fonts/console.fnt", VbFormats::FontWriter::Write(glyphs));

    EngineStartupParams params;
    params.title = "Velmora Ball";
    params.version = 100;
    params.baseDirectory = base;
    params.usePacks = false;
    params.dataDirectory = "data";
    params.configDirectory = base;
    {
        Engine engine(params);
        GUIManager* gui = GUIManager::Instance();
        gui->SetScreenSize(800, 600);
        ShaderUser* fontMaterial = ShaderManager::Instance()->CreateShaderUser(ShaderDescriptor(), false);
        GUIFont* font = gui->GetFontManager()->CreateFont(0, fontMaterial, "fonts\\console.fnt");
        font->size = 12;
        EXPECT_EQ(Console::Instance(), nullptr);
        engine.BeginFrame(); // no console yet: the step is skipped
        engine.Tick(0);

        engine.CreateConsole(engine.MakeWindowTitle(), ShaderDescriptor(), 0, L'_', L']', L'^', "~", 0.95f,
                             308, 1000);
        Console* console = Console::Instance();
        ASSERT_NE(console, nullptr);
        console->Open();
        for (int frame = 0; frame < 40 && console->GetState() != ConsoleOpen; ++frame) {
            platform::AdvanceFakeClockMilliseconds(16);
            Frame(engine);
        }
        ASSERT_EQ(console->GetState(), ConsoleOpen);

        // One character a frame, as a player types; then Enter.
        for (char c : std::string("v_vsync")) {
            platform::sim::PushText(std::string(1, c));
            Frame(engine);
        }
        EXPECT_EQ(console->GetEditBox()->text, L"v_vsync");
        platform::sim::PushKey(platform::input::KeyReturn, true);
        Frame(engine);
        platform::sim::PushKey(platform::input::KeyReturn, false);
        Frame(engine);
        EXPECT_NE(Shown(console).find(L"]\\v_vsync\n\"v_vsync\" is \"1\", default is \"1\"\n"),
                  std::wstring::npos)
            << ToMultiByte(Shown(console));
        EXPECT_EQ(console->GetEditBox()->text, L"");

        // Log lines of a frame reach the console once.
        Log()->Message("between frames");
        Frame(engine);
        const std::wstring shown = Shown(console);
        EXPECT_EQ(shown.find(L"between frames"), shown.rfind(L"between frames"));
        EXPECT_NE(shown.find(L"between frames"), std::wstring::npos);

        gui->GetFontManager()->RemoveFont(0);
        ShaderManager::Instance()->ReleaseShaderUser(fontMaterial);
    }
    EXPECT_EQ(Console::Instance(), nullptr);
    EXPECT_EQ(GUIManager::Instance(), nullptr);
}
