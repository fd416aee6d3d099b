// A log without a file for tests of code that logs: created in the test, deleted with it, and registered
// as the MessageManager for its lifetime. Texts(type) gives the messages of one kind in order.
#pragma once

#include "engine/core/MessageManager.h"

#include <string>
#include <vector>

namespace VelmoraTest {

class TestLog {
public:
    TestLog() : log("Test", false, false, "", "") { OrvexEngine::MessageManager::Instance(&log); }

    // Every stored entry's text, oldest first.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (uint32_t i = 0; i < log.GetEntryCount(); ++i)
            texts.push_back(log.GetEntry(i)->text);
        return texts;
    }
    // True when some stored entry contains the text.
    bool Contains(const std::string& text) const {
        for (const std::string& entry : Texts())
            if (entry.find(text) != std::string::npos)
                return true;
        return false;
    }
    OrvexEngine::MessageManager& Manager() { return log; }

private:
    OrvexEngine::MessageManager log;
};

// A fresh temporary folder of the running test process (see TestMain.cpp).
std::string TempDir();

} // namespace VelmoraTest
