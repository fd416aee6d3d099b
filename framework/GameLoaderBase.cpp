#include "framework/GameLoaderBase.h"

#include "engine/core/Error.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FilePaths.h"
#include "engine/files/FileTextual.h"
#include "framework/GameBase.h"
#include "framework/Registry.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLParser.h"
#include "gametools/XMLValue.h"
#include "platform/win/Events.h"
#include "platform/win/MessageBox.h"

#include <cctype>
#include <climits>
#include <memory>

namespace GameFramework {

namespace {

// Leading blanks, one sign, then the leading decimal digits; no digits gives 0. A number beyond int is held
// at the nearest limit rather than wrapping into a version nobody wrote.
int ParseVersion(const std::string& text) {
    size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    long long value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        return static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

// The publisher's name from "data\publisher.xml" below the installation; empty when the file, the element
// or the attribute is missing, and when the file does not read. There is no log yet to say so.
std::string ReadPublisherName(const std::string& installationDirectory) {
    const std::string fileName = installationDirectory + "\\data\\publisher.xml";
    if (!OrvexEngine::FileExistsOnDisk(fileName))
        return {};
    try {
        OrvexEngine::FileTextual file(fileName, 0, OrvexEngine::TextEncodingAnsi);
        GameTools::XMLParser parser;
        auto document = std::make_unique<GameTools::XMLNode>();
        parser.Parse(document.get(), &file);
        GameTools::XMLNode* publisher = document->GetChild("publisher", 0);
        if (publisher == nullptr)
            return {};
        GameTools::XMLValue* name = publisher->GetAttribute("name", 0);
        return name != nullptr ? name->AsString() : std::string();
    } catch (...) {
        return {};
    }
}

// The name becomes one folder below the user's data: a name that would climb out of it or name another
// place counts as none.
bool IsUsableFolderName(const std::string& name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find_first_of("\\/:") == std::string::npos;
}

} // namespace

GameLoaderBase::GameLoaderBase(void* instance, void* previousInstance, const std::string& commandLine,
                               int showCommand, const std::string& companyName, const std::string& gameName,
                               int builtInVersion)
    : instance(instance), previousInstance(previousInstance), commandLine(commandLine),
      showCommand(showCommand), companyName(companyName), gameName(gameName), version(builtInVersion) {
    registryKeyPath = "SOFTWARE\\" + companyName + "\\" + gameName;

    std::string versionText;
    if (!Registry::ReadString(registryKeyPath, "Version", versionText))
        versionText = std::to_string(builtInVersion);
    version = ParseVersion(versionText);

    // A pack beside the executable means the program runs from its installation, whatever the registry
    // says (a copied or moved installation).
    const std::string executableDirectory = OrvexEngine::GetExecutableDirectory();
    if (OrvexEngine::FileExistsOnDisk(executableDirectory + "\\data\\pack0.pak"))
        installationDirectory = executableDirectory;
    else if (!Registry::ReadString(registryKeyPath, "InstallPath", installationDirectory))
        installationDirectory = executableDirectory;

    publisherName = ReadPublisherName(installationDirectory);
    if (!IsUsableFolderName(publisherName))
        publisherName = "default";
}

GameLoaderBase::~GameLoaderBase() = default;

bool GameLoaderBase::Run() {
    std::string text;
    try {
        GameBase* created = CreateGame();
        // A game's factory that only returns its root still gets a running loop, not a null root.
        if (game == nullptr)
            game = created;
        RunMessageLoop();
        DestroyGame();
        return true;
    } catch (const OrvexEngine::Error& error) {
        text = error.GetText();
    } catch (...) {
        text = "Unhandled exception!";
    }
    // A root whose engine was built shuts it down here, so the log is closed before the box waits.
    try {
        DestroyGame();
    } catch (...) {
        // The first error is the one worth showing.
    }
    platform::ShowMessageBox(text, "Fatal Error", platform::MessageBoxIcon::Error);
    return false;
}

void GameLoaderBase::DestroyGame() {
    GameBase* root = game;
    game = nullptr;
    delete root;
}

void GameLoaderBase::RunMessageLoop() {
    platform::WindowMessage message;
    for (;;) {
        if (platform::PeekWindowMessage(message)) {
            platform::TranslateWindowMessage(message);
            platform::DispatchWindowMessage(message);
        } else {
            game->UpdateFrame();
        }
        if (game->IsExitRequested())
            break;
    }
}

} // namespace GameFramework
