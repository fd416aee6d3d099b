// The stage's scenery: the models that data\environment\<name>.xml lists, taken from the level's data keeper
// (which holds them because the stage's resource list was loaded into it), each as a registered copy with
// the material, colour, depth, lighting and animation the description asks for. Built by the level in play
// for every level and deleted with it; a missing or broken description leaves the level without scenery.
#pragma once

#include <string>
#include <vector>

namespace OrvexEngine {
class Model;
}

namespace GameTools {
class DataKeeper;
}

namespace VelmoraBall {

class Environment {
public:
    Environment(GameTools::DataKeeper* levelData, const std::string& environmentName);
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;
    virtual ~Environment();

    void Update() {}

    const std::vector<OrvexEngine::Model*>& GetModels() const { return models; }

private:
    GameTools::DataKeeper* levelData = nullptr; // not owned
    std::vector<OrvexEngine::Model*> models;    // owned, registered
};

} // namespace VelmoraBall
