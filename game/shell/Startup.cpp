#include "game/shell/Startup.h"

#include "engine/core/Error.h"
#include "engine/files/FilePaths.h"
#include "platform/win/FileSystem.h"
#include "platform/win/MessageBox.h"

#include <cstdio>
#include <exception>

namespace VelmoraBall {

std::string PrepareUserDataDirectory() {
    std::string folder = OrvexEngine::GetUserDataFolder();
    std::string directory = folder + "\\Quillfen Games\\Velmora Ball";
    bool usable = false;
    if (!folder.empty()) {
        OrvexEngine::CreateDirectoryTree(directory + "\\");
        usable = platform::IsWritableDirectory(directory);
    }
    if (!usable) {
        // The log would be the place to say so, but it is written into this very folder.
        static bool reported = false;
        if (!reported)
            std::fprintf(stderr,
                         "Velmora Ball: the user data folder \"%s\" cannot be created or written; the log, "
                         "the settings and the profiles will not be saved\n",
                         directory.c_str());
        reported = true;
    }
    return directory;
}

int RunReportingFailures(const std::function<int()>& game) {
    std::string text;
    try {
        return game();
    } catch (const OrvexEngine::Error& error) {
        text = error.GetText();
    } catch (const std::exception& error) {
        text = error.what();
    } catch (...) {
        text = "Unknown error";
    }
    platform::ShowMessageBox(text, "Fatal Error", platform::MessageBoxIcon::Error);
    return 1;
}

} // namespace VelmoraBall
