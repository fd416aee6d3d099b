#include "engine/core/Engine.h"

#include "engine/core/Config.h"
#include "engine/core/Console.h"
#include "engine/core/Controls_DI7.h"
#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/TimerManager.h"
#include "engine/core/Window.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/LightManager.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/RenderSystem_D3D7.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/graphics/SpriteGroupManager.h"
#include "engine/gui/GUIManager.h"
#include "engine/math/Random.h"
#include "engine/sound/SoundManager.h"
#include "engine/sound/SoundSystem_DS7.h"
#include "platform/win/Com.h"
#include "platform/win/NativeWindow.h"
#include "platform/win/Time.h"

#include <cstdio>

namespace OrvexEngine {

namespace {

// Deletes a service through its holder; the service forgets itself as it goes.
template <class T> void DeleteService() {
    delete T::Instance();
}

} // namespace

Engine::Engine(const EngineStartupParams& startupParams) {
    params = new EngineStartupParams(startupParams);
    if (params->title.empty()) {
        params->title = "Orvex Engine";
        params->version = 67;
    }
    comInitialized = platform::ComInitialize() == platform::ComOk;

    try {
        MessageManager::Instance(new MessageManager(params->title, params->logEnabled,
                                                    params->logReopenPerMessage, params->logDirectory,
                                                    params->logName));
        FileManager::Instance(new FileManager(params->baseDirectory, params->usePacks, params->dataDirectory,
                                              params->maxMemoryFileSize));
        TimerManager::Instance(new TimerManager());
        Config::Instance(new Config(params->configDirectory, params->configName,
                                    params->forceDefaultVideoMode, params->defaultVideoMode,
                                    params->forceDefaultFullscreen, params->defaultFullscreen));
        Config::Instance()->Load();
        uint32_t width = 0;
        uint32_t height = 0;
        Window::ChooseClientSize(width, height);
        // The window's own framebuffer carries the stencil the renderer will ask for.
        platform::SetWindowStencilBits(params->useStencilBuffer ? 8 : 0);
        Window::Instance(new Window(MakeWindowTitle(), params->parentWindow, params->iconResource, width,
                                    height, Config::Instance()->GetValueText("v_fullscreen") == "1",
                                    params->centerWindow, params->windowPosition));
        RenderSystem::Instance(new RenderSystem_D3D7(params->useStencilBuffer, params->allowOversizedWindow));
        CameraManager::Instance(new CameraManager());
        LightManager::Instance(new LightManager());
        ShaderManager::Instance(new ShaderManager());
        ModelManager::Instance(new ModelManager());
        SpriteGroupManager::Instance(new SpriteGroupManager());
        ParticleSystemManager::Instance(new ParticleSystemManager());
        Controls::Instance(new Controls_DI7(true));
        // Sound is optional: when the device cannot start (it logged why), the game runs silent.
        try {
            SoundSystem::Instance(new SoundSystem_DS7(params->sound3D));
            SoundManager::Instance(new SoundManager());
        } catch (const Error&) {
        }
        GUIManager::Instance(new GUIManager());
        // The last step: every run of the game draws a different sequence.
        SeedRandom(platform::GetTickCount());
    } catch (...) {
        DestroyServices();
        throw;
    }
}

Engine::~Engine() {
    if (params->saveConfigOnExit && Config::Instance() != nullptr)
        Config::Instance()->Save();
    DestroyServices();
}

void Engine::DestroyServices() {
    // Reverse order of creation: each service may still use, while it is deleted, those created before it.
    DeleteService<Console>();
    DeleteService<GUIManager>();
    DeleteService<SoundManager>();
    DeleteService<SoundSystem>();
    DeleteService<Controls>();
    DeleteService<ParticleSystemManager>();
    DeleteService<SpriteGroupManager>();
    DeleteService<ModelManager>();
    DeleteService<ShaderManager>();
    DeleteService<LightManager>();
    DeleteService<CameraManager>();
    DeleteService<RenderSystem>();
    DeleteService<Window>();
    DeleteService<Config>();
    DeleteService<TimerManager>();
    DeleteService<FileManager>();
    DeleteService<MessageManager>();
    delete params;
    params = nullptr;
    if (comInitialized)
        platform::ComUninitialize();
    comInitialized = false;
}

void Engine::BeginFrame() {
    Config::Instance()->Update();
    TimerManager::Instance()->Update();
    Window::Instance()->Update();
    Controls::Instance()->Update();
    GUIManager::Instance()->Update();
    // The console shows the log entries stored since the previous frame; they are discarded right after.
    if (Console* console = Console::Instance())
        console->Update();
    Log()->ClearEntries();
}

void Engine::Tick(uint32_t sleepMilliseconds) {
    UpdateManagers();
    if (sleepMilliseconds > 0)
        platform::Sleep(sleepMilliseconds);
    ModelManager::Instance()->Present();
    Controls* controls = Controls::Instance();
    // Asked before the frame's pressed flags are cleared, so a press of this frame is seen.
    if (controls->WasPressed("PRINTSCRN"))
        Config::Instance()->SetCommandIdle("sc_take_screenshot", false);
    controls->ResetFrame();
    Config::Instance()->ClearChangedFlags();
    if (IsExitRequested())
        Log()->Message("\nExiting...\n");
}

void Engine::UpdateManagers() {
    RenderSystem* renderSystem = RenderSystem::Instance();
    renderSystem->Refresh();
    CameraManager::Instance()->Update();
    // Particle systems move their sprites, sprite groups turn them into quads, lights and materials are set,
    // and the render pass draws everything of the frame between its one begin and end of scene.
    ParticleSystemManager::Instance()->Update();
    SpriteGroupManager::Instance()->Update();
    GUIManager::Instance()->Render(); // GUI models get their place and texts for this frame
    LightManager::Instance()->Apply();
    ShaderManager::Instance()->Update();
    ModelManager::Instance()->Render();
    // Last in the frame: the sound requests the frame's logic queued are carried out.
    if (SoundSystem* soundSystem = SoundSystem::Instance())
        soundSystem->Refresh();
    if (SoundManager* soundManager = SoundManager::Instance())
        soundManager->Update(true);
}

void Engine::CreateConsole(const std::string& title, const ShaderDescriptor& background, int fontId,
                           wchar_t cursorCharacter, wchar_t promptCharacter, wchar_t scrollBackCharacter,
                           const std::string& toggleKey, float alpha, float size, float speed) {
    Console::Instance(new Console(title, background, fontId, cursorCharacter, promptCharacter,
                                  scrollBackCharacter, toggleKey, alpha, size, speed));
}

bool Engine::IsExitRequested() const {
    return !Config::Instance()->IsCommandIdle("exit");
}

void Engine::RequestExit() {
    Config::Instance()->SetCommandIdle("exit", false);
}

std::string Engine::MakeWindowTitle() const {
    char version[32];
    std::snprintf(version, sizeof(version), "%d.%02d", params->version / 100, params->version % 100);
    return params->title + " " + version;
}

} // namespace OrvexEngine
