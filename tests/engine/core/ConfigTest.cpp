// ctest-label: config
#include "engine/core/Config.h"

#include "engine/core/Engine.h"
#include "engine/core/Error.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sys/wait.h>

using namespace OrvexEngine;
namespace fs = std::filesystem;

namespace {

std::string FreshDir(const std::string& name) {
    fs::path dir = fs::path(VelmoraTest::TempDir()) / "config" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class ConfigTest : public testing::Test {
protected:
    std::unique_ptr<Config> Make(const std::string& dir, bool forceMode = false, const std::string& mode = "",
                                 bool forceFullscreen = false, bool fullscreen = false) {
        auto config = std::make_unique<Config>(dir, "Game", forceMode, mode, forceFullscreen, fullscreen);
        Config::Instance(config.get());
        return config;
    }
    VelmoraTest::TestLog log;
};

} // namespace

TEST_F(ConfigTest, ExecuteParsesLinesAsTheConsoleAndTheFileWriteThem) {
    auto config = Make(FreshDir("execute"));
    std::string say;
    int32_t level = 0;
    config->RegisterVariable("say", ConfigVariableString, false, false, &say, "", false);
    config->RegisterVariable("g_level", ConfigVariableInt, true, true, &level, "3", false);
    EngineSettings& s = config->GetSettings();

    struct Case {
        const char* line;
        ConfigExecuteResult result;
        const char* name;
        const char* variable; // "" when nothing is checked
        const char* value;
    };
    const Case cases[] = {
        {"V_MODE 1024x768x32", ConfigExecuteDone, "v_mode", "v_mode", "1024x768x32"},
        {"\\v_fullscreen 1", ConfigExecuteDone, "v_fullscreen", "v_fullscreen", "1"},
        {"\\v_fullscreen 0", ConfigExecuteDone, "v_fullscreen", "v_fullscreen", "0"},
        {"\\\\\\v_gamma 2.0", ConfigExecuteDone, "v_gamma", "v_gamma", "2.000000"},
        {"v_gamma 3.0 \\\\ a remark", ConfigExecuteDone, "v_gamma", "v_gamma", "3.000000"},
        {"v_contrast 0.95", ConfigExecuteDone, "v_contrast", "v_contrast", "0.950000"},
        {"say a  b", ConfigExecuteDone, "say", "say", "ab"},
        {"say a   b", ConfigExecuteDone, "say", "say", "a b"},
        {"say \"quoted\\text\"", ConfigExecuteDone, "say", "say", "\"quoted\\text\""},
        {"v_mode", ConfigExecuteQuery, "v_mode", "v_mode", "1024x768x32"},
        {"v_mode   ", ConfigExecuteQuery, "v_mode", "", ""},
        {"v_mode  800x600x32", ConfigExecuteUnknown, "v_mode800x600x32", "v_mode", "1024x768x32"},
        {"   ", ConfigExecuteEmpty, "", "", ""},
        {"\\\\", ConfigExecuteEmpty, "", "", ""},
        {"nosuchname 1", ConfigExecuteUnknown, "nosuchname", "", ""},
        {"v_fullscreen true", ConfigExecuteDone, "v_fullscreen", "v_fullscreen", "0"},
        {"v_fullscreen -1", ConfigExecuteDone, "v_fullscreen", "v_fullscreen", "1"},
        {"r_texture_anisotropy 8x", ConfigExecuteDone, "r_texture_anisotropy", "r_texture_anisotropy", "8"},
        {"r_texture_anisotropy junk", ConfigExecuteDone, "r_texture_anisotropy", "r_texture_anisotropy", "8"},
        {"v_gamma\\\\ a remark", ConfigExecuteQuery, "v_gamma", "v_gamma", "3.000000"},
        {"v_gamma \\\\", ConfigExecuteQuery, "v_gamma", "v_gamma", "3.000000"},
        {"v_gamma\\2.5", ConfigExecuteDone, "v_gamma", "v_gamma", "2.500000"},
        {"g_level 5", ConfigExecuteReadOnly, "g_level", "g_level", "3"},
        {"g_level", ConfigExecuteQuery, "g_level", "g_level", "3"},
        {"exit now", ConfigExecuteDone, "exit", "", ""},
    };
    for (const Case& c : cases) {
        std::string name = "(untouched)";
        EXPECT_EQ(config->Execute(c.line, &name), c.result) << c.line;
        if (c.result != ConfigExecuteEmpty) {
            EXPECT_EQ(name, c.name) << c.line;
        }
        if (c.variable[0] != '\0') {
            EXPECT_EQ(config->GetValueText(c.variable), c.value) << c.line;
        }
    }
    EXPECT_FALSE(config->IsCommandIdle("exit")) << "'exit now' triggered it";
    EXPECT_EQ(s.vMode, "1024x768x32") << "the name is lower-cased, the value is not";
    EXPECT_FLOAT_EQ(s.vContrast, 0.95f);
    EXPECT_EQ(config->GetValueText("nosuchname"), "");
    EXPECT_FALSE(config->IsCommandIdle("nosuchcommand"));
    EXPECT_FALSE(config->IsChanged("nosuchname"));
}

TEST_F(ConfigTest, SettingsFileIsWrittenByteForByte) {
    std::string dir = FreshDir("save") + "/not/yet/there";
    auto config = Make(dir, false, "1024x768x32", false, true);
    float volume = 0.5f;
    bool unsaved = true;
    int32_t readOnly = 9;
    config->RegisterVariable("g_music_volume", ConfigVariableFloat, false, true, &volume, "0.7", false);
    config->RegisterVariable("g_unsaved", ConfigVariableBool, false, false, &unsaved, "1", false);
    config->RegisterVariable("g_read_only", ConfigVariableInt, true, true, &readOnly, "9", false);
    config->RegisterVariable("g_command", ConfigVariableCommand, false, true, nullptr, "", false);
    config->Execute("v_contrast 0.95");
    config->Execute("r_texture_anisotropy 4");
    config->Save();
    EXPECT_EQ(config->GetSettingsPath(), dir + "\\Game.ini");
    EXPECT_EQ(ReadFile(dir + "/Game.ini"), "c_invert_mouse 0\r\n"
                                           "g_music_volume 0.700000\r\n"
                                           "r_show_faces_edges 0\r\n"
                                           "r_show_faces_normals 0\r\n"
                                           "r_show_mip_maps 0\r\n"
                                           "r_show_octree_nodes 0\r\n"
                                           "r_texture_anisotropy 4\r\n"
                                           "r_use_mip_mapping 1\r\n"
                                           "sc_take_screenshot_format 0\r\n"
                                           "v_brightness 1.000000\r\n"
                                           "v_contrast 0.950000\r\n"
                                           "v_fullscreen 1\r\n"
                                           "v_gamma 1.000000\r\n"
                                           "v_mode 1024x768x32\r\n"
                                           "v_vsync 1\r\n");
    EXPECT_TRUE(log.Texts().empty());
}

TEST_F(ConfigTest, LinesForLaterVariablesAreHeldBackUntilTheyRegister) {
    std::string dir = FreshDir("held");
    WriteFile(dir + "/Game.ini", "G_X 5\r\n"
                                 "g_x 6\r\n"
                                 "v_mode 640x480x16 // a remark\r\n"
                                 "v_mode 1280x1024x32\r\n"
                                 "g_go\r\n"
                                 "never_registered 1\r\n"
                                 "\r\n");
    auto config = Make(dir);
    config->Load();
    EXPECT_EQ(config->GetSettings().vMode, "1280x1024x32") << "a registered name takes its last line";

    int32_t x = 0;
    config->RegisterVariable("g_x", ConfigVariableInt, false, true, &x, "1", false);
    EXPECT_EQ(x, 5) << "a held-back name keeps its first line";
    int32_t second = 77;
    config->RegisterVariable("g_x", ConfigVariableInt, false, true, &second, "2", false);
    EXPECT_EQ(second, 77) << "a second registration while bound is ignored";
    config->RegisterVariable("g_go", ConfigVariableCommand, false, false, nullptr, "", false);
    EXPECT_FALSE(config->IsCommandIdle("g_go")) << "a held-back line triggers its command";

    // Unbound, the value is still saved and comes back at the next registration.
    x = 12;
    config->Unbind("g_x");
    x = 99;
    std::vector<std::string> names;
    config->ListNames(names);
    EXPECT_EQ(std::count(names.begin(), names.end(), "g_x"), 0);
    EXPECT_EQ(config->Execute("g_x 3"), ConfigExecuteUnknown);
    config->Save();
    std::string saved = ReadFile(dir + "/Game.ini");
    EXPECT_NE(saved.find("g_x 12\r\n"), std::string::npos);
    EXPECT_EQ(saved.find("never_registered"), std::string::npos);
    int32_t again = 0;
    config->RegisterVariable("g_x", ConfigVariableInt, false, true, &again, "1", false);
    EXPECT_EQ(again, 12);
    EXPECT_EQ(x, 99) << "the old storage is left alone";

    // Binding storage of another type would write through the wrong type: refused.
    config->Unbind("g_x");
    std::string wrongType = "untouched";
    config->RegisterVariable("g_x", ConfigVariableString, false, true, &wrongType, "s", false);
    EXPECT_EQ(wrongType, "untouched");
    EXPECT_EQ(config->GetValueText("g_x"), "12");
    EXPECT_TRUE(log.Contains("Error: Configuration variable \"g_x\" registered again with another type!"));
}

TEST_F(ConfigTest, ForceFlagsAndMissingFile) {
    std::string dir = FreshDir("force");
    auto quiet = Make(dir + "/missing", true, "1024x768x32", true, false);
    quiet->Load();
    EXPECT_EQ(quiet->GetSettings().vMode, "1024x768x32");
    EXPECT_TRUE(log.Texts().empty()) << "a missing settings file is no error";
    quiet.reset();

    WriteFile(dir + "/Game.ini", "v_mode 640x480x16\r\nv_fullscreen 1\r\nv_vsync 0\r\n");
    auto forced = Make(dir, true, "1024x768x32", true, false);
    forced->Load();
    EXPECT_EQ(forced->GetSettings().vMode, "1024x768x32");
    EXPECT_FALSE(forced->GetSettings().vFullscreen);
    EXPECT_FALSE(forced->GetSettings().vVsync);
    forced.reset();

    // An empty default mode becomes "800x600x32" and stops forcing it.
    auto unforced = Make(dir, true, "", false, false);
    unforced->Load();
    EXPECT_EQ(unforced->GetDefaultText("v_mode"), "800x600x32");
    EXPECT_EQ(unforced->GetSettings().vMode, "640x480x16");
    EXPECT_TRUE(unforced->GetSettings().vFullscreen);
}

TEST_F(ConfigTest, ResetConfigRestoresDefaultsAndRearmsCommands) {
    auto config = Make(FreshDir("reset"));
    int32_t level = 4;
    config->RegisterVariable("g_level", ConfigVariableInt, true, false, &level, "1", false);
    level = 4;
    config->Execute("v_mode 640x480x16");
    config->Execute("v_gamma 0.5");
    config->Execute("v_window_change_mode");
    EXPECT_EQ(config->Execute("reset_config"), ConfigExecuteDone);
    EXPECT_EQ(config->GetSettings().vMode, "640x480x16") << "nothing happens before the next frame starts";
    config->Update();
    EXPECT_EQ(config->GetSettings().vMode, "800x600x32");
    EXPECT_FLOAT_EQ(config->GetSettings().vGamma, 1.0f);
    EXPECT_TRUE(config->IsCommandIdle("v_window_change_mode"));
    EXPECT_TRUE(config->IsCommandIdle("reset_config"));
    EXPECT_EQ(level, 4) << "read-only variables keep their value";

    // Unbound, the command can no longer be triggered: frames go on without resetting anything.
    config->Unbind("reset_config");
    config->Execute("v_gamma 0.5");
    config->Update();
    EXPECT_FLOAT_EQ(config->GetSettings().vGamma, 0.5f);
}

TEST_F(ConfigTest, ChangesAreTrackedFromFrameToFrame) {
    auto config = Make(FreshDir("track"));
    float volume = 0;
    std::string name;
    int32_t count = 0;
    config->RegisterVariable("g_volume", ConfigVariableFloat, false, false, &volume, "0.5", true);
    config->RegisterVariable("g_name", ConfigVariableString, false, false, &name, "a", true);
    config->RegisterVariable("g_count", ConfigVariableInt, false, false, &count, "0", true);
    EXPECT_TRUE(config->IsChanged("g_volume")) << "changed during its first frame";
    config->Update();
    EXPECT_TRUE(config->IsChanged("g_volume"));
    EXPECT_TRUE(config->IsChanged("g_count"));
    config->ClearChangedFlags();

    volume += 0.00005f;
    config->Update();
    EXPECT_FALSE(config->IsChanged("g_volume"));
    volume += 0.001f;
    name = "b";
    config->Update();
    EXPECT_TRUE(config->IsChanged("g_volume"));
    EXPECT_TRUE(config->IsChanged("g_name"));
    EXPECT_FALSE(config->IsChanged("g_count"));
    config->ClearChangedFlags();
    config->Update();
    EXPECT_FALSE(config->IsChanged("g_volume"));
    EXPECT_FALSE(config->IsChanged("v_mode")) << "engine variables are not tracked";
}

TEST_F(ConfigTest, AFailedSaveIsLoggedNotThrown) {
    std::string dir = FreshDir("unwritable");
    WriteFile(dir + "/file", "a file where a folder should be");
    auto config = Make(dir + "/file/below");
    config->Save();
    EXPECT_TRUE(log.Contains("Error: Failed to open \"" + dir + "/file/below\\Game.ini\" file!"));
}

// A value that does not read as its variable's type must not become 0 or infinity and then be saved over
// what the user had: the variable keeps its value and the log says why.
TEST_F(ConfigTest, WrongTypedSettingsKeepTheirDefaults) {
    std::string dir = FreshDir("wrong-typed");
    const char* lines[] = {
        "v_brightness banana",   "v_gamma inf",      "v_contrast nan",
        "v_contrast 1e999",      "v_fullscreen yes", "r_texture_anisotropy lots",
        "r_texture_anisotropy ", "c_invert_mouse -", "v_vsync .",
    };
    std::string file;
    for (const char* line : lines)
        file += std::string(line) + "\r\n";
    WriteFile(dir + "/Game.ini", file);
    auto config = Make(dir);
    config->Load();
    const char* defaults[][2] = {{"v_brightness", "1.000000"},
                                 {"v_gamma", "1.000000"},
                                 {"v_contrast", "1.000000"},
                                 {"v_fullscreen", "0"},
                                 {"r_texture_anisotropy", "1"},
                                 {"c_invert_mouse", "0"},
                                 {"v_vsync", "1"}};
    for (const auto& entry : defaults)
        EXPECT_EQ(config->GetValueText(entry[0]), entry[1]) << entry[0];
    EXPECT_TRUE(log.Contains("Warning: Value \"banana\" of \"v_brightness\" is not a finite number, it keeps "
                             "1.000000!"));
    EXPECT_TRUE(log.Contains("Value \"yes\" of \"v_fullscreen\" is not 0 or 1"));
    EXPECT_TRUE(log.Contains("Value \"lots\" of \"r_texture_anisotropy\" is not an integer"));

    // What still reads as a number keeps its long-standing meaning.
    config->Execute("v_gamma -.5");
    config->Execute("r_texture_anisotropy 4x");
    EXPECT_EQ(config->GetValueText("v_gamma"), "-0.500000");
    EXPECT_EQ(config->GetValueText("r_texture_anisotropy"), "4");
    config->Save();
    std::string saved = ReadFile(dir + "/Game.ini");
    EXPECT_NE(saved.find("v_brightness 1.000000\r\n"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("inf"), std::string::npos) << saved;
}

TEST(ParseVideoMode, ReadsWidthHeightAndBits) {
    struct Case {
        const char* text;
        uint32_t width, height, bits;
    };
    const Case cases[] = {
        {"1024X768x32", 1024, 768, 32}, {"800x600x16", 800, 600, 16}, {"1024x768", 640, 480, 16},
        {"desktop", 640, 480, 16},      {"", 640, 480, 16},
    };
    for (const Case& c : cases) {
        uint32_t w = 1;
        uint32_t h = 1;
        uint32_t b = 1;
        ParseVideoMode(c.text, &w, &h, &b);
        EXPECT_EQ(w, c.width) << c.text;
        EXPECT_EQ(h, c.height) << c.text;
        EXPECT_EQ(b, c.bits) << c.text;
    }
    uint32_t onlyWidth = 0;
    ParseVideoMode("320x200x8", &onlyWidth, nullptr, nullptr);
    EXPECT_EQ(onlyWidth, 320u);
}

TEST(EngineSettingsFile, ReadAtStartWrittenAtExitAndExitTravelsThroughConfig) {
    std::string dir = FreshDir("engine");
    EngineStartupParams params;
    params.title = "Velmora Ball";
    params.configName = "Velmora Ball";
    params.configDirectory = dir + "\\User";
    params.saveConfigOnExit = true;
    params.defaultVideoMode = "1024x768x32";
    {
        Engine engine(params);
        Config* config = Config::Instance();
        ASSERT_NE(config, nullptr);
        EXPECT_EQ(config->GetSettings().vMode, "1024x768x32");
        config->Execute("v_mode 1280x1024x32");
        engine.BeginFrame();
        engine.Tick(0);
        EXPECT_FALSE(engine.IsExitRequested());
        EXPECT_EQ(config->Execute("\\exit"), ConfigExecuteDone);
        EXPECT_TRUE(engine.IsExitRequested());
    }
    EXPECT_NE(ReadFile(dir + "/User/Velmora Ball.ini").find("v_mode 1280x1024x32\r\n"), std::string::npos);
    {
        Engine engine(params);
        EXPECT_EQ(Config::Instance()->GetSettings().vMode, "1280x1024x32");
        EXPECT_FALSE(engine.IsExitRequested());
        engine.RequestExit();
        EXPECT_TRUE(engine.IsExitRequested());
        EXPECT_FALSE(Config::Instance()->IsCommandIdle("exit"));
    }
    EXPECT_EQ(Config::Instance(), nullptr);
}

// The settings file is written over the older one in one step: whatever stops the writing half-way, the
// user's saved settings are still there afterwards.
TEST_F(ConfigTest, AnInterruptedSaveLeavesTheOlderSettingsFile) {
    const std::string older = "v_mode 1280x1024x32\r\nv_gamma 1.500000\r\n";
    struct Case {
        const char* name;
        bool killedByTheKernel; // the first write ends the process; otherwise it fails with an error
    };
    const Case cases[] = {{"write-fails", false}, {"killed-at-first-write", true}};
    for (const Case& c : cases) {
        std::string dir = FreshDir(c.name);
        WriteFile(dir + "/Game.ini", older);
        auto config = Make(dir);
        config->Execute("v_mode 640x480x16");
        int status = VelmoraTest::RunInChild([&] {
            VelmoraTest::LimitFileSize(8, c.killedByTheKernel);
            config->Save();
            return log.Contains("Error: Failed to write") ? 0 : 3;
        });
        if (c.killedByTheKernel) {
            ASSERT_TRUE(WIFSIGNALED(status)) << c.name;
            EXPECT_EQ(WTERMSIG(status), SIGXFSZ) << c.name;
        } else {
            ASSERT_TRUE(WIFEXITED(status)) << c.name;
            EXPECT_EQ(WEXITSTATUS(status), 0) << c.name << ": the failure is logged";
            EXPECT_FALSE(fs::exists(dir + "/Game.ini.tmp")) << c.name << ": no temporary file is left";
        }
        EXPECT_EQ(ReadFile(dir + "/Game.ini"), older) << c.name;

        // The next save that can write replaces the file whole.
        config->Save();
        EXPECT_NE(ReadFile(dir + "/Game.ini").find("v_mode 640x480x16\r\n"), std::string::npos) << c.name;
        EXPECT_FALSE(fs::exists(dir + "/Game.ini.tmp")) << c.name;
    }
}
