// ctest-label: data
// The GUI's window descriptions, resource lists, art and background checked against each other: every name
// a description uses is declared, every declared file exists with the size and frames its list claims, and
// what the loading window needs is loaded before it.
#include "tools/gen/Generate.h"
#include "tools/gen/XmlReader.h"
#include "tools/gen/recipes/TextsRecipe.h"

#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

namespace fs = std::filesystem;
using VbGen::XmlElement;

namespace {

fs::path SourceDir() {
    return fs::path(__FILE__).parent_path().parent_path().parent_path();
}

fs::path ContentDir() {
    return SourceDir() / "content";
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

XmlElement Parse(const fs::path& path) {
    return VbGen::ParseXml(ReadText(path), path.filename().string());
}

// The whole generated tree of the real content, made once for the test program.
const fs::path& Generated() {
    static const fs::path out = [] {
        fs::path dir = fs::path(VelmoraTest::TempDir()) / "gui-windows-data";
        VbGen::Generate(VbGen::Profile::Full, ContentDir().string(), dir.string());
        return dir;
    }();
    return out;
}

fs::path DataPath(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return Generated() / name;
}

std::string Attribute(const XmlElement& element, const std::string& name) {
    const std::string* value = element.Attribute(name);
    return value ? *value : std::string();
}

// A resource a list declares, with the list's folder already joined to its files.
struct Resource {
    std::string kind; // model, shader, particles
    std::string file;
    std::string opacity;
    int columns = 1, rows = 1, frames = 1;
    bool basic = false;
};

// Declared resources by kind and full name: a model and a material may share a name.
using Resources = std::map<std::pair<std::string, std::string>, Resource>;

void WalkList(const XmlElement& element, const std::string& prefix, const std::string& folder, bool basic,
              Resources& out) {
    for (const XmlElement& child : element.children) {
        const std::string name = Attribute(child, "name");
        if (name.empty()) {
            WalkList(child, child.name == "resources" ? prefix : prefix + child.name + "/", folder, basic, out);
            continue;
        }
        Resource resource;
        resource.kind = child.name;
        resource.basic = basic;
        const std::string file = child.name == "shader" ? Attribute(child, "diffuse_file_name")
                                                        : Attribute(child, "file_name");
        resource.file = folder + "/" + file;
        std::replace(resource.file.begin(), resource.file.end(), '\\', '/');
        resource.opacity = Attribute(child, "opacity_file_name");
        if (Attribute(child, "animation_type") == "net") {
            std::sscanf(Attribute(child, "net_size").c_str(), "%d %d", &resource.columns, &resource.rows);
            resource.frames = std::atoi(Attribute(child, "frame_count").c_str());
        }
        EXPECT_TRUE(out.emplace(std::make_pair(child.name, prefix + name), resource).second)
            << prefix + name << " is declared twice";
    }
}

// Every "ui/..." resource the four GUI lists declare.
const Resources& UiResources() {
    static const Resources resources = [] {
        Resources out;
        const struct {
            const char* list;
            const char* folder;
            bool basic;
        } lists[] = {{"ui/resources_basic.xml", "ui", true},
                     {"ui/resources_additional.xml", "ui", false},
                     {"ui/background/resources_basic.xml", "ui/background", true},
                     {"ui/background/resources_additional.xml", "ui/background", false}};
        for (const auto& list : lists)
            WalkList(Parse(ContentDir() / list.list), "", list.folder, list.basic, out);
        return out;
    }();
    return resources;
}

// The model file's frame count and per-frame boxes (min x, min y, max x, max y), read by its layout.
struct ModelFrames {
    uint32_t frames = 0;
    std::vector<std::array<float, 4>> boxes;
};

ModelFrames ReadModel(const fs::path& path) {
    const std::string bytes = ReadText(path);
    ModelFrames model;
    size_t at = 13;
    auto u32 = [&]() {
        uint32_t value = 0;
        if (at + 4 <= bytes.size())
            std::memcpy(&value, bytes.data() + at, 4);
        at += 4;
        return value;
    };
    auto f32 = [&]() {
        float value = 0;
        if (at + 4 <= bytes.size())
            std::memcpy(&value, bytes.data() + at, 4);
        at += 4;
        return value;
    };
    if (bytes.size() < 17 || bytes.compare(4, 5, "OEMLF") != 0)
        return model;
    const uint32_t flags = u32();
    model.frames = 1;
    if (flags & 0x2) {
        model.frames = u32();
        f32(); // speed
    }
    const uint32_t indices = u32();
    const uint32_t vertices = u32();
    at += size_t(indices) * (indices <= 65535 ? 2 : 4);
    at += size_t(model.frames) * vertices * 32;
    for (uint32_t f = 0; f < model.frames && at + 24 <= bytes.size(); ++f) {
        const float minX = f32(), minY = f32();
        f32();
        const float maxX = f32(), maxY = f32();
        f32();
        model.boxes.push_back({minX, minY, maxX, maxY});
    }
    return model;
}

// PNG width and height from the header.
std::pair<uint32_t, uint32_t> PngSize(const fs::path& path) {
    const std::string bytes = ReadText(path);
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0)
        return {0, 0};
    auto big = [&](size_t at) {
        return uint32_t(uint8_t(bytes[at])) << 24 | uint32_t(uint8_t(bytes[at + 1])) << 16 |
               uint32_t(uint8_t(bytes[at + 2])) << 8 | uint32_t(uint8_t(bytes[at + 3]));
    };
    return {big(16), big(20)};
}

// Every description root: the shipped window files and the test window, each file's root by name.
std::map<std::string, XmlElement> DescriptionRoots(bool withDemo) {
    std::map<std::string, XmlElement> roots;
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(ContentDir() / "ui/windows"))
        files.push_back(entry.path());
    if (withDemo)
        files.push_back(SourceDir() / "tests/data/fixtures/window_gui_demo.xml");
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        XmlElement root = Parse(file); // one root, nothing after it, no entities, no duplicate attributes
        const std::string name = root.name == "faders" ? "faders" : Attribute(root, "name");
        EXPECT_FALSE(name.empty()) << file;
        EXPECT_TRUE(roots.emplace(name, std::move(root)).second) << name << " is described twice";
    }
    return roots;
}

