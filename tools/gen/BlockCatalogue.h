// The block types of the game as the generator knows them: each type's description file in
// content/game_objects/blocks/ (the attributes the game reads) joined with the shape its models are built
// to (the size of the model's box, which the level compiler stacks with). Read once per run by the block
// recipe and the level compiler.
#pragma once

#include "tools/formats/ModelWriter.h"

#include <map>
#include <string>
#include <vector>

namespace VbGen {

enum class BlockShape { Brick, Slab, Pillar, Cage, Vault };

struct BlockType {
    std::string name; // the file name without ".xml"
    std::map<std::string, std::string> attributes;
    BlockShape shape = BlockShape::Brick;
    VbFormats::Float3 size{12, 6, 6}; // full extents of the model's box, centred on the origin
    int fragmentCount = 0;
    bool fakeFragments = false;
    bool collisionModel = false;
    int frameCount = 1; // frames of the texture animation
    bool ballKeeper = false;
    bool counted = false; // must be destroyed to finish a level (simple, strong or explosive brick)
    std::vector<std::string> textures; // file names in blocks\textures\; numbered frames written out
};

// The types described in <contentDir>/game_objects/blocks, by name. Throws GenError naming the file for a
// name the generator has no shape for, a name inside another type's name (a level's type is matched by
// substring), a boolean not written 0 or 1, a fragment count above 8, or a strong brick whose texture
// frames do not match its strength. No folder: no types.
std::map<std::string, BlockType> ReadBlockCatalogue(const std::string& contentDir);

// The attributes of the first element named `element` in an XML text ("" for the root element).
std::map<std::string, std::string> ElementAttributes(const std::string& text, const std::string& element);

} // namespace VbGen
