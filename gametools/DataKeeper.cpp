#include "gametools/DataKeeper.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/ObjectManager.h"
#include "engine/core/StringUtils.h"
#include "engine/core/Timer.h"
#include "engine/core/TimerManager.h"
#include "engine/files/FileManager.h"
#include "engine/files/FilePaths.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/graphics/SpriteGroup.h"
#include "engine/graphics/SpriteGroupManager.h"
#include "engine/math/Random.h"
#include "gametools/TexturePack.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLParser.h"
#include "gametools/XMLValue.h"

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

namespace GameTools {

struct DataKeeper::ListWalk {
    std::string folder;
    bool now = false;
    std::vector<std::string> counterNames;
    std::vector<uint32_t> counterValues;
};

namespace {

XMLValue* AttributeOf(const XMLNode* element, const char* name) {
    XMLAttribute* attribute = element->FindAttribute(name);
    return attribute ? &attribute->value : nullptr;
}

std::string TextOf(const XMLNode* element, const char* name, const std::string& fallback) {
    XMLValue* value = AttributeOf(element, name);
    return value ? value->AsString() : fallback;
}

bool BoolOf(const XMLNode* element, const char* name, bool fallback) {
    XMLValue* value = AttributeOf(element, name);
    return value ? value->AsBool() : fallback;
}

int32_t IntOf(const XMLNode* element, const char* name, int32_t fallback) {
    XMLValue* value = AttributeOf(element, name);
    return value ? value->AsInt() : fallback;
}

float FloatOf(const XMLNode* element, const char* name, float fallback) {
    XMLValue* value = AttributeOf(element, name);
    return value ? value->AsFloat() : fallback;
}

uint32_t AnimationKind(const std::string& type) {
    if (type == "net")
        return 1;
    if (type == "diffuse")
        return 2;
    if (type == "opacity")
        return 3;
    if (type == "diffuse_and_opacity")
        return 4;
    return 0;
}

} // namespace

void DataKeeper::LoadResourceList(const std::string& fileName, bool now) {
    XMLNode document;
    XMLParser parser;
    try {
        parser.Load(&document, fileName);
    } catch (const OrvexEngine::FileError& error) {
        OrvexEngine::Log()->Fatal(error.GetText());
    }
    ListWalk walk;
    const std::string directory = OrvexEngine::GetDirectory(fileName);
    const size_t data = directory.find("data\\");
    if (data != std::string::npos)
        walk.folder = directory.substr(data + 5);
    walk.now = now;
    WalkResourceList(&document, "", walk);
}

void DataKeeper::WalkResourceList(XMLNode* element, const std::string& prefix, ListWalk& walk) {
    const std::string& tag = element->GetName();
    if (tag == "loop") {
        const std::string counter = TextOf(element, "counter", "i");
        const int32_t start = IntOf(element, "start", 0);
        const int32_t count = IntOf(element, "count", 0);
        // A negative bound would compare as some four billion and walk the block as many times.
        if (start < 0 || count < 0) {
            OrvexEngine::Log()->Warning("Resource list loop \"" + counter +
                                        "\" with a negative start or count in " + element->GetPath() +
                                        " is skipped");
            return;
        }
        walk.counterNames.push_back(counter);
        walk.counterValues.push_back(0);
        for (uint32_t value = uint32_t(start); value < uint32_t(count); ++value) {
            walk.counterValues.back() = value;
            for (XMLNode* child : element->children)
                WalkResourceList(child, prefix, walk);
        }
        walk.counterNames.pop_back();
        walk.counterValues.pop_back();
        return;
    }

    XMLValue* nameValue = AttributeOf(element, "name");
    if (nameValue && !nameValue->AsString().empty()) {
        if (XMLValue* languageValue = AttributeOf(element, "language"))
            if (languageValue->AsString() != language)
                return;
        const std::string name =
            prefix + SubstituteCounters(nameValue->AsString(), walk.counterNames, walk.counterValues);
        auto file = [&](const char* attribute, const std::string& fallback) {
            return OrvexEngine::CombinePath(walk.folder,
                                            SubstituteCounters(TextOf(element, attribute, fallback),
                                                               walk.counterNames, walk.counterValues));
        };
        const bool temporary = BoolOf(element, "temporary_textures", false);
        if (tag == "model") {
            XMLValue* speed = AttributeOf(element, "animation_speed");
            RequestModel(name, file("file_name", "unknown_file_name"),
                         BoolOf(element, "color_verticies", false), speed != nullptr,
                         speed ? speed->AsFloat() : 0.0f, temporary, walk.now, false);
        } else if (tag == "shader") {
            OrvexEngine::Vec2i net(1, 1);
            if (XMLValue* netSize = AttributeOf(element, "net_size"))
                net = netSize->GetInt2();
            std::string opacity = TextOf(element, "opacity_file_name", "");
            if (opacity != "32bit")
                opacity = file("opacity_file_name", "");
            OrvexEngine::ShaderDescriptor description;
            description.InitAnimated(
                true, AnimationKind(TextOf(element, "animation_type", "")), uint32_t(net.x), uint32_t(net.y),
                uint32_t(IntOf(element, "frame_count", 1)), FloatOf(element, "animation_speed", 0.0f),
                file("diffuse_file_name", ""), opacity, BoolOf(element, "clamp", true));
            RequestShaderUser(name, description, temporary, walk.now, false);
        } else if (tag == "particles") {
            RequestParticleSystem(name, file("file_name", "unknown_file_name"), temporary, walk.now, false);
        } else if (tag == "texture_pack") {
            RequestTexturePack(name, file("file_name", "unknown_file_name"), temporary, walk.now, false);
        }
        return;
    }

    const std::string childPrefix = tag.empty() || tag == "resources" ? prefix : prefix + tag + "/";
    for (XMLNode* child : element->children)
        WalkResourceList(child, childPrefix, walk);
}

void DataKeeper::Queue(DataKeeperEntry* job, std::vector<DataKeeperEntry*>& jobs) {
    jobs.push_back(job);
    jobQueue.push_back(job);
}

void DataKeeper::RequestShaderUser(const std::string& name, const OrvexEngine::ShaderDescriptor& description,
                                   bool temporaryTextures, bool now, bool keep) {
    if (now) {
        OrvexEngine::ShaderUser* user =
            OrvexEngine::ShaderManager::Instance()->CreateShaderUser(description, temporaryTextures);
        if (keep)
            KeepShaderUser(user);
        else
            AddShaderUser(name, user);
        return;
    }
    auto* job = new DataKeeperEntry;
    job->kind = DataKeeperEntry::KindShaderUser;
    job->name = name;
    job->temporaryTextures = temporaryTextures;
    job->keep = keep;
    job->description = new OrvexEngine::ShaderDescriptor;
    job->description->CopyFrom(description);
    Queue(job, shaderUserJobs);
}

void DataKeeper::RequestModel(const std::string& name, const std::string& fileName, bool vertexColors,
                              bool speedGiven, float speed, bool temporaryTextures, bool now, bool keep) {
    if (now) {
        OrvexEngine::Model* model = OrvexEngine::ModelManager::Instance()->LoadModel(
            fileName, nullptr, vertexColors ? 32u : 0u, temporaryTextures);
        if (speedGiven)
            model->animationControl->speed = speed;
        if (keep)
            KeepModel(model);
        else
            AddModel(name, model);
        return;
    }
    auto* job = new DataKeeperEntry;
    job->kind = DataKeeperEntry::KindModel;
    job->name = name;
    job->temporaryTextures = temporaryTextures;
    job->keep = keep;
    job->fileName = fileName;
    job->vertexColors = vertexColors;
    job->speedGiven = speedGiven;
    job->animationSpeed = speed;
    Queue(job, modelJobs);
}

void DataKeeper::RequestParticleSystem(const std::string& name, const std::string& fileName,
                                       bool temporaryTextures, bool now, bool keep) {
    if (now) {
        OrvexEngine::ParticleSystem* system =
            OrvexEngine::ParticleSystemManager::Instance()->LoadParticleSystem(fileName, nullptr,
                                                                               temporaryTextures);
        if (keep)
            KeepParticleSystem(system);
        else
            AddParticleSystem(name, system);
        return;
    }
    auto* job = new DataKeeperEntry;
    job->kind = DataKeeperEntry::KindParticleSystem;
    job->name = name;
    job->temporaryTextures = temporaryTextures;
    job->keep = keep;
    job->fileName = fileName;
    Queue(job, particleSystemJobs);
}

void DataKeeper::RequestTexturePack(const std::string& name, const std::string& fileName,
                                    bool temporaryTextures, bool now, bool keep) {
    if (now) {
        auto* pack = new TexturePack(fileName, temporaryTextures);
        if (keep)
            KeepTexturePack(pack);
        else
            AddTexturePack(name, pack);
        return;
    }
    auto* job = new DataKeeperEntry;
    job->kind = DataKeeperEntry::KindTexturePack;
    job->name = name;
    job->temporaryTextures = temporaryTextures;
    job->keep = keep;
    job->fileName = fileName;
    Queue(job, texturePackJobs);
}

std::string DataKeeper::SubstituteCounters(const std::string& text, const std::vector<std::string>& names,
                                           const std::vector<uint32_t>& values) {
    std::string result = text;
    for (size_t i = 0; i < names.size() && i < values.size(); ++i) {
        const std::string token = "%" + names[i];
        const size_t start = result.find(token);
        if (start == std::string::npos)
            continue;
        const size_t end = result.find('%', start + 1);
        if (end == std::string::npos)
            continue;
        const std::string whole = result.substr(start, end - start + 1);
        const std::string widthText = result.substr(start + token.size(), end - start - token.size());
        const uint32_t width = OrvexEngine::ParseUInt(widthText, 10);
        // Widths beyond what a number text can hold are clamped by the number printer.
        const int digits = width > 63 ? 63 : int(width);
        OrvexEngine::ReplaceAll(result, whole, OrvexEngine::UIntToText(values[i], digits));
    }
    return result;
}

} // namespace GameTools