std::set<std::string> FontNames(bool basicOnly) {
    std::set<std::string> names;
    for (const char* file : {"fonts_basic.xml", "fonts_additional.xml"}) {
        if (basicOnly && std::strcmp(file, "fonts_basic.xml") != 0)
            continue;
        for (const XmlElement& font : Parse(Generated() / "ui/fonts" / file).children)
            names.insert(Attribute(font, "name"));
    }
    return names;
}

std::set<std::string> TextKeys() {
    std::set<std::string> keys;
    for (const VbGen::TextEntry& entry : VbGen::TextEntries(Parse(ContentDir() / "ui/texts/texts.xml")))
        keys.insert(entry.key);
    return keys;
}

// The text keys of an expression: the parts between "+" that are not quoted literals, without case prefixes.
std::vector<std::string> ExpressionKeys(const std::string& expression) {
    std::vector<std::string> keys;
    size_t start = 0;
    while (start <= expression.size()) {
        size_t plus = std::min(expression.find('+', start), expression.size());
        std::string part = expression.substr(start, plus - start);
        part.erase(0, part.find_first_not_of(' '));
        part.erase(part.find_last_not_of(' ') + 1);
        while (!part.empty() && part[0] == '[' && part.find(']') != std::string::npos)
            part.erase(0, part.find(']') + 1);
        if (!part.empty() && part[0] != '\'')
            keys.push_back(part);
        start = plus + 1;
    }
    return keys;
}

// Every element of a control tree with the chain of its templates: what the control is built from. active
// holds the templates being expanded, so a chain that returns to itself is reported instead of followed.
void Collect(const XmlElement& element, const std::map<std::string, XmlElement>& roots,
             std::vector<const XmlElement*>& out, std::set<std::string>& active) {
    out.push_back(&element);
    const std::string name = Attribute(element, "template");
    if (!name.empty()) {
        auto it = roots.find(name);
        if (it == roots.end()) {
            ADD_FAILURE() << "no template " << name;
        } else if (!active.insert(name).second) {
            ADD_FAILURE() << "the template chain returns to " << name;
        } else {
            Collect(it->second, roots, out, active);
            active.erase(name);
        }
    }
    for (const XmlElement& child : element.children)
        Collect(child, roots, out, active);
}

std::vector<const XmlElement*> Collect(const XmlElement& root, const std::map<std::string, XmlElement>& roots) {
    std::vector<const XmlElement*> out;
    std::set<std::string> active;
    Collect(root, roots, out, active);
    return out;
}

} // namespace

