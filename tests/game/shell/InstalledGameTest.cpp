// ctest-label: shell
// The game as a player gets it: installed under a prefix, started through the command link, ended by a
// termination signal (the desktop logging out, Ctrl+C in a terminal) — which must be a normal exit that
// saves the settings and closes the log.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The tests run in the build folder, the folder the installation is made from.
fs::path InstallTo(const std::string& name) {
    const fs::path prefix = fs::path(std::getenv("VB_TEST_TMP")) / name;
    const std::string command =
        "cmake --install . --prefix '" + prefix.string() + "' > '" + (prefix.string() + ".log") + "' 2>&1";
    fs::create_directories(prefix);
    EXPECT_EQ(std::system(command.c_str()), 0) << ReadText(prefix.string() + ".log");
    return prefix;
}

} // namespace

TEST(InstalledGame, TheInstallationHasTheGameItsDataGuideLinkDesktopEntryAndIcon) {
    const fs::path prefix = InstallTo("layout");
    const fs::path folder = prefix / "lib" / "velmora-ball";
    EXPECT_TRUE(fs::is_regular_file(folder / "velmora-ball"));
    EXPECT_FALSE(fs::is_empty(folder / "data"));
    EXPECT_TRUE(fs::is_regular_file(folder / "help.html"));
    // The link points to the installed guide, not to the build's.
    EXPECT_EQ(ReadText(folder / "play.url"),
              "[InternetShortcut]\r\nURL=file://" + fs::weakly_canonical(folder).string() + "/help.html\r\n");
    EXPECT_EQ(fs::canonical(prefix / "bin" / "velmora-ball"), fs::canonical(folder / "velmora-ball"));
    const std::string entry = ReadText(prefix / "share" / "applications" / "velmora-ball.desktop");
    EXPECT_NE(entry.find("Exec=\"" + (prefix / "bin" / "velmora-ball").string() + "\""), std::string::npos);
    EXPECT_NE(entry.find("Icon=velmora-ball"), std::string::npos);
    const std::string icon = ReadText(prefix / "share/icons/hicolor/128x128/apps/velmora-ball.png");
    ASSERT_GT(icon.size(), 24u);
    EXPECT_EQ(icon.substr(1, 3), "PNG");
}

TEST(InstalledGame, ATerminationSignalEndsTheGameAsANormalExit) {
    const fs::path prefix = InstallTo("run");
    const fs::path userData = fs::path(std::getenv("XDG_DATA_HOME")) / "Quillfen Games" / "Velmora Ball";
    const fs::path log = userData / "Velmora Ball.html";

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const std::string program = (prefix / "bin" / "velmora-ball").string();
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // The signal is the platform's to turn into a quit message once its video has started, which the window's
    // creation logs just after. Waiting on the log, not on a clock, keeps the test independent of the
    // machine's speed; the bound only stops a hung game.
    bool running = false;
    for (int wait = 0; wait < 1200 && !running; ++wait) {
        running = ReadText(log).find("...Creating a device context...") != std::string::npos;
        if (!running)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(running) << "the game did not start";
    kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(fs::is_regular_file(userData / "Velmora Ball.ini"));
    EXPECT_GT(fs::file_size(userData / "Velmora Ball.ini"), 0u);
    EXPECT_NE(ReadText(log).find("Log end"), std::string::npos);
}
