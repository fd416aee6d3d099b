// The game's named resource database: materials, models, sprite groups, particle systems and texture packs
// under slash-separated names ("balls/simple/model"), handed out by name, with a default object answering
// every name it lacks. What it holds are prototypes, never registered for drawing; users show copies.
// The game's data classes derive from it and add their own loading steps; it must be deleted while the
// engine's managers still exist. One per owner (the game's and each level's), main thread only.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace OrvexEngine {
class Model;
class ParticleSystem;
class ShaderDescriptor;
class ShaderUser;
class SpriteGroup;
class Timer;
} // namespace OrvexEngine

namespace GameTools {

class TexturePack;
class XMLNode;

// A queued request: what to make, under which name, from what.
struct DataKeeperEntry {
    static constexpr int32_t KindShaderUser = 0;
    static constexpr int32_t KindModel = 1;
    static constexpr int32_t KindParticleSystem = 2;
    static constexpr int32_t KindTexturePack = 3;

    int32_t kind = KindShaderUser;
    std::string name;
    bool temporaryTextures = false;
    bool keep = false;                                    // made unnamed into the kept list of its kind
    OrvexEngine::ShaderDescriptor* description = nullptr; // owned (materials only)
    std::string fileName;                                 // below the data directory (other kinds)
    bool vertexColors = false;                            // models only
    bool speedGiven = false;                              // models only
    float animationSpeed = 0;                             // models only
};

class DataKeeper {
public:
    // language: the current language code; list elements naming another one are skipped.
    explicit DataKeeper(const std::string& language);
    DataKeeper(const DataKeeper&) = delete;
    DataKeeper& operator=(const DataKeeper&) = delete;
    virtual ~DataKeeper();

    // A subclass's own loading step; step ~0u asks for everything at once. The base has none: false.
    virtual bool Load(uint32_t step);

    // Never null: a name the keeper lacks (exact, case included) is logged as an error and answered with
    // the kind's default object.
    OrvexEngine::ShaderUser* GetShaderUser(const std::string& name) const;
    OrvexEngine::Model* GetModel(const std::string& name) const;
    OrvexEngine::SpriteGroup* GetSpriteGroup(const std::string& name) const;
    OrvexEngine::ParticleSystem* GetParticleSystem(const std::string& name) const;
    TexturePack* GetTexturePack(const std::string& name) const;

    // The keeper owns the object from now on. Null is ignored. A name already taken keeps its first object;
    // the rejected one is logged as a duplicate and kept unnamed, so it lives as long as the keeper.
    void AddShaderUser(const std::string& name, OrvexEngine::ShaderUser* user);
    void AddModel(const std::string& name, OrvexEngine::Model* model);
    void AddSpriteGroup(const std::string& name, OrvexEngine::SpriteGroup* group);
    void AddParticleSystem(const std::string& name, OrvexEngine::ParticleSystem* system);
    void AddTexturePack(const std::string& name, TexturePack* pack);

    // Owned without a name (cannot be looked up) and released with the keeper. Null is ignored.
    void KeepShaderUser(OrvexEngine::ShaderUser* user);
    void KeepModel(OrvexEngine::Model* model);
    void KeepParticleSystem(OrvexEngine::ParticleSystem* system);
    void KeepTexturePack(TexturePack* pack);

    // Reads a resource list (a name below "data\") and makes every resource it names at once (now) or queues
    // a job for the loading steps. A list that cannot be read or parsed is fatal: FatalError is thrown.
    void LoadResourceList(const std::string& fileName, bool now);

    // Each makes its object at once (now) and registers it under the name, or keeps it unnamed (keep);
    // otherwise queues a job. A queued material job holds its own copy of the description. A texture pack
    // made at once passes on the pack's Error.
    void RequestShaderUser(const std::string& name, const OrvexEngine::ShaderDescriptor& description,
                           bool temporaryTextures, bool now, bool keep);
    void RequestModel(const std::string& name, const std::string& fileName, bool vertexColors,
                      bool speedGiven, float speed, bool temporaryTextures, bool now, bool keep);
    void RequestParticleSystem(const std::string& name, const std::string& fileName, bool temporaryTextures,
                               bool now, bool keep);
    void RequestTexturePack(const std::string& name, const std::string& fileName, bool temporaryTextures,
                            bool now, bool keep);