TEST(GuiWindowsData, EveryNameADescriptionUsesIsDeclared) {
    const std::map<std::string, XmlElement> roots = DescriptionRoots(true);
    ASSERT_TRUE(roots.count("faders"));
    std::set<std::string> faders;
    for (const XmlElement& fader : roots.at("faders").children)
        faders.insert(Attribute(fader, "name"));
    for (const char* fixed : {"game_logic_window", "game_logic_control"})
        EXPECT_TRUE(faders.count(fixed)) << fixed;
    for (const char* name : {"template_frame_s", "template_frame_m", "template_frame_l", "template_frame_loading",
                             "template_title", "template_mount_animated", "template_mount_static",
                             "template_text", "template_label", "template_value", "template_button",
                             "template_menu_button", "template_row", "template_check_box", "template_volume",
                             "template_edit", "window_game_loading"})
        EXPECT_TRUE(roots.count(name)) << name;

    const std::set<std::string> fonts = FontNames(false);
    const std::set<std::string> keys = TextKeys();
    const Resources& resources = UiResources();
    const std::set<std::string> tags = {"window", "button", "check_box", "edit_box", "slider", "scroll", "text_label"};
    for (const auto& [rootName, root] : roots) {
        if (rootName == "faders")
            continue;
        const std::vector<const XmlElement*> elements = Collect(root, roots);
        for (const XmlElement* element : elements) {
            const std::string where = rootName + ": " + element->name + " " + Attribute(*element, "name");
            EXPECT_TRUE(tags.count(element->name)) << where;
            EXPECT_FALSE(Attribute(*element, "name").empty()) << where;
            for (const auto& [attribute, value] : element->attributes) {
                if (value.empty())
                    continue;
                const bool isModel = attribute.find("model") != std::string::npos &&
                                     attribute.find("frame") == std::string::npos;
                const bool isShader = attribute.find("shader") != std::string::npos;
                if (attribute == "fader") {
                    EXPECT_TRUE(faders.count(value)) << where << " fader " << value;
                } else if (attribute == "font") {
                    EXPECT_TRUE(fonts.count(value)) << where << " font " << value;
                } else if (attribute == "text") {
                    for (const std::string& key : ExpressionKeys(value))
                        EXPECT_TRUE(keys.count(key)) << where << " text key " << key;
                } else if (isModel || isShader) {
                    EXPECT_TRUE(resources.count({isModel ? "model" : "shader", "ui/" + value}))
                        << where << " " << attribute << " " << value;
                } else if (attribute == "printing_mode" || attribute == "multiline" ||
                           attribute == "auto_font_size") {
                    EXPECT_TRUE(value == "0" || value == "1") << where << " " << attribute << " is a 0 or 1";
                }
            }
        }
    }
}

TEST(GuiWindowsData, TheLoadingWindowUsesOnlyWhatIsLoadedBeforeIt) {
    const std::map<std::string, XmlElement> roots = DescriptionRoots(false);
    const std::set<std::string> basicFonts = FontNames(true);
    const Resources& resources = UiResources();
    const std::vector<const XmlElement*> elements = Collect(roots.at("window_game_loading"), roots);
    bool printedTitle = false;
    for (const XmlElement* element : elements) {
        const std::string where = element->name + " " + Attribute(*element, "name");
        for (const auto& [attribute, value] : element->attributes) {
            if (attribute == "font") {
                EXPECT_TRUE(basicFonts.count(value)) << where << " uses the font " << value;
            }
            if ((attribute == "model" || attribute == "shader") && !value.empty()) {
                const auto key = std::make_pair(attribute, "ui/" + value);
                EXPECT_TRUE(resources.count(key) && resources.at(key).basic) << where << " uses " << value;
            }
        }
    }
    for (const XmlElement& child : roots.at("window_game_loading").children)
        printedTitle = printedTitle || (Attribute(child, "name") == "title" && Attribute(child, "printing_mode") == "1");
    EXPECT_TRUE(printedTitle) << "the loading starts when the title has printed";
    EXPECT_TRUE(basicFonts.count("console"));

    // The basic background layers, too, are built before the queued lists load.
    const XmlElement background = Parse(ContentDir() / "ui/background/background.xml");
    EXPECT_EQ(Attribute(background, "resources_prefix"), "ui/background");
    for (const XmlElement& layer : background.children) {
        const bool additional = Attribute(layer, "additional") == "1";
        for (const char* attribute : {"name", "shader", "animator_model"}) {
            const std::string value = Attribute(layer, attribute);
            if (value.empty())
                continue;
            const std::string kind = std::strcmp(attribute, "shader") == 0 ? "shader"
                                     : layer.name == "particles" && std::strcmp(attribute, "name") == 0
                                         ? "particles"
                                         : "model";
            const auto key = std::make_pair(kind, "ui/background/" + value);
            ASSERT_TRUE(resources.count(key)) << kind << " " << key.second;
            EXPECT_TRUE(additional || resources.at(key).basic) << key.second << " is needed by a basic layer";
        }
    }
}

