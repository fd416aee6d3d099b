#include "engine/graphics/ShaderManager.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/graphics/Shader.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/graphics/TextureManager.h"

#include <algorithm>

namespace OrvexEngine {

ShaderManager::ShaderManager() : textureManager(new TextureManager()) {}

ShaderManager::~ShaderManager() {
    for (auto& [hash, user] : users)
        delete user;
    users.clear();
    shaderCount = 0;
    delete textureManager;
}

ShaderUser* ShaderManager::CreateShaderUser(const ShaderDescriptor& description, bool onDemand) {
    Shader* shader = nullptr;
    auto [first, last] = users.equal_range(description.GetNameHash());
    for (auto it = first; it != last && shader == nullptr; ++it)
        if (it->second->Equals(description))
            shader = it->second->GetShader();
    if (shader == nullptr) {
        shader = new Shader(textureManager, description, onDemand);
        ++shaderCount;
    }
    ShaderUser* user = new ShaderUser(shader, description);
    users.emplace(description.GetNameHash(), user);
    return user;
}

ShaderUser* ShaderManager::CreateShaderUserByPolicy(const ShaderDescriptor& description, bool onDemand) {
    return CreateShaderUser(description, onDemand);
}

ShaderUser* ShaderManager::LoadShaderUser(const std::string& name, bool onDemand) {
    ShaderDescriptor description;
    try {
        description.LoadFromFile(name);
    } catch (const Error&) {
        // The reader has logged why; the material falls back to the plain default.
        description = ShaderDescriptor();
    }
    return CreateShaderUser(description, onDemand);
}

void ShaderManager::ReleaseShaderUser(ShaderUser* user) {
    if (user == nullptr)
        return;
    auto isUser = [user](const auto& entry) { return entry.second == user; };
    auto [first, last] = users.equal_range(user->GetNameHash());
    auto found = std::find_if(first, last, isUser);
    // Its image names may have been changed (and the hash recomputed) after it was registered.
    if (found == last)
        found = std::find_if(users.begin(), users.end(), isUser);
    if (found == users.end())
        Log()->Fatal("Shader Manager: Failed to remove shader");
    users.erase(found);
    if (user->GetShader()->referenceCount == 1)
        --shaderCount;
    delete user;
}

void ShaderManager::Update() {
    for (auto& [hash, user] : users)
        user->UpdateAtlasFrames();
    textureManager->Update();
}

} // namespace OrvexEngine
