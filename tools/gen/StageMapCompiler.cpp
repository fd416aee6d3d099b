#include "tools/gen/StageMapCompiler.h"

#include "tools/gen/FileUpdate.h"
#include "tools/gen/GenError.h"
#include "tools/gen/XmlReader.h"

#include <cmath>
#include <filesystem>
#include <sstream>

namespace VbGen {

namespace {

struct LayoutLine {
    int line = 0;
    float x = 0, y = 0, scale = 1, yawDegrees = 0;
};

std::vector<LayoutLine> ParseLayout(const std::string& text, const std::string& where) {
    std::vector<LayoutLine> lines;
    std::istringstream in(text);
    std::string raw;
    for (int number = 1; std::getline(in, raw); ++number) {
        raw = raw.substr(0, raw.find('#'));
        std::istringstream words(raw);
        std::vector<float> values;
        std::string word;
        while (words >> word) {
            size_t used = 0;
            float value = 0;
            try {
                value = std::stof(word, &used);
            } catch (const std::exception&) {
                used = 0;
            }
            if (used != word.size() || !std::isfinite(value))
                throw GenError(where + ":" + std::to_string(number) + ": \"" + word + "\" is not a number");
            values.push_back(value);
        }
        if (values.empty())
            continue;
        if (values.size() < 2 || values.size() > 4)
            throw GenError(where + ":" + std::to_string(number) + ": a line is X Y [SCALE] [YAW]");
        LayoutLine line{number, values[0], values[1], values.size() > 2 ? values[2] : 1.0f,
                        values.size() > 3 ? values[3] : 0.0f};
        if (line.x < 0 || line.x > mapWidth || line.y <= mapButtonStrip || line.y > mapHeight)
            throw GenError(where + ":" + std::to_string(number) +
                           ": an icon lies inside the map window, above the button strip");
        if (line.scale <= 0)
            throw GenError(where + ":" + std::to_string(number) + ": the scale is positive");
        lines.push_back(line);
    }
    return lines;
}

} // namespace

std::vector<VbFormats::StageMapIcon> CompileStageMap(const std::string& text, const std::string& where,
                                                     const std::vector<uint32_t>& stageLevels) {
    using Writer = VbFormats::StageMapWriter;
    std::vector<uint32_t> types;
    for (size_t stage = 0; stage < stageLevels.size(); ++stage)
        for (uint32_t level = 0; level < stageLevels[stage]; ++level)
            types.push_back(level != 0   ? Writer::typePath
                            : stage == 0 ? Writer::typeStart
                                         : Writer::typeCheckPoint);
    if (types.size() > 1 && types.back() == Writer::typePath)
        types.back() = Writer::typeFinish;

    const std::vector<LayoutLine> lines = ParseLayout(text, where);
    if (lines.size() != types.size())
        throw GenError(where + ": " + std::to_string(lines.size()) + " icons for " +
                       std::to_string(types.size()) + " levels; the map has one icon per level");
    std::vector<VbFormats::StageMapIcon> icons(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const float yaw = lines[i].yawDegrees * 3.14159265f / 180.0f;
        const float c = std::cos(yaw) * lines[i].scale, s = std::sin(yaw) * lines[i].scale;
        icons[i].type = types[i];
        icons[i].placement = {c, -s, 0, lines[i].x, s, c, 0, lines[i].y, 0, 0, 1, 0, 0, 0, 0, 1};
    }
    return icons;
}

std::vector<uint32_t> ReadStageLevels(const std::string& contentDir) {
    const std::string path = (std::filesystem::path(contentDir) / "levels" / "levels.xml").string();
    const std::vector<uint8_t> bytes = ReadBytes(path);
    const XmlElement root = ParseXml(std::string(bytes.begin(), bytes.end()), "content/levels/levels.xml");
    std::vector<uint32_t> stages;
    uint32_t total = 0;
    for (const XmlElement& stage : root.children) {
        if (stage.name != "stage")
            continue;
        uint32_t levels = 0;
        for (const XmlElement& level : stage.children)
            levels += level.name == "level" ? 1 : 0;
        stages.push_back(levels);
        total += levels;
    }
    if (total == 0)
        throw GenError("content/levels/levels.xml: names no level");
    return stages;
}

} // namespace VbGen