TEST(GuiWindowsData, DeclaredFilesExistWithTheirGridsAndFrames) {
    for (const auto& [key, resource] : UiResources()) {
        const std::string& name = key.second;
        const fs::path file = DataPath(resource.file);
        ASSERT_TRUE(fs::exists(file)) << name << ": " << resource.file;
        if (resource.kind == "shader") {
            const auto [width, height] = PngSize(file);
            EXPECT_TRUE(width > 0 && (width & (width - 1)) == 0 && (height & (height - 1)) == 0)
                << name << " is " << width << " x " << height;
            EXPECT_TRUE(width % resource.columns == 0 && height % resource.rows == 0) << name;
            EXPECT_LE(resource.frames, resource.columns * resource.rows) << name;
            EXPECT_TRUE(resource.opacity.empty() || resource.opacity == "32bit") << name;
        } else {
            fs::path material = file;
            material.replace_extension(".srf");
            EXPECT_TRUE(fs::exists(material)) << name << " has no material beside it";
        }
    }
    // The looks the controls show by frame.
    const std::map<std::string, int> looks = {{"ui/button", 4}, {"ui/check_box", 8}, {"ui/scroll_thumb", 4},
                                              {"ui/scroll_track_h", 3}, {"ui/scroll_track_v", 3},
                                              {"ui/arrow_left", 4}, {"ui/button_row", 4}};
    for (const auto& [name, frames] : looks)
        EXPECT_EQ(UiResources().at({"shader", name}).frames, frames) << name;
}

TEST(GuiWindowsData, ModelsHaveTheFramesAndBoxesTheirUsesNeed) {
    const struct {
        const char* file;
        uint32_t frames;
        std::array<float, 4> firstBox, lastBox; // min x, min y, max x, max y
    } cases[] = {
        {"ui/models/quad_pop.mlf", 9, {0.475f, 0.475f, 0.525f, 0.525f}, {0, 0, 1, 1}},
        {"ui/models/ribbon.mlf", 12, {0.49f, 0, 0.51f, 1}, {0, 0, 1, 1}},
        {"ui/models/slide_left.mlf", 8, {-600, 0, -599, 1}, {0, 0, 1, 1}},
        {"ui/models/slide_down.mlf", 8, {0, 120, 1, 121}, {0, 0, 1, 1}},
        {"ui/background/sky.mlf", 2, {0, 0, 800, 600}, {0, 0, 800, 600}},
    };
    for (const auto& c : cases) {
        const ModelFrames model = ReadModel(DataPath(c.file));
        ASSERT_EQ(model.frames, c.frames) << c.file;
        ASSERT_EQ(model.boxes.size(), c.frames) << c.file;
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(model.boxes.front()[i], c.firstBox[i], 1e-3) << c.file << " first box " << i;
            EXPECT_NEAR(model.boxes.back()[i], c.lastBox[i], 1e-3) << c.file << " last box " << i;
        }
    }
    // Looping layers and animators advance: more than one frame, and they move.
    for (const char* file : {"ui/background/clouds.mlf", "ui/background/balls.mlf", "ui/background/spark_path.mlf"}) {
        const ModelFrames model = ReadModel(DataPath(file));
        ASSERT_GE(model.frames, 2u) << file;
        EXPECT_NE(model.boxes.front(), model.boxes[model.frames / 2]) << file;
    }
    // The sparks sweep along the field: the animator's box centre between x 80 and 720 at y 140.
    const ModelFrames path = ReadModel(DataPath("ui/background/spark_path.mlf"));
    float low = 1e9f, high = -1e9f;
    for (const auto& box : path.boxes) {
        low = std::min(low, (box[0] + box[2]) / 2);
        high = std::max(high, (box[0] + box[2]) / 2);
        EXPECT_NEAR((box[1] + box[3]) / 2, 140, 1e-3);
    }
    EXPECT_NEAR(low, 80, 1e-3);
    EXPECT_NEAR(high, 720, 1e-3);
}
