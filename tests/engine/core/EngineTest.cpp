// ctest-label: core
#include "engine/core/Engine.h"

#include "engine/core/Config.h"
#include "engine/core/Controls.h"
#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/TimerManager.h"
#include "engine/core/Window.h"
#include "engine/files/FileManager.h"
#include "engine/math/Random.h"
#include "platform/win/Com.h"
#include "platform/win/Time.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

using namespace OrvexEngine;

namespace {

// The log names its file with "\\" separators; the file system wants "/".
std::string ReadFile(std::string path) {
    for (char& c : path)
        if (c == '\\')
            c = '/';
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

EngineStartupParams Params(const std::string& title, int32_t version) {
    EngineStartupParams params;
    params.title = title;
    params.version = version;
    return params;
}

class EngineTest : public testing::Test {
protected:
    void SetUp() override { platform::InstallFakeClock(); }
    void TearDown() override {
        platform::RemoveFakeClock();
        platform::sim::Reset();
    }
};

} // namespace

TEST_F(EngineTest, MakeWindowTitleShowsTheVersionAsMajorDotMinor) {
    struct Case {
        const char* title;
        int32_t version;
        const char* expected;
    };
    const Case cases[] = {
        {"Velmora Ball", 100, "Velmora Ball 1.00"},
        {"Velmora Ball", 5, "Velmora Ball 0.05"},
        {"Velmora Ball", 1234, "Velmora Ball 12.34"},
        {"", 100, "Orvex Engine 0.67"}, // no title: the engine's own name and version
    };
    for (const Case& c : cases) {
        Engine engine(Params(c.title, c.version));
        EXPECT_EQ(engine.MakeWindowTitle(), c.expected);
    }
}

TEST_F(EngineTest, WithoutATitleTheLogIsNamedAfterTheEngine) {
    EngineStartupParams params = Params("", 0);
    params.logEnabled = true;
    params.logDirectory = VelmoraTest::TempDir() + "/untitled";
    std::string path;
    {
        Engine engine(params);
        path = Log()->GetFilePath();
    }
    EXPECT_EQ(path, params.logDirectory + "\\Orvex Engine.html");
    EXPECT_NE(ReadFile(path).find("<TITLE>Orvex Engine Log</TITLE>"), std::string::npos);
}

TEST_F(EngineTest, FrameMeasuresTimeSleepsAndHandsLogEntriesOnOnce) {
    Engine engine(Params("Frames", 100));
    TimerManager* timers = TimerManager::Instance();
    ASSERT_NE(timers, nullptr);

    platform::AdvanceFakeClockMilliseconds(16);
    engine.BeginFrame();
    EXPECT_FLOAT_EQ(timers->frameTime, 0.016f);

    // An entry written by the application's frame work stays until the next frame starts.
    Log()->Message("between frames");
    const uint32_t before = platform::TimeGetTime();
    engine.Tick(0);
    EXPECT_EQ(platform::TimeGetTime(), before); // Tick(0) does not sleep
    EXPECT_EQ(Log()->GetEntryCount(), 1u);
    engine.BeginFrame();
    EXPECT_EQ(Log()->GetEntryCount(), 0u);

    engine.Tick(5);
    EXPECT_EQ(platform::TimeGetTime() - before, 5u);
    // The sleep belongs to the frame: the next frame measures it.
    engine.BeginFrame();
    EXPECT_FLOAT_EQ(timers->frameTime, 0.005f);
}

TEST_F(EngineTest, EveryTickAfterExitLogsExiting) {
    Engine engine(Params("Exit", 100));
    engine.BeginFrame();
    engine.Tick(0);
    EXPECT_FALSE(engine.IsExitRequested());
    EXPECT_EQ(Log()->GetEntryCount(), 0u);

    engine.RequestExit();
    EXPECT_TRUE(engine.IsExitRequested());
    for (int frame = 0; frame < 2; ++frame) {
        engine.BeginFrame();
        engine.Tick(0);
        ASSERT_EQ(Log()->GetEntryCount(), 1u);
        EXPECT_EQ(Log()->GetEntry(0)->text, "\nExiting...\n\n"); // the log's spacing adds a line feed
    }
}

TEST_F(EngineTest, SeedsTheRandomGeneratorWithTheTickCount) {
    for (uint32_t ticks : {0u, 12345u, 0xFFFFFFFFu}) {
        platform::InstallFakeClock(ticks);
        uint32_t drawn[3] = {};
        {
            Engine engine(Params("Seed", 100));
            for (uint32_t& value : drawn)
                value = NextRandom();
        }
        SeedRandom(ticks);
        for (uint32_t value : drawn)
            EXPECT_EQ(value, NextRandom()) << ticks;
    }
}

namespace {

// Every service the engine registers, null once it is gone.
void ExpectNoServices() {
    EXPECT_EQ(MessageManager::Instance(), nullptr);
    EXPECT_EQ(FileManager::Instance(), nullptr);
    EXPECT_EQ(TimerManager::Instance(), nullptr);
    EXPECT_EQ(Config::Instance(), nullptr);
    EXPECT_EQ(Window::Instance(), nullptr);
    EXPECT_EQ(Controls::Instance(), nullptr);
    EXPECT_TRUE(platform::GetRaisedTimerPeriods().empty());
}

// The positions of the texts in the log, in the order given; npos for a missing one.
std::vector<size_t> Positions(const std::string& html, const std::vector<std::string>& texts) {
    std::vector<size_t> positions;
    for (const std::string& text : texts)
        positions.push_back(html.find(text));
    return positions;
}

} // namespace

TEST_F(EngineTest, ShutdownDeletesServicesInReverseOrderAndTheLogLast) {
    EngineStartupParams params = Params("Shutdown", 100);
    params.logEnabled = true;
    params.logDirectory = VelmoraTest::TempDir() + "/shutdown";
    for (int round = 0; round < 2; ++round) { // one engine after another in one process
        std::string path;
        {
            Engine engine(params);
            EXPECT_EQ(platform::GetRaisedTimerPeriods().size(), 1u);
            ASSERT_NE(TimerManager::Instance(), nullptr);
            path = Log()->GetFilePath();
            engine.BeginFrame();
            engine.Tick(0);
        }
        ExpectNoServices();
        const std::string html = ReadFile(path);
        const std::vector<size_t> at =
            Positions(html, {"Initialization of File Manager...",
                             "Window creation:", "Initialization of DirectInput devices...",
                             "DirectInput devices destroying:", "Window destroying:", "Shutdown Log end:"});
        for (size_t i = 0; i < at.size(); ++i) {
            ASSERT_NE(at[i], std::string::npos) << "line " << i << " missing: " << html;
            if (i > 0) {
                EXPECT_LT(at[i - 1], at[i]) << "line " << i << " out of order";
            }
        }
        EXPECT_EQ(html.rfind("</BODY></HTML>"), html.size() - 14); // the tail closes the file
    }
}

// A step that fails part-way (here the window's device context) takes down what was built before it, the
// log last with its tail; the next engine of the process then builds as if nothing had happened.
TEST_F(EngineTest, FailedConstructionDeletesWhatItHadBuilt) {
    EngineStartupParams params = Params("Failing", 100);
    params.logEnabled = true;
    params.logDirectory = VelmoraTest::TempDir() + "/failing";
    const std::string path = params.logDirectory + "\\Failing.html";

    platform::sim::FailDeviceContext(true);
    try {
        Engine engine(params);
        ADD_FAILURE() << "construction succeeded";
    } catch (const FatalError& error) {
        EXPECT_EQ(error.GetText(), "Failed to create a device context");
    }
    platform::sim::FailDeviceContext(false);

    ExpectNoServices();
    EXPECT_EQ(platform::ComInitialize(), platform::ComOk) << "COM left initialised";
    platform::ComUninitialize();
    const std::string html = ReadFile(path);
    const std::vector<size_t> at =
        Positions(html, {"Window creation:", "PROGRAM ABORTING: Failed to create a device context",
                         "Failing Log end:"});
    for (size_t i = 0; i < at.size(); ++i)
        ASSERT_NE(at[i], std::string::npos) << "line " << i << " missing: " << html;
    EXPECT_LT(at[0], at[1]);
    EXPECT_LT(at[1], at[2]);
    EXPECT_EQ(html.find("DirectInput"), std::string::npos) << "a step after the failure ran";

    Engine next(params);
    EXPECT_NE(Window::Instance(), nullptr);
    EXPECT_EQ(platform::GetRaisedTimerPeriods().size(), 1u);
}

TEST_F(EngineTest, ComIsUninitialisedOnlyWhenTheEngineInitialisedIt) {
    { Engine engine(Params("Com", 100)); }
    // The engine's initialisation was the first; its destructor ended it.
    ASSERT_EQ(platform::ComInitialize(), platform::ComOk);

    // COM is now initialised by the application: the engine's attempt answers "already" (and, as on the
    // original platform, still counts), and the engine must leave COM alone at the end.
    { Engine engine(Params("Com", 100)); }
    platform::ComUninitialize(); // the application's own end
    EXPECT_EQ(platform::ComInitialize(), platform::ComFalse) << "the engine ended COM it had not started";
    platform::ComUninitialize();
    platform::ComUninitialize();
    EXPECT_EQ(platform::ComInitialize(), platform::ComOk);
    platform::ComUninitialize();
}
