// ctest-label: core
#include "engine/core/MessageManager.h"

#include "engine/core/Error.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/wait.h>

using namespace OrvexEngine;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The dates change from run to run; everything else must match byte for byte.
std::string WithoutDates(const std::string& html) {
    static const std::regex date("[A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9]\\d \\d{2}:\\d{2}:\\d{2} \\d{4}");
    return std::regex_replace(html, date, "DATE");
}

} // namespace

TEST(MessageManager, WritesTheLogByteForByte) {
    std::string dir = VelmoraTest::TempDir() + "/logs/nested";
    {
        MessageManager log("Game", true, false, dir, "");
        log.Message("plain <b> & x");
        log.Important("ok");
        log.Warning("careful");
        log.Error("broken");
        log.SetSpacing(false);
        log.Warning("w");
        log.Error("e");
        log.Message("m");
        EXPECT_THROW(log.Fatal("gone"), FatalError);
    }
    const std::string expected =
        "<HTML><HEAD><TITLE>Game Log</TITLE></HEAD><BODY bgcolor=\"#000000\"><FONT color=\"#FFFFFF\">"
        "<FONT color=\"#FFFFFF\">======== </FONT><FONT color=\"#00FF00\">Game Log: DATE</FONT>"
        "<FONT color=\"#FFFFFF\"> ========<BR><BR></FONT>"
        "plain <b> & x<BR>"
        "<FONT color=\"#00FF00\">ok<BR></FONT>"
        "<FONT color=\"#7F7F7F\"><BR>Warning: careful!<BR><BR></FONT>"
        "<FONT color=\"#FF0000\"><BR>Error: broken!<BR><BR></FONT>"
        "<FONT color=\"#7F7F7F\">Warning: w!<BR></FONT>"
        "<FONT color=\"#FF0000\">Error: e!<BR></FONT>"
        "m"
        "<FONT color=\"#FF0000\">PROGRAM ABORTING: gone<BR></FONT>"
        "<FONT color=\"#FFFFFF\"><BR>======== </FONT><FONT color=\"#00FF00\">Game Log end: DATE</FONT>"
        "<FONT color=\"#FFFFFF\"> ========<BR></FONT></FONT></BODY></HTML>";
    EXPECT_EQ(WithoutDates(ReadFile(dir + "/Game.html")), expected);
}

TEST(MessageManager, ReopenPerMessageWritesTheSameFileAndKeepsEachMessageOnDisk) {
    std::string dir = VelmoraTest::TempDir();
    MessageManager log("T", true, true, dir, "named");
    log.Error("x");
    std::string soFar = ReadFile(dir + "/named.html");
    EXPECT_NE(soFar.find("<FONT color=\"#FF0000\"><BR>Error: x!<BR><BR></FONT>"), std::string::npos);
    EXPECT_EQ(soFar.find("Log end"), std::string::npos);
}

// The log is read after a crash or a kill more than after any normal exit: each message is in the file as
// soon as it is logged, whether the file stays open or is opened per message.
TEST(MessageManager, AKilledProcessLeavesEveryMessageItLoggedInTheFile) {
    for (bool reopen : {false, true}) {
        std::string dir = VelmoraTest::TempDir() + (reopen ? "/killed-reopen" : "/killed-open");
        int status = VelmoraTest::RunInChild([&] {
            auto* log = new MessageManager("Game", true, reopen, dir, ""); // never deleted: the kill ends all
            log->Message("start-up line");
            log->Error("the last message");
            raise(SIGKILL);
            return 0;
        });
        ASSERT_TRUE(WIFSIGNALED(status));
        std::string html = ReadFile(dir + "/Game.html");
        EXPECT_NE(html.find("Game Log: "), std::string::npos) << reopen;
        EXPECT_NE(
            html.find("start-up line<BR><FONT color=\"#FF0000\"><BR>Error: the last message!<BR><BR></FONT>"),
            std::string::npos)
            << reopen << ": " << html;
        EXPECT_EQ(html.find("Log end"), std::string::npos) << reopen;
    }
}

TEST(MessageManager, StoresEntriesUntilClearedEvenWithoutAFile) {
    MessageManager log("T", false, false, "", "");
    log.Warning("x");
    log.Message("y");
    try {
        log.Fatal("z");
        FAIL() << "Fatal returned";
    } catch (Error& error) { // a handler of Error sees the fatal one
        EXPECT_EQ(error.GetText(), "z");
    }
    ASSERT_EQ(log.GetEntryCount(), 3u);
    EXPECT_EQ(log.GetEntry(0)->type, MessageTypeWarning);
    EXPECT_EQ(log.GetEntry(0)->text, "\nWarning: x!\n\n");
    EXPECT_EQ(log.GetEntry(1)->text, "y\n");
    EXPECT_EQ(log.GetEntry(2)->type, MessageTypeFatal);
    EXPECT_EQ(log.GetEntry(2)->text, "PROGRAM ABORTING: z\n");
    log.ClearEntries();
    EXPECT_EQ(log.GetEntryCount(), 0u);
}

TEST(MessageManager, ColourTextTruncatesEachComponent) {
    struct Case {
        Vec3 colour;
        const char* text;
    } cases[] = {{Vec3(1, 1, 1), "#FFFFFF"},
                 {Vec3(0.5f, 0.5f, 0.5f), "#7F7F7F"},
                 {Vec3(0, 1, 0), "#00FF00"},
                 {Vec3(0.06f, 0, 0.999f), "#0F00FE"}};
    for (const Case& c : cases)
        EXPECT_EQ(MessageManager::ColorToHtml(c.colour), c.text);
}

TEST(MessageManager, AFileThatCannotBeOpenedLeavesTheLogInMemory) {
    std::string blocker = VelmoraTest::TempDir() + "/not-a-folder";
    std::ofstream(blocker) << "x";
    MessageManager log("T", true, false, blocker, "log");
    log.Message("still kept");
    EXPECT_EQ(log.GetEntryCount(), 1u);
}
