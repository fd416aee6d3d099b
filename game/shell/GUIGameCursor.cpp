#include "game/shell/GUIGameCursor.h"

#include "engine/core/Controls.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/gui/GUIManager.h"
#include "gametools/DataKeeper.h"

namespace VelmoraBall {

using namespace OrvexEngine;

namespace {

constexpr float CustomCursorSize = 40;
constexpr float EffectSortDepth = -21.0f;
// Where the trail leaves the cursor: right of and below the hot spot (the GUI's y axis points up).
constexpr float TrailOffsetX = 12;
constexpr float TrailOffsetY = -18;

ParticleSystem* MakeEffect(GameTools::DataKeeper* dataKeeper, const std::string& name, bool looping) {
    ParticleSystem* source = dataKeeper->GetParticleSystem(name);
    ParticleSystem* effect = ParticleSystemManager::Instance()->CreateParticleSystemCopy(*source);
    Model* model = effect->GetModel();
    model->SetCamera(GUIManager::Instance()->GetCamera());
    model->SetFlags(ModelFixedSortDepth);
    model->sortDepth = EffectSortDepth;
    effect->looping = looping;
    effect->SetVisible(true);
    return effect;
}

} // namespace

GUIGameCursor::GUIGameCursor() {
    customInUse = false;
    customSetting = false;
    ShaderDescriptor material;
    material.InitFromImages(false, "ui\\cursors\\cursor.jpg", "ui\\cursors\\cursor_alpha.jpg", true);
    GUICursor* custom = GUIManager::Instance()->CreateCursor(nullptr, &material, CustomCursorSize);
    AddSystemCursor(CursorType, SystemCursorResource, custom);
    SetCursorType(CursorType);
}

GUIGameCursor::~GUIGameCursor() {
    ReleaseEffects();
}

void GUIGameCursor::ReleaseEffects() {
    ParticleSystemManager* particles = ParticleSystemManager::Instance();
    if (particles == nullptr)
        return;
    if (trail != nullptr)
        particles->Release(trail);
    if (clickEffect != nullptr)
        particles->Release(clickEffect);
    trail = nullptr;
    clickEffect = nullptr;
}

void GUIGameCursor::CreateEffects(GameTools::DataKeeper* dataKeeper) {
    ReleaseEffects(); // a second call replaces the pair instead of losing it
    trail = MakeEffect(dataKeeper, "ui/cursor_train", true);
    clickEffect = MakeEffect(dataKeeper, "ui/cursor_click", false);
    SetTrailVisible(trailEnabled);
}

void GUIGameCursor::SetTrailVisible(bool visible) {
    trailEnabled = visible;
    if (trail != nullptr)
        trail->active = visible;
}

void GUIGameCursor::SetVisible(bool visible) {
    GUIGameCursorBase::SetVisible(visible);
    if (trail == nullptr || (visible && !trailEnabled))
        return;
    trail->active = visible;
}

void GUIGameCursor::Update() {
    if (trailEnabled && (trail != nullptr || clickEffect != nullptr)) {
        const Vec2 at = GUIManager::Instance()->GetCursorPosition();
        if (trail != nullptr)
            trail->emitterPosition = Vec3(at.x + TrailOffsetX, at.y + TrailOffsetY, 0);
        const Controls* controls = Controls::Instance();
        if (clickEffect != nullptr && controls != nullptr && controls->WasPressed("MOUSE1")) {
            clickEffect->emitterPosition = Vec3(at.x, at.y, 0);
            clickEffect->emitterTime = 0;
            clickEffect->active = true;
        }
    }
    GUIGameCursorBase::Update();
}

} // namespace VelmoraBall
