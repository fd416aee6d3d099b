// ctest-label: shell
// The program entry's run: the link file beside the executable decides whether the game runs at all, the
// exit status tells a normal end from an error, and the link file opens afterwards in both cases (through
// a recording opener here: tests never start a browser).
#include "game/shell/GameLoader.h"

#include "platform/win/Process.h"
#include "platform/win/Shell.h"
#include "platform/win/Time.h"
#include "platform/win/WindowSimulation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class GameLoaderTest : public testing::Test {
protected:
    void SetUp() override {
        dataHome = std::getenv("XDG_DATA_HOME");
        std::error_code ignored;
        fs::remove_all(dataHome / "Quillfen Games", ignored);
        platform::SetShellOpenerForTests([this](const std::string& target) { opened.push_back(target); });
    }
    void TearDown() override {
        platform::SetShellOpenerForTests({});
        platform::SetExecutablePathForTests("");
        platform::sim::Reset();
    }

    // A program folder of its own: an executable path inside it, with or without the link file.
    fs::path MakeProgramFolder(const std::string& name, bool withLink) {
        const fs::path folder = fs::path(std::getenv("VB_TEST_TMP")) / name;
        fs::create_directories(folder);
        if (withLink)
            std::ofstream(folder / "play.url")
                << "[InternetShortcut]\r\nURL=https://example.invalid/help\r\n";
        platform::SetExecutablePathForTests((folder / "velmora-ball").string());
        return folder;
    }

    fs::path dataHome;
    std::vector<std::string> opened;
};

TEST_F(GameLoaderTest, WithoutTheLinkFileOnlyTheErrorBoxAppearsAndNothingIsWritten) {
    const fs::path folder = MakeProgramFolder("no-link", false);
    testing::internal::CaptureStderr();
    const int status = VelmoraBall::RunGame(folder.string());
    const std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 1);
    EXPECT_EQ(shown, "Error: Some files are corrupt. The game may not run. Please reinstall the game\n");
    EXPECT_FALSE(fs::exists(dataHome / "Quillfen Games"));
    EXPECT_TRUE(opened.empty());
}

TEST_F(GameLoaderTest, AFailedStartShowsTheFatalErrorExitsWithOneAndStillOpensTheLink) {
    // No data beside the program: the game's first resource list is missing.
    const fs::path folder = MakeProgramFolder("no-data", true);
    testing::internal::CaptureStderr();
    const int status = VelmoraBall::RunGame(folder.string());
    const std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 1);
    EXPECT_NE(shown.find("Fatal Error: "), std::string::npos) << shown;
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.invalid/help"});
}

TEST_F(GameLoaderTest, ANormalEndExitsWithZeroAndOpensTheLinkAfterwards) {
    // The build's own installation: the generated data beside the program, the link file written by the
    // data generator.
    const fs::path bin = fs::path(platform::GetExecutablePath()).parent_path().parent_path() / "bin";
    platform::SetExecutablePathForTests((bin / "velmora-ball").string());
    platform::InstallFakeClock(0);
    // The desktop asks the program to quit as soon as its loop runs.
    platform::sim::PushQuit();
    testing::internal::CaptureStderr();
    const int status = VelmoraBall::RunGame(bin.string());
    const std::string shown = testing::internal::GetCapturedStderr();
    platform::RemoveFakeClock();
    EXPECT_EQ(status, 0) << shown;
    EXPECT_EQ(shown.find("Fatal Error"), std::string::npos) << shown;
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "file://" + fs::weakly_canonical(bin).string() + "/help.html");
    EXPECT_TRUE(fs::exists(dataHome / "Quillfen Games" / "Velmora Ball" / "Velmora Ball.ini"));
}

} // namespace
