#include "framework/Tutorial.h"

#include "engine/core/TimerManager.h"

namespace GameFramework {

void Tutorial::Update() {
    if (!active)
        return;
    const float frameTime = OrvexEngine::TimerManager::Instance()->frameTime;
    countdown -= frameTime;
    if (countdown <= 0)
        elapsed += frameTime;
}

} // namespace GameFramework
