#include "tools/gen/LevelCompiler.h"

#include "tools/gen/GenError.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace VbGen {

namespace {

constexpr float pi = 3.14159265358979f;

struct Symbol {
    std::string type;
    uint32_t diffuse = 0;
    uint32_t opacity = 0;
    bool fixed = false;
    std::array<float, 3> scale{1, 1, 1};
    float yawDegrees = 0;
    std::string path;
    int line = 0;
};

struct Path {
    bool orbit = false;
    float cx = 0, cy = 0;
    std::vector<std::array<float, 4>> offsets; // dx dy dz yaw per key frame
    int line = 0;
};

struct Placement {
    char symbol = 0;
    float x = 0, y = 0;
    int layer = 0;
    int line = 0;
};

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    std::string word;
    while (in >> word)
        words.push_back(word);
    return words;
}

std::array<float, 4> YawQuaternion(float radians) {
    return {0, 0, std::sin(radians / 2), std::cos(radians / 2)};
}

struct Footprint {
    float minX, maxX, minY, maxY;
};

bool Overlap(const Footprint& a, const Footprint& b) {
    const float epsilon = 0.01f;
    return std::min(a.maxX, b.maxX) - std::max(a.minX, b.minX) > epsilon &&
           std::min(a.maxY, b.maxY) - std::max(a.minY, b.minY) > epsilon;
}

} // namespace

