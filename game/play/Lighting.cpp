#include "game/play/Lighting.h"

#include "engine/core/Error.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FileManager.h"
#include "engine/files/FileTextual.h"
#include "engine/graphics/Light.h"
#include "engine/graphics/LightManager.h"
#include "game/play/Fatal.h"

#include <memory>

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

// Colours are stored 0..255 and kept 0..1 with alpha 0.
Vec4 ReadColour(FileTextual& file) {
    const Vec3 c = file.ReadVec3() / 255.0f;
    return Vec4(c.x, c.y, c.z, 0.0f);
}

} // namespace

Lighting::Lighting(const std::string& name) : fileName("data\\environment\\lighting\\" + name) {
    Load();
}

Lighting::~Lighting() {
    ReleaseLights();
}

void Lighting::ReleaseLights() {
    if (LightManager* manager = LightManager::Instance())
        for (Light* light : lights)
            manager->DestroyLight(light);
    lights.clear();
}

void Lighting::Load() {
    ReleaseLights();
    std::unique_ptr<FileTextual> file;
    try {
        file.reset(FileManager::Instance()->OpenTextFile(fileName, 0, TextEncodingAnsi));
    } catch (const FileError& error) {
        EndProgram(error.GetText());
    }
    LightManager* manager = LightManager::Instance();
    manager->SetAmbient(ReadColour(*file));
    const int32_t count = file->ReadInt();
    if (count < 0)
        EndProgram("Incorrect \"" + fileName + "\" file format");
    for (int32_t i = 0; i < count; ++i) {
        // A light whose first token is missing is not there at all: the file ended.
        std::string token;
        if (!file->ReadToken(token, false))
            break;
        Light* light = manager->CreateLight();
        light->type = LightPoint;
        const float x = ParseFloat(token);
        const float y = file->ReadFloat();
        light->position = Vec3(x, y, file->ReadFloat());
        light->ambient = ReadColour(*file);
        light->diffuse = ReadColour(*file);
        light->specular = ReadColour(*file);
        for (float& factor : light->attenuation)
            factor = file->ReadFloat();
        light->enabled = true;
        lights.push_back(light);
    }
    shadowDirection = Vec2(1.0f, -1.0f).Normalized();
}

} // namespace VelmoraBall
