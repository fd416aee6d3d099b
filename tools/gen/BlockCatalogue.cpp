#include "tools/gen/BlockCatalogue.h"

#include "tools/gen/FileUpdate.h"
#include "tools/gen/GenError.h"

#include <algorithm>
#include <filesystem>

namespace VbGen {

namespace fs = std::filesystem;

namespace {

struct KnownShape {
    const char* name;
    BlockShape shape;
    VbFormats::Float3 size;
    std::vector<std::string> textures;
};

// The models the block recipe can build, by type name, with the pictures each type's levels may name.
const std::vector<KnownShape>& KnownShapes() {
    static const std::vector<KnownShape> shapes = {
        {"clay",
         BlockShape::Brick,
         {12, 6, 6},
         {"clay_red.png", "clay_orange.png", "clay_yellow.png", "clay_green.png", "clay_blue.png",
          "clay_purple.png", "clay_white.png", "clay_teal.png"}},
        {"granite", BlockShape::Brick, {12, 6, 6}, {"granite0.png", "granite1.png"}},
        {"stone", BlockShape::Brick, {12, 6, 6}, {"stone0.png", "stone1.png", "stone2.png"}},
        {"steel", BlockShape::Brick, {12, 6, 6}, {"steel.png"}},
        {"ghost", BlockShape::Brick, {12, 6, 6}, {"ghost.jpg", "ghost_alpha.jpg"}},
        {"powder",
         BlockShape::Brick,
         {12, 6, 6},
         {"powder0.png", "powder1.png", "powder2.png", "powder3.png"}},
        {"mine", BlockShape::Brick, {12, 6, 6}, {"mine.png"}},
        {"cage", BlockShape::Cage, {10, 6, 7}, {"cage.png"}},
        {"vault", BlockShape::Vault, {10, 7, 8}, {"vault.png"}},
        {"pillar", BlockShape::Pillar, {7, 7, 10}, {"pillar.png"}},
        {"glass", BlockShape::Brick, {12, 6, 6}, {"glass.jpg", "glass_alpha.bmp"}},
        {"tile", BlockShape::Slab, {12, 6, 2}, {"tile.png"}},
    };
    return shapes;
}

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == ':' || c == '.';
}

} // namespace

std::map<std::string, std::string> ElementAttributes(const std::string& text, const std::string& element) {
    std::map<std::string, std::string> attributes;
    size_t at = 0;
    while ((at = text.find('<', at)) != std::string::npos) {
        ++at;
        if (at >= text.size() || text[at] == '?' || text[at] == '!' || text[at] == '/')
            continue;
        size_t nameEnd = at;
        while (nameEnd < text.size() && IsNameCharacter(text[nameEnd]))
            ++nameEnd;
        if (!element.empty() && text.compare(at, nameEnd - at, element) != 0)
            continue;
        if (!element.empty() && nameEnd - at != element.size())
            continue;
        // Attributes up to the end of the tag: name="value" or name='value'.
        size_t i = nameEnd;
        while (i < text.size() && text[i] != '>') {
            if (!IsNameCharacter(text[i])) {
                ++i;
                continue;
            }
            size_t nameStart = i;
            while (i < text.size() && IsNameCharacter(text[i]))
                ++i;
            std::string name = text.substr(nameStart, i - nameStart);
            while (i < text.size() && (text[i] == ' ' || text[i] == '='))
                ++i;
            if (i >= text.size() || (text[i] != '"' && text[i] != '\''))
                break;
            const char quote = text[i++];
            size_t valueEnd = text.find(quote, i);
            if (valueEnd == std::string::npos)
                break;
            attributes[name] = text.substr(i, valueEnd - i);
            i = valueEnd + 1;
        }
        return attributes;
    }
    return attributes;
}

std::map<std::string, BlockType> ReadBlockCatalogue(const std::string& contentDir) {
    std::map<std::string, BlockType> types;
    const fs::path folder = fs::path(contentDir) / "game_objects" / "blocks";
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return types;
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".xml")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());

    for (const fs::path& file : files) {
        const std::string where = "content/game_objects/blocks/" + file.filename().string();
        const std::vector<uint8_t> bytes = ReadBytes(file.string());
        const std::string text(bytes.begin(), bytes.end());
        BlockType type;
        type.name = file.stem().string();
        const auto known = std::find_if(KnownShapes().begin(), KnownShapes().end(),
                                        [&](const KnownShape& shape) { return type.name == shape.name; });
        if (known == KnownShapes().end())
            throw GenError(where + ": no model shape is known for the block type \"" + type.name + "\"");
        type.shape = known->shape;
        type.size = known->size;
        type.textures = known->textures;
        type.attributes = ElementAttributes(text, "");

        auto flag = [&](const std::string& name, bool fallback) {
            auto found = type.attributes.find(name);
            if (found == type.attributes.end())
                return fallback;
            if (found->second != "0" && found->second != "1")
                throw GenError(where + ": the boolean " + name + " is written 1 or 0, not \"" +
                               found->second + "\"");
            return found->second == "1";
        };
        auto number = [&](const std::map<std::string, std::string>& from, const std::string& name,
                          int fallback) {
            auto found = from.find(name);
            return found == from.end() ? fallback : std::stoi(found->second);
        };
        type.fragmentCount = number(type.attributes, "fragment_count", 0);
        type.fakeFragments = flag("fake_fragments", false);
        type.collisionModel = flag("collision_model", false);
        flag("always_draw_shadow", false);
        flag("shadow", true);
        flag("fake_shadow", false);
        flag("invisible", false);
        const bool explosive = flag("explosive", false);
        type.ballKeeper = type.attributes.count("type") != 0 && type.attributes.at("type") == "ball_keeper";
        const int strength = number(type.attributes, "strength", 1);
        type.counted = !type.ballKeeper && (strength != 0 || explosive);
        type.frameCount = number(ElementAttributes(text, "shader"), "frame_count", 1);

        if (type.fragmentCount < 0 || type.fragmentCount > 8)
            throw GenError(where + ": fragment_count must lie in 0..8 (fragment pools are built per level)");
        if (!type.ballKeeper && strength >= 2 && type.frameCount != strength)
            throw GenError(where + ": a strong brick shows one texture frame per hit: frame_count must be " +
                           std::to_string(strength));
        if (type.frameCount > 1 && int(type.textures.size()) != type.frameCount)
            throw GenError(where + ": frame_count does not match the " +
                           std::to_string(type.textures.size()) + " pictures the generator makes for it");
        types[type.name] = type;
    }

    // A level's type is served by the first type whose name occurs inside it.
    for (const auto& [a, typeA] : types)
        for (const auto& [b, typeB] : types)
            if (a != b && b.find(a) != std::string::npos)
                throw GenError("content/game_objects/blocks: the block type name \"" + a +
                               "\" occurs inside \"" + b + "\"");
    return types;
}

} // namespace VbGen
