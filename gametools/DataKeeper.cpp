#include "gametools/DataKeeper.h"

#include "engine/core/MessageManager.h"
#include "engine/core/ObjectManager.h"
#include "engine/core/TimerManager.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/graphics/SpriteGroup.h"
#include "engine/graphics/SpriteGroupManager.h"
#include "gametools/TexturePack.h"

#include <cassert>

namespace GameTools {

namespace {

template <class T>
T* Find(const std::map<std::string, T*>& objects, const std::string& name, T* fallback,
        const char* operation) {
    auto found = objects.find(name);
    if (found != objects.end())
        return found->second;
    OrvexEngine::Log()->Error(std::string("(DataKeeper::") + operation + "): There is no \"" + name +
                              "\" resource");
    return fallback;
}

// A rejected duplicate goes to the kept list: whoever made it may still hold it, and the keeper releases
// it with everything else instead of leaking it.
template <class T>
void Add(std::map<std::string, T*>& objects, std::vector<T*>& kept, const std::string& name, T* object,
         const char* operation, const char* kind) {
    if (!object)
        return;
    if (objects.emplace(name, object).second)
        return;
    OrvexEngine::Log()->Error(std::string("(DataKeeper::") + operation + "): " + kind + " \"" + name +
                              "\" is duplicated");
    kept.push_back(object);
}

template <class T> void Keep(std::vector<T*>& kept, T* object) {
    if (object)
        kept.push_back(object);
}

template <class T> void DeleteAll(std::map<std::string, T*>& objects, std::vector<T*>& kept) {
    for (auto& [name, object] : objects)
        delete object;
    objects.clear();
    OrvexEngine::DeletePointerVector(kept);
}

} // namespace

DataKeeper::DataKeeper(const std::string& language) : language(language) {
    OrvexEngine::TimerManager* timers = OrvexEngine::TimerManager::Instance();
    OrvexEngine::ShaderManager* shaders = OrvexEngine::ShaderManager::Instance();
    OrvexEngine::ModelManager* modelManager = OrvexEngine::ModelManager::Instance();
    OrvexEngine::SpriteGroupManager* sprites = OrvexEngine::SpriteGroupManager::Instance();
    OrvexEngine::ParticleSystemManager* particles = OrvexEngine::ParticleSystemManager::Instance();
    assert(timers && shaders && modelManager && sprites && particles &&
           "create the engine's managers before a DataKeeper");
    stepTimer = timers->CreateTimer(0.0f, false);
    {
        const OrvexEngine::ShaderDescriptor plain;
        defaultShaderUser = shaders->CreateShaderUser(plain, false);
    }
    defaultModel = modelManager->NewBoxModel(OrvexEngine::Vec3(-1, -1, -1), OrvexEngine::Vec3(1, 1, 1),
                                             nullptr, nullptr, 0);
    defaultSpriteGroup = sprites->NewSpriteGroup(1, defaultShaderUser, nullptr, 0);
    defaultParticleSystem = particles->NewParticleSystem(nullptr);
    defaultTexturePack = new TexturePack(defaultShaderUser);
    defaultSpriteGroup->SetVisible(false);
    defaultParticleSystem->SetVisible(false);

    jobQueue.reserve(4000);
    shaderUserJobs.reserve(2000);
    modelJobs.reserve(2000);
    particleSystemJobs.reserve(1000);
    texturePackJobs.reserve(100);
    keptShaderUsers.reserve(2000);
    keptModels.reserve(2000);
    keptParticleSystems.reserve(1000);
    keptTexturePacks.reserve(50);
}

DataKeeper::~DataKeeper() {
    if (OrvexEngine::TimerManager* timers = OrvexEngine::TimerManager::Instance())
        timers->DeleteTimer(stepTimer);
    stepTimer = nullptr;

    for (DataKeeperEntry* job : shaderUserJobs) {
        delete job->description;
        job->description = nullptr;
    }
    OrvexEngine::DeletePointerVector(shaderUserJobs);
    OrvexEngine::DeletePointerVector(modelJobs);
    OrvexEngine::DeletePointerVector(particleSystemJobs);
    OrvexEngine::DeletePointerVector(texturePackJobs);
    jobQueue.clear();
    rebuiltQueue.clear();

    OrvexEngine::ShaderManager* shaders = OrvexEngine::ShaderManager::Instance();
    assert(shaders && "delete the DataKeeper before the ShaderManager");
    for (auto& [name, user] : shaderUsers)
        shaders->ReleaseShaderUser(user);
    shaderUsers.clear();
    for (OrvexEngine::ShaderUser* user : keptShaderUsers)
        shaders->ReleaseShaderUser(user);
    keptShaderUsers.clear();

    DeleteAll(models, keptModels);
    DeleteAll(spriteGroups, keptSpriteGroups);
    DeleteAll(particleSystems, keptParticleSystems);
    DeleteAll(texturePacks, keptTexturePacks);

    shaders->ReleaseShaderUser(defaultShaderUser);
    delete defaultModel;
    delete defaultSpriteGroup;
    delete defaultParticleSystem;
    delete defaultTexturePack;
}

bool DataKeeper::Load(uint32_t) {
    return false;
}

OrvexEngine::ShaderUser* DataKeeper::GetShaderUser(const std::string& name) const {
    return Find(shaderUsers, name, defaultShaderUser, "GetShaderUser");
}

OrvexEngine::Model* DataKeeper::GetModel(const std::string& name) const {
    return Find(models, name, defaultModel, "GetModel");
}

OrvexEngine::SpriteGroup* DataKeeper::GetSpriteGroup(const std::string& name) const {
    return Find(spriteGroups, name, defaultSpriteGroup, "GetSpriteGroup");
}

OrvexEngine::ParticleSystem* DataKeeper::GetParticleSystem(const std::string& name) const {
    return Find(particleSystems, name, defaultParticleSystem, "GetParticleSystem");
}

TexturePack* DataKeeper::GetTexturePack(const std::string& name) const {
    return Find(texturePacks, name, defaultTexturePack, "GetTexturePack");
}

void DataKeeper::AddShaderUser(const std::string& name, OrvexEngine::ShaderUser* user) {
    Add(shaderUsers, keptShaderUsers, name, user, "AddShaderUser", "Shader User");
}

void DataKeeper::AddModel(const std::string& name, OrvexEngine::Model* model) {
    Add(models, keptModels, name, model, "AddModel", "Model");
}

void DataKeeper::AddSpriteGroup(const std::string& name, OrvexEngine::SpriteGroup* group) {
    Add(spriteGroups, keptSpriteGroups, name, group, "AddSpriteGroup", "Sprite Group");
}

void DataKeeper::AddParticleSystem(const std::string& name, OrvexEngine::ParticleSystem* system) {
    Add(particleSystems, keptParticleSystems, name, system, "AddParticleSystem", "Particle System");
}

void DataKeeper::AddTexturePack(const std::string& name, TexturePack* pack) {
    Add(texturePacks, keptTexturePacks, name, pack, "AddTexturePack", "Texture Pack");
}

void DataKeeper::KeepShaderUser(OrvexEngine::ShaderUser* user) {
    Keep(keptShaderUsers, user);
}

void DataKeeper::KeepModel(OrvexEngine::Model* model) {
    Keep(keptModels, model);
}

void DataKeeper::KeepParticleSystem(OrvexEngine::ParticleSystem* system) {
    Keep(keptParticleSystems, system);
}

void DataKeeper::KeepTexturePack(TexturePack* pack) {
    Keep(keptTexturePacks, pack);
}

} // namespace GameTools
