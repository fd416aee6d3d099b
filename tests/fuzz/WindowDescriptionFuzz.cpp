// Builds a window from arbitrary description XML: the input's top element stands for the folder of window
// descriptions (each child one description file's element: windows, templates, faders), and the window
// built is the one its "name" names, else its first child's. Whatever the text, the build either ends with
// FatalError or makes a window that shows, updates, hides, answers lookups and is deleted, never hanging
// on a template that leads back to itself.
#include "engine/core/Config.h"
#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/StringUtils.h"
#include "engine/core/TimerManager.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/LightManager.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/graphics/SpriteGroupManager.h"
#include "engine/gui/GUIManager.h"
#include "gametools/DataKeeper.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLParser.h"
#include "guitools/GUIControl.h"
#include "guitools/GUIToolManager.h"
#include "guitools/GUIWindowBase.h"
#include "tests/support/RecordingRenderSystem.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace OrvexEngine;

namespace {

struct Services {
    Services() {
        MessageManager::Instance(&log);
        const std::string root = "/tmp/window-fuzz-" + std::to_string(getpid());
        std::filesystem::create_directories(root + "/data/ui/windows");
        files = new FileManager(root, false, "data", 0);
        FileManager::Instance(files);
        Config::Instance(&config);
        TimerManager::Instance(&timers);
        timers.frameTime = 0.1f;
        render = new VelmoraTest::RecordingRenderSystem(2);
        render->ready = true;
        CameraManager::Instance(new CameraManager());
        LightManager::Instance(new LightManager());
        ShaderManager::Instance(new ShaderManager());
        ModelManager::Instance(new ModelManager());
        SpriteGroupManager::Instance(new SpriteGroupManager());
        ParticleSystemManager::Instance(new ParticleSystemManager());
        GUIManager::Instance(new GUIManager())->SetScreenSize(800, 600);
        keeper = new GameTools::DataKeeper("en");
        tools = new GUITools::GUIToolManager("en");
    }
    MessageManager log{"Fuzz", false, false, "", ""};
    Config config{"", "", false, "800x600x32", false, false};
    TimerManager timers;
    FileManager* files = nullptr;                         // kept for the process
    VelmoraTest::RecordingRenderSystem* render = nullptr; // kept for the process
    GameTools::DataKeeper* keeper = nullptr;              // kept for the process
    GUITools::GUIToolManager* tools = nullptr;            // kept for the process
};

void Exercise(GUITools::GUIWindowBase& window) {
    window.Show(true);
    for (int frame = 0; frame < 3; ++frame) {
        window.Update();
        GUIManager::Instance()->Render();
    }
    for (GUITools::GUIControl* control : window.GetControls()) {
        const std::string& name = control->GetName();
        window.HasTextControl(name);
        window.GetWindow(name);
        window.GetButton(name);
        window.GetCheckBox(name);
        window.GetEditBox(name);
        window.GetScroll(name);
    }
    if (!window.GetControls().empty())
        window.EnableControl(window.GetControls().back()->GetName(), false);
    window.Show(false);
    for (int frame = 0; frame < 3; ++frame)
        window.Update();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Services* services = new Services();
    GameTools::XMLNode* top = nullptr;
    try {
        GameTools::XMLParser parser;
        parser.ParseText(top, ToWide(std::string(reinterpret_cast<const char*>(data), size)));
    } catch (const FileError&) {
        services->log.ClearEntries();
        return 0;
    }
    GameTools::XMLNode* descriptions = services->tools->windowDescriptions;
    while (!top->children.empty())
        descriptions->AddChild(top->children.front());
    std::string name;
    if (GameTools::XMLValue* value = top->GetAttribute("name", GameTools::XMLNode::SeverityNone))
        name = value->AsString();
    else if (!descriptions->children.empty())
        if (GameTools::XMLValue* first = descriptions->children.front()->GetAttribute("name", 0))
            name = first->AsString();
    delete top;
    try {
        GUITools::GUIWindowBase window(services->keeper, services->tools, nullptr, name);
        Exercise(window);
    } catch (const FatalError&) {
    }
    while (!descriptions->children.empty())
        descriptions->RemoveChild(descriptions->children.front());
    services->log.ClearEntries();
    return 0;
}
