// ctest-label: framework
// The loader: the version and the installation folder from the registry stand-in, the publisher's name from
// its file, and Run over a headless root: a clean exit, an exit through the window's close, and errors that
// escape start-up or a frame shown in the "Fatal Error" box with the result false.
#include "framework/GameLoaderBase.h"

#include "engine/core/Config.h"
#include "engine/core/Engine.h"
#include "engine/core/Error.h"
#include "engine/core/StringUtils.h"
#include "framework/GameBase.h"
#include "platform/d3d/D3DTest.h"
#include "platform/win/Time.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/HeadlessGame.h"
#include "tests/support/ProfileFixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

using namespace GameFramework;
using namespace VelmoraTest;
namespace fs = std::filesystem;

namespace {

// Each test has its own game name, so that its registry file and user folder are its own.
class GameLoaderTest : public testing::Test {
protected:
    void SetUp() override {
        platform::InstallFakeClock();
        platform::D3DTest::Reset();
        platform::sim::Reset();
        gameName = std::string("Loader ") + testing::UnitTest::GetInstance()->current_test_info()->name();
        root = fs::path(TempDir()) / gameName;
        fs::remove_all(root);
        install = root / "install";
        WriteHeadlessData(install.string());
    }
    void TearDown() override {
        platform::RemoveFakeClock();
        platform::sim::Reset();
    }

    void WriteRegistry(const std::string& lines) {
        WriteFileBytes(fs::path(getenv("XDG_CONFIG_HOME")) / "Quillfen Games" / gameName / "registry.ini",
                       lines);
    }
    void WritePublisher(const std::string& xml) { WriteFileBytes(install / "data/publisher.xml", xml); }

    std::string gameName;
    fs::path root, install;
};

TEST_F(GameLoaderTest, TheVersionIsTheRegistryTextsLeadingNumberElseTheBuiltInOne) {
    struct Case {
        const char* registry; // null: no "Version" value
        int expected;
    };
    const Case cases[] = {
        {nullptr, 100},
        {"105", 105},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"  -7", -7},
        {"+42", 42},
        // Beyond int: held at the limit, never wrapped into a small or negative number.
        {"99999999999999999999", INT_MAX},
        {"-99999999999999999999", INT_MIN},
    };
    for (const Case& c : cases) {
        WriteRegistry(c.registry != nullptr ? std::string("Version=") + c.registry + "\n" : "");
        HeadlessLoader loader("Quillfen Games", gameName, 100);
        EXPECT_EQ(loader.version, c.expected) << (c.registry ? c.registry : "(none)");
        EXPECT_EQ(loader.registryKeyPath, "SOFTWARE\\Quillfen Games\\" + gameName);
    }
}

TEST_F(GameLoaderTest, TheInstallationIsTheRegistrysPathAsWrittenElseTheExecutablesFolder) {
    // No pack lies beside the test executables, so the registry is asked.
    WriteRegistry("");
    EXPECT_EQ(HeadlessLoader("Quillfen Games", gameName, 100).installationDirectory,
              OrvexEngine::GetExecutableDirectory());
    WriteRegistry("InstallPath=/no/such/folder/anywhere\n");
    EXPECT_EQ(HeadlessLoader("Quillfen Games", gameName, 100).installationDirectory,
              "/no/such/folder/anywhere");
}

TEST_F(GameLoaderTest, ThePublisherComesFromItsFileAndIsDefaultWheneverTheFileNamesNoUsableFolder) {
    WriteRegistry("InstallPath=" + install.string() + "\n");
    struct Case {
        const char* file; // null: no file
        const char* expected;
    };
    const Case cases[] = {
        {nullptr, "default"},
        {"<publisher name=\"Nordlicht Spiele\"/>", "Nordlicht Spiele"},
        {"<?xml version=\"1.0\"?><publisher name=\"Aster\"><logo/></publisher>", "Aster"},
        {"<publisher name=\"\"/>", "default"},
        {"<publisher/>", "default"},
        {"<other name=\"Aster\"/>", "default"},
        {"<publisher name=\"Aster\"", "default"},
        {"", "default"},
        // The name becomes a folder of the user's data: one that would lead elsewhere is not taken.
        {"<publisher name=\"..\\..\\elsewhere\"/>", "default"},
        {"<publisher name=\"../elsewhere\"/>", "default"},
        {"<publisher name=\"..\"/>", "default"},
        {"<publisher name=\"C:\\Games\"/>", "default"},
    };
    for (const Case& c : cases) {
        fs::remove(install / "data/publisher.xml");
        if (c.file != nullptr)
            WritePublisher(c.file);
        HeadlessLoader loader("Quillfen Games", gameName, 100);
        EXPECT_EQ(loader.publisherName, c.expected) << (c.file ? c.file : "(no file)");
        EXPECT_EQ(loader.installationDirectory, install.string());
    }
}