    // Replaces "%" + counter + width + "%" tokens (outermost counter first; only the first token found per
    // counter, at every occurrence) by the counter's value, zero-padded to the width.
    static std::string SubstituteCounters(const std::string& text, const std::vector<std::string>& names,
                                          const std::vector<uint32_t>& values);

    // One call per frame: the temporary-texture pass (step 0), then the percentage steps 1 to 100, each
    // within about 0.1 s of jobs, then the subclass's steps; each call completes at most one step. Loading is
    // done when GetStep() reaches GetExtraStepCount() + 101. A broken texture pack passes its Error on.
    void LoadNextStep();
    // Every queued job in queue order and every subclass step, without a budget; progress becomes 1.
    void LoadAll();
    // Runs jobs towards percent (1..100) of the queue within the budget; ~0u runs the whole queue from its
    // first job. True when the target is reached; false at once for any other percent.
    bool LoadPercent(uint32_t percent);
    // The temporary-texture pass: shuffles the queue and puts a kept material job for every image a job uses
    // in front of it. True when the pass has finished; false at once after step 0.
    bool BuildTemporaryTextures();

    uint32_t GetStep() const { return step; }
    int32_t GetExtraStepCount() const { return extraStepCount; }
    float GetProgress() const { return progress; }
    const std::string& GetLanguage() const { return language; }
    // The queued jobs in run order.
    const std::vector<DataKeeperEntry*>& GetJobQueue() const { return jobQueue; }

private:
    struct ListWalk;
    void WalkResourceList(XMLNode* element, const std::string& prefix, ListWalk& walk);
    void Queue(DataKeeperEntry* job, std::vector<DataKeeperEntry*>& jobs);
    void RunJob(const DataKeeperEntry& job);
    // The material a queued job's images come from: its own description, or the ".srf" file beside its file.
    // Null when there is none or it cannot be read (logged by the reader).
    OrvexEngine::ShaderDescriptor* SourceMaterial(const DataKeeperEntry& job) const;

protected:
    // Read and written by the game's data classes and their loading steps.
    OrvexEngine::Timer* stepTimer = nullptr;          // owned through the TimerManager
    std::vector<DataKeeperEntry*> jobQueue;           // not owning: every queued job in run order
    std::vector<DataKeeperEntry*> shaderUserJobs;     // owned
    std::vector<DataKeeperEntry*> modelJobs;          // owned
    std::vector<DataKeeperEntry*> particleSystemJobs; // owned
    std::vector<DataKeeperEntry*> texturePackJobs;    // owned
    std::vector<DataKeeperEntry*> rebuiltQueue;       // not owning
    std::string language;
    uint32_t step = 0;
    uint32_t jobsDone = 0;
    int32_t extraStepCount = 1;
    float progress = 0;

    OrvexEngine::ShaderUser* defaultShaderUser = nullptr;         // owned
    OrvexEngine::Model* defaultModel = nullptr;                   // owned
    OrvexEngine::SpriteGroup* defaultSpriteGroup = nullptr;       // owned
    OrvexEngine::ParticleSystem* defaultParticleSystem = nullptr; // owned
    TexturePack* defaultTexturePack = nullptr;                    // owned

    std::map<std::string, OrvexEngine::ShaderUser*> shaderUsers;         // owned
    std::map<std::string, OrvexEngine::Model*> models;                   // owned
    std::map<std::string, OrvexEngine::SpriteGroup*> spriteGroups;       // owned
    std::map<std::string, OrvexEngine::ParticleSystem*> particleSystems; // owned
    std::map<std::string, TexturePack*> texturePacks;                    // owned

    std::vector<OrvexEngine::ShaderUser*> keptShaderUsers;         // owned
    std::vector<OrvexEngine::Model*> keptModels;                   // owned
    std::vector<OrvexEngine::SpriteGroup*> keptSpriteGroups;       // owned: rejected duplicates only
    std::vector<OrvexEngine::ParticleSystem*> keptParticleSystems; // owned
    std::vector<TexturePack*> keptTexturePacks;                    // owned
};

} // namespace GameTools
