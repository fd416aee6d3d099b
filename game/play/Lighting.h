// The scene's ambient colour and point lights, read from one text file shared by every level
// (data\environment\lighting\ + name), and the direction in which shadows fall. Built by the level in play
// and deleted with it; the lights stay in the light manager until then.
#pragma once

#include "engine/math/Vector.h"

#include <string>
#include <vector>

namespace OrvexEngine {
class Light;
}

namespace VelmoraBall {

class Lighting {
public:
    // Stores the file name and loads it. A file that cannot be opened, or a negative light count, ends the
    // program; a token missing at the end reads as 0, and no light is made past the end of the file.
    explicit Lighting(const std::string& name);
    Lighting(const Lighting&) = delete;
    Lighting& operator=(const Lighting&) = delete;
    virtual ~Lighting();

    void Load();
    void Update() {}
    // Destroys every light and empties the list.
    void ReleaseLights();

    const std::vector<OrvexEngine::Light*>& GetLights() const { return lights; }
    const OrvexEngine::Vec2& GetShadowDirection() const { return shadowDirection; }
    const std::string& GetFileName() const { return fileName; }

private:
    std::string fileName;
    std::vector<OrvexEngine::Light*> lights; // owned through the LightManager
    OrvexEngine::Vec2 shadowDirection{0.70710677f, -0.70710677f};
};

} // namespace VelmoraBall
