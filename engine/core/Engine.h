// The root of the engine: creates every engine service in a fixed order, drives the engine's share of each
// frame (BeginFrame before the application's frame work, Tick after it) and destroys the services in the
// reverse order. Owned by the application root; exactly one exists at a time.
#pragma once

#include "engine/core/EngineStartupParams.h"

#include <cstdint>
#include <string>

namespace OrvexEngine {

class ShaderDescriptor;

class Engine {
public:
    // Builds every service. When a step fails, what was already built is deleted in reverse order before
    // the error leaves the constructor.
    explicit Engine(const EngineStartupParams& params);
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;
    virtual ~Engine();

    void BeginFrame();
    void Tick(uint32_t sleepMilliseconds);

    // True once the command "exit" is triggered (by this call, the window or a console line).
    bool IsExitRequested() const;
    void RequestExit();

    // Creates the console (closed and enabled) and registers it; from then on the frame updates it and the
    // destructor deletes it first. Called once, after the engine is built.
    void CreateConsole(const std::string& title, const ShaderDescriptor& background, int fontId,
                       wchar_t cursorCharacter, wchar_t promptCharacter, wchar_t scrollBackCharacter,
                       const std::string& toggleKey, float alpha, float size, float speed);

    // The title, a blank and the version as major.minor ("Velmora Ball 1.00").
    std::string MakeWindowTitle() const;

    const EngineStartupParams& GetParams() const { return *params; }

private:
    void UpdateManagers();
    void DestroyServices();

    EngineStartupParams* params = nullptr; // owned
    bool comInitialized = false;
};

} // namespace OrvexEngine