VbFormats::LevelGeometry CompileLevel(const std::string& text, const std::string& where,
                                      const std::map<std::string, BlockType>& types) {
    VbFormats::LevelGeometry level;
    level.textures.push_back("");
    std::map<char, Symbol> symbols;
    std::map<std::string, Path> paths;
    std::vector<Placement> placements;
    bool haveAnim = false, haveGrid = false;
    int columns = 0, rows = 0;
    float x0 = 0, y0 = 0, dx = 0, dy = 0;
    int layer = -1, row = 0;
    std::string openPath; // the path whose offset lines follow

    auto fail = [&](int line, const std::string& message) -> GenError {
        return GenError(where + ":" + std::to_string(line) + ": " + message);
    };
    auto number = [&](const std::string& word, int line) {
        try {
            size_t used = 0;
            float value = std::stof(word, &used);
            if (used != word.size() || !std::isfinite(value))
                throw std::invalid_argument(word);
            return value;
        } catch (const std::exception&) {
            throw fail(line, "\"" + word + "\" is not a number");
        }
    };
    auto whole = [&](const std::string& word, int line) {
        const float value = number(word, line);
        if (value < 0 || value != std::floor(value))
            throw fail(line, "\"" + word + "\" is not a whole number");
        return uint32_t(value);
    };

    std::istringstream in(text);
    std::string raw;
    int lineNumber = 0;
    while (std::getline(in, raw)) {
        ++lineNumber;
        const std::vector<std::string> words = Words(raw.substr(0, raw.find('#')));
        if (words.empty())
            continue;
        const std::string& key = words[0];
        // Offset lines of an open path are plain numbers.
        const bool numeric = std::isdigit(static_cast<unsigned char>(key[0])) ||
                             (key.size() > 1 && (key[0] == '-' || key[0] == '.'));
        if (!openPath.empty() && numeric) {
            if (words.size() != 4)
                throw fail(lineNumber, "a path line holds DX DY DZ YAW");
            paths[openPath].offsets.push_back({number(words[0], lineNumber), number(words[1], lineNumber),
                                               number(words[2], lineNumber), number(words[3], lineNumber)});
            continue;
        }
        openPath.clear();
        if (key == "anim") {
            if (words.size() != 3)
                throw fail(lineNumber, "anim K SPEED");
            level.keyFrameCount = whole(words[1], lineNumber);
            level.animationSpeed = number(words[2], lineNumber);
            if (level.keyFrameCount == 0)
                throw fail(lineNumber, "the level animation needs at least one key frame");
            haveAnim = true;
        } else if (key == "grid") {
            if (words.size() != 7)
                throw fail(lineNumber, "grid COLUMNS ROWS X0 Y0 DX DY");
            columns = int(whole(words[1], lineNumber));
            rows = int(whole(words[2], lineNumber));
            x0 = number(words[3], lineNumber);
            y0 = number(words[4], lineNumber);
            dx = number(words[5], lineNumber);
            dy = number(words[6], lineNumber);
            haveGrid = true;
        } else if (key == "tex") {
            if (words.size() != 3)
                throw fail(lineNumber, "tex INDEX NAME");
            if (whole(words[1], lineNumber) != level.textures.size())
                throw fail(lineNumber, "texture indices count up from 1 without gaps");
            level.textures.push_back(words[2]);
        } else if (key == "sym") {
            if (words.size() < 5 || words[1].size() != 1 || words[1] == ".")
                throw fail(lineNumber,
                           "sym S TYPE DIFFUSE OPACITY [fixed] [scale SX SY SZ] [yaw DEGREES] [path NAME]");
            Symbol symbol;
            symbol.line = lineNumber;
            symbol.type = words[2];
            symbol.diffuse = whole(words[3], lineNumber);
            symbol.opacity = whole(words[4], lineNumber);
            for (size_t i = 5; i < words.size(); ++i) {
                if (words[i] == "fixed") {
                    symbol.fixed = true;
                } else if (words[i] == "scale" && i + 3 < words.size()) {
                    for (int k = 0; k < 3; ++k)
                        symbol.scale[size_t(k)] = number(words[i + 1 + size_t(k)], lineNumber);
                    i += 3;
                } else if (words[i] == "yaw" && i + 1 < words.size()) {
                    symbol.yawDegrees = number(words[++i], lineNumber);
                } else if (words[i] == "path" && i + 1 < words.size()) {
                    symbol.path = words[++i];
                } else {
                    throw fail(lineNumber, "unknown symbol option \"" + words[i] + "\"");
                }
            }
            if (symbols.count(words[1][0]))
                throw fail(lineNumber, "the symbol " + words[1] + " is defined twice");
            symbols[words[1][0]] = symbol;
        } else if (key == "layer") {
            if (words.size() != 2)
                throw fail(lineNumber, "layer N");
            layer = int(whole(words[1], lineNumber));
            row = 0;
            if (!haveGrid)
                throw fail(lineNumber, "a layer of rows needs the grid first");
        } else if (key == "at") {
            if (words.size() != 5 || words[1].size() != 1)
                throw fail(lineNumber, "at S X Y LAYER");
            placements.push_back({words[1][0], number(words[2], lineNumber), number(words[3], lineNumber),
                                  int(whole(words[4], lineNumber)), lineNumber});
        } else if (key == "path") {
            if (words.size() != 2 && !(words.size() == 5 && words[2] == "orbit"))
                throw fail(lineNumber, "path NAME, or path NAME orbit CX CY");
            if (paths.count(words[1]))
                throw fail(lineNumber, "the path " + words[1] + " is defined twice");
            Path& path = paths[words[1]];
            path.line = lineNumber;
            if (words.size() == 5) {
                path.orbit = true;
                path.cx = number(words[3], lineNumber);
                path.cy = number(words[4], lineNumber);
            } else {
                openPath = words[1];
            }
        } else if (layer >= 0 && std::all_of(words.begin(), words.end(),
                                             [](const std::string& w) { return w.size() == 1; })) {
            // A row of the current layer.
            if (row >= rows || int(words.size()) > columns)
                throw fail(lineNumber, "the row lies outside the grid of " + std::to_string(columns) + " x " +
                                           std::to_string(rows) + " cells");
            for (size_t c = 0; c < words.size(); ++c)
                if (words[c] != ".")
                    placements.push_back(
                        {words[c][0], x0 + float(c) * dx, y0 - float(row) * dy, layer, lineNumber});
            ++row;
        } else {
            throw fail(lineNumber, "unknown statement \"" + key + "\"");
        }
    }
    if (!haveAnim)
        throw GenError(where + ": the design has no anim line");

    // Check the symbols and paths against the catalogue and the animation.
    for (const auto& [name, symbol] : symbols) {
        auto type = types.find(symbol.type);
        if (type == types.end())
            throw fail(symbol.line, "no block type \"" + symbol.type + "\" in content/game_objects/blocks");
        for (uint32_t index : {symbol.diffuse, symbol.opacity}) {
            if (index >= level.textures.size())
                throw fail(symbol.line, "texture index " + std::to_string(index) +
                                            " is not below the texture count " +
                                            std::to_string(level.textures.size()));
            const std::vector<std::string>& own = type->second.textures;
            if (index != 0 && std::find(own.begin(), own.end(), level.textures[index]) == own.end())
                throw fail(symbol.line,
                           level.textures[index] + " is not a picture of the block type " + symbol.type);
        }
        if (symbol.diffuse == 0)
            throw fail(symbol.line, "a block needs a colour picture");
        if (!symbol.path.empty() && !paths.count(symbol.path))
            throw fail(symbol.line, "no path named " + symbol.path);
    }
    for (const auto& [name, path] : paths) {
        if (!path.orbit && path.offsets.size() != level.keyFrameCount)
            throw fail(path.line, "the path " + name + " has " + std::to_string(path.offsets.size()) +
                                      " key frames, the level " + std::to_string(level.keyFrameCount));
        if (path.orbit && level.keyFrameCount < 2)
            throw fail(path.line, "an orbit needs at least two key frames");
    }

    // Layer by layer, in the order of the source within a layer, so supports come before what they carry.
    std::stable_sort(placements.begin(), placements.end(),
                     [](const Placement& a, const Placement& b) { return a.layer < b.layer; });
    if (placements.size() > VbFormats::LevelGeometryWriter::maxBlocks)
        throw GenError(where + ": " + std::to_string(placements.size()) + " blocks, more than the " +
                       std::to_string(VbFormats::LevelGeometryWriter::maxBlocks) +
                       " the collision world holds");
    std::vector<Footprint> footprints;
    std::vector<float> tops;
    std::vector<const Symbol*> owners;
    bool counted = false;
    for (const Placement& placement : placements) {
        auto found = symbols.find(placement.symbol);
        if (found == symbols.end())
            throw fail(placement.line, std::string("no symbol ") + placement.symbol);
        const Symbol& symbol = found->second;
        const BlockType& type = types.at(symbol.type);
        counted = counted || type.counted;
        const float yaw = symbol.yawDegrees * pi / 180;
        const float hx = std::fabs(type.size[0] * symbol.scale[0]) / 2,
                    hy = std::fabs(type.size[1] * symbol.scale[1]) / 2;
        const float hz = std::fabs(type.size[2] * symbol.scale[2]) / 2;
        const float ex = hx * std::fabs(std::cos(yaw)) + hy * std::fabs(std::sin(yaw));
        const float ey = hx * std::fabs(std::sin(yaw)) + hy * std::fabs(std::cos(yaw));
        const Footprint footprint{placement.x - ex, placement.x + ex, placement.y - ey, placement.y + ey};

        VbFormats::LevelBlock block;
        block.type = symbol.type;
        block.flags = symbol.fixed ? 1 : 0;
        block.diffuseTexture = symbol.diffuse;
        block.opacityTexture = symbol.opacity;
        block.scale = symbol.scale;
        const uint16_t index = uint16_t(level.blocks.size());
        float support = 0;
        if (placement.layer > 0) {
            for (size_t j = 0; j < level.blocks.size(); ++j)
                if (placements[j].layer == placement.layer - 1 && Overlap(footprints[j], footprint)) {
                    block.below.push_back(uint16_t(j));
                    level.blocks[j].above.push_back(index);
                    support = std::max(support, tops[j]);
                    if (owners[j]->path != symbol.path)
                        throw fail(placement.line,
                                   "a block and the block it stands on move along different paths");
                }
            if (block.below.empty())
                throw fail(placement.line, std::string("the ") + placement.symbol + " in layer " +
                                               std::to_string(placement.layer) +
                                               " stands on nothing in the layer below");
        }
        const float z = support + hz;

        // The key frames, and the play area every one of them must keep to.
        std::vector<std::array<float, 4>> poses; // x y z yaw
        if (symbol.path.empty()) {
            poses.push_back({placement.x, placement.y, z, yaw});
        } else {
            const Path& path = paths.at(symbol.path);
            block.animated = true;
            for (uint32_t k = 0; k < level.keyFrameCount; ++k) {
                if (path.orbit) {
                    // The last key frame equals the first, so the looping animation turns without a jump.
                    const float angle = 2 * pi * float(k) / float(level.keyFrameCount - 1);
                    const float rx = placement.x - path.cx, ry = placement.y - path.cy;
                    poses.push_back({path.cx + rx * std::cos(angle) - ry * std::sin(angle),
                                     path.cy + rx * std::sin(angle) + ry * std::cos(angle), z, yaw + angle});
                } else {
                    const std::array<float, 4>& o = path.offsets[k];
                    poses.push_back(
                        {placement.x + o[0], placement.y + o[1], z + o[2], yaw + o[3] * pi / 180});
                }
            }
        }
        for (const std::array<float, 4>& pose : poses) {
            const float px = hx * std::fabs(std::cos(pose[3])) + hy * std::fabs(std::sin(pose[3]));
            const float py = hx * std::fabs(std::sin(pose[3])) + hy * std::fabs(std::cos(pose[3]));
            if (pose[0] - px < levelMinX - 0.001f || pose[0] + px > levelMaxX + 0.001f ||
                pose[1] - py < levelMinY - 0.001f || pose[1] + py > levelMaxY + 0.001f)
                throw fail(placement.line, std::string("a ") + placement.symbol +
                                               " leaves the play area x -75..75, y -40..100");
            VbFormats::LevelKeyFrame frame;
            frame.position = {pose[0], pose[1], pose[2]};
            frame.rotation = YawQuaternion(pose[3]);
            block.keyFrames.push_back(frame);
        }
        level.blocks.push_back(block);
        footprints.push_back(footprint);
        tops.push_back(z + hz);
        owners.push_back(&symbol);
    }
    if (!counted)
        throw GenError(
            where + ": no block that counts towards finishing the level (simple, strong or explosive brick)");
    return level;
}

} // namespace VbGen
