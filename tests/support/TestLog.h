// A log without a file for tests of code that logs: created in the test, deleted with it, and registered
// as the MessageManager for its lifetime. Texts gives the messages in order, Complaints the warnings and
// errors since a mark.
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
    // The log's position now, and the texts of the warnings and errors logged since such a position.
    uint32_t Mark() const { return log.GetEntryCount(); }
    std::vector<std::string> Complaints(uint32_t mark) const {
        std::vector<std::string> lines;
        for (uint32_t i = mark; i < log.GetEntryCount(); ++i)
            if (log.GetEntry(i)->type >= OrvexEngine::MessageTypeWarning)
                lines.push_back(log.GetEntry(i)->text);
        return lines;
    }
    OrvexEngine::MessageManager& Manager() { return log; }

private:
    OrvexEngine::MessageManager log;
};

// A fresh temporary folder of the running test process (see TestMain.cpp).
std::string TempDir();

} // namespace VelmoraTest