TEST_F(GameLoaderTest, RunEndsAfterTheFrameThatTriggersExitAndReportsSuccess) {
    WriteRegistry("InstallPath=" + install.string() + "\n");
    HeadlessLoader loader("Quillfen Games", gameName, 100);
    loader.options.afterFrame = [](HeadlessGame& game, int frame) {
        if (frame == 5)
            game.engine->RequestExit();
    };
    testing::internal::CaptureStderr();
    const bool result = loader.Run();
    const std::string shown = testing::internal::GetCapturedStderr();

    EXPECT_TRUE(result);
    EXPECT_EQ(GameLoaderBase::ExitStatus(result), 0);
    EXPECT_EQ(shown.find("Fatal Error"), std::string::npos);
    EXPECT_TRUE(loader.transcript.Contains("destroyed after 5 frames")) << loader.transcript.Text();
    EXPECT_EQ(loader.game, nullptr);
    EXPECT_TRUE(loader.transcript.Contains("show logos 1"));
}

TEST_F(GameLoaderTest, ARootTheFactoryOnlyReturnsIsRunAndDeletedAllTheSame) {
    WriteRegistry("InstallPath=" + install.string() + "\n");
    class ReturningLoader : public HeadlessLoader {
    public:
        using HeadlessLoader::HeadlessLoader;
        GameBase* CreateGame() override {
            GameBase* root = HeadlessLoader::CreateGame();
            game = nullptr;
            return root;
        }
    };
    ReturningLoader loader("Quillfen Games", gameName, 100);
    loader.options.afterFrame = [](HeadlessGame& game, int frame) {
        if (frame == 2)
            game.engine->RequestExit();
    };
    EXPECT_TRUE(loader.Run());
    EXPECT_TRUE(loader.transcript.Contains("destroyed after 2 frames")) << loader.transcript.Text();
}

TEST_F(GameLoaderTest, ClosingTheWindowEndsTheLoopAfterThatMessageWithoutAnotherFrame) {
    WriteRegistry("InstallPath=" + install.string() + "\n");
    HeadlessLoader loader("Quillfen Games", gameName, 100);
    loader.options.afterFrame = [](HeadlessGame&, int frame) {
        if (frame == 3)
            platform::sim::PushClose();
    };
    EXPECT_TRUE(loader.Run());
    EXPECT_TRUE(loader.transcript.Contains("destroyed after 3 frames")) << loader.transcript.Text();
}

TEST_F(GameLoaderTest, AnErrorThatEscapesIsShownInTheFatalErrorBoxAndRunFails) {
    WriteRegistry("InstallPath=" + install.string() + "\n");
    struct Case {
        const char* name;
        bool duringStartUp;
        bool engineError;
        const char* shown;
    };
    const Case cases[] = {
        {"engine error at start-up", true, true, "Fatal Error: The start-up broke\n"},
        {"other exception at start-up", true, false, "Fatal Error: Unhandled exception!\n"},
        {"engine error in a frame", false, true, "Fatal Error: The start-up broke\n"},
        {"other exception in a frame", false, false, "Fatal Error: Unhandled exception!\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeadlessLoader loader("Quillfen Games", gameName, 100);
        auto fail = [engineError = c.engineError] {
            if (engineError)
                throw OrvexEngine::FatalError("The start-up broke");
            throw 42;
        };
        if (c.duringStartUp)
            loader.options.onInitialized = [fail](HeadlessGame&) { fail(); };
        else
            loader.options.afterFrame = [fail](HeadlessGame&, int frame) {
                if (frame == 2)
                    fail();
            };
        testing::internal::CaptureStderr();
        const bool result = loader.Run();
        const std::string shown = testing::internal::GetCapturedStderr();

        EXPECT_FALSE(result);
        EXPECT_EQ(GameLoaderBase::ExitStatus(result), 1);
        EXPECT_NE(shown.find(c.shown), std::string::npos) << shown;
        EXPECT_EQ(loader.game, nullptr);
        // The root (or at start-up its framework part) was deleted before the box, and the engine with it.
        if (!c.duringStartUp) {
            EXPECT_TRUE(loader.transcript.Contains("destroyed after 2 frames")) << loader.transcript.Text();
        }
        EXPECT_EQ(OrvexEngine::Config::Instance(), nullptr);
    }
}

TEST_F(GameLoaderTest, AStartUpWithoutItsResourceListsFailsWithTheFileManagersText) {
    WriteRegistry("InstallPath=" + install.string() + "\n");
    fs::remove(install / "data/ui/resources_basic.xml");
    HeadlessLoader loader("Quillfen Games", gameName, 100);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loader.Run());
    const std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find("Fatal Error: "), std::string::npos);
    EXPECT_NE(shown.find("resources_basic.xml"), std::string::npos) << shown;
    EXPECT_EQ(OrvexEngine::Config::Instance(), nullptr);
}

} // namespace