namespace GameTools {

namespace {

constexpr double StepBudgetSeconds = 0.1;
constexpr uint32_t FirstSubclassStep = 101;

} // namespace

void DataKeeper::RunJob(const DataKeeperEntry& job) {
    switch (job.kind) {
    case DataKeeperEntry::KindShaderUser:
        RequestShaderUser(job.name, *job.description, job.temporaryTextures, true, job.keep);
        break;
    case DataKeeperEntry::KindModel:
        RequestModel(job.name, job.fileName, job.vertexColors, job.speedGiven, job.animationSpeed,
                     job.temporaryTextures, true, job.keep);
        break;
    case DataKeeperEntry::KindParticleSystem:
        RequestParticleSystem(job.name, job.fileName, job.temporaryTextures, true, job.keep);
        break;
    case DataKeeperEntry::KindTexturePack:
        RequestTexturePack(job.name, job.fileName, job.temporaryTextures, true, job.keep);
        break;
    default:
        assert(false && "a DataKeeperEntry kind is 0 to 3");
    }
}

bool DataKeeper::LoadPercent(uint32_t percent) {
    const bool all = percent == ~0u;
    if (!all && (percent < 1 || percent > 100))
        return false;
    const uint64_t length = jobQueue.size();
    uint32_t index = 0;
    uint32_t target = static_cast<uint32_t>(length);
    if (!all) {
        stepTimer->SetTime(0.0f);
        index = jobsDone;
        // In integers: length / 100.0 * percent falls just short of the whole queue for lengths such as 29,
        // and the last job would never run.
        target = static_cast<uint32_t>(length * percent / 100);
    }
    for (; index < target; ++index) {
        RunJob(*jobQueue[index]);
        ++jobsDone;
        if (!all && stepTimer->GetTime() > StepBudgetSeconds)
            break;
    }
    return jobsDone == target;
}

OrvexEngine::ShaderDescriptor* DataKeeper::SourceMaterial(const DataKeeperEntry& job) const {
    if (job.kind == DataKeeperEntry::KindShaderUser)
        return job.description ? new OrvexEngine::ShaderDescriptor(*job.description) : nullptr;
    std::string materialName = job.fileName;
    OrvexEngine::ReplaceExtension(materialName, "srf");
    if (!OrvexEngine::FileManager::Instance()->FileExists("data\\" + materialName))
        return nullptr;
    auto* description = new OrvexEngine::ShaderDescriptor;
    try {
        description->LoadFromFile(materialName);
    } catch (const OrvexEngine::FatalError&) {
        delete description;
        throw;
    } catch (const OrvexEngine::Error&) {
        // A material that exists but cannot be read only costs the head start on its textures; the job
        // itself falls back to a default material when it runs. The reader has logged the reason.
        delete description;
        return nullptr;
    }
    return description;
}

bool DataKeeper::BuildTemporaryTextures() {
    if (step > 0)
        return false;
    stepTimer->SetTime(0.0f);
    if (jobsDone == 0) {
        for (size_t k = 1; k < jobQueue.size(); ++k) {
            const size_t j = OrvexEngine::RandomInt(static_cast<uint32_t>(k + 1));
            if (j != k)
                std::swap(jobQueue[k], jobQueue[j]);
        }
        rebuiltQueue.reserve(10 * jobQueue.size());
    }
    std::vector<std::string> images;
    for (size_t i = jobsDone; i < jobQueue.size(); ++i) {
        DataKeeperEntry* job = jobQueue[i];
        if (OrvexEngine::ShaderDescriptor* source = SourceMaterial(*job)) {
            const bool mipMaps = source->stageCount > 0 && (source->stages[0].flags & 1u) != 0;
            for (uint32_t stage = 0; stage < source->stageCount; ++stage) {
                source->FindTextureImageFile(stage, images);
                for (size_t k = 0; k + 1 < images.size(); k += 2) {
                    const std::string diffuse = OrvexEngine::StripDataPrefix(images[k]);
                    const std::string opacity = OrvexEngine::StripDataPrefix(images[k + 1]);
                    if (diffuse.empty())
                        continue;
                    auto* temporary = new DataKeeperEntry;
                    temporary->kind = DataKeeperEntry::KindShaderUser;
                    temporary->name = "temp_loading_" + std::to_string(i) + "_" + std::to_string(stage) +
                                      "_" + std::to_string(k / 2);
                    temporary->temporaryTextures = job->temporaryTextures;
                    temporary->keep = true;
                    temporary->description = new OrvexEngine::ShaderDescriptor;
                    temporary->description->InitFromImages(mipMaps, diffuse, opacity, true);
                    shaderUserJobs.push_back(temporary);
                    rebuiltQueue.push_back(temporary);
                }
            }
            delete source;
        }
        rebuiltQueue.push_back(job);
        ++jobsDone;
        if (stepTimer->GetTime() > StepBudgetSeconds)
            break;
    }
    if (jobsDone < jobQueue.size())
        return false;
    jobsDone = 0;
    jobQueue.swap(rebuiltQueue);
    rebuiltQueue.clear();
    return true;
}

void DataKeeper::LoadNextStep() {
    if (BuildTemporaryTextures() || LoadPercent(step) || Load(step))
        ++step;
    progress =
        static_cast<float>(static_cast<double>(step) /
                           static_cast<double>(static_cast<uint32_t>(extraStepCount) + FirstSubclassStep));
}

void DataKeeper::LoadAll() {
    LoadPercent(~0u);
    Load(~0u);
    step = static_cast<uint32_t>(extraStepCount) + FirstSubclassStep - 1;
    progress = 1.0f;
}

} // namespace GameTools
