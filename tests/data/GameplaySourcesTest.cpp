// ctest-label: data
// The hand-written gameplay sources the generator refuses: block descriptions the game would misread, field
// walls that give the wrong limits, light files whose tokens do not add up.
#include "tools/gen/GenError.h"
#include "tools/gen/Generate.h"

#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

struct Source {
    std::string path; // below content/
    std::string text;
};

// Generates from a content folder holding only the given sources; returns the error text, "" on success.
std::string GenerateFrom(const std::vector<Source>& sources) {
    const fs::path root = fs::path(VelmoraTest::TempDir()) / "sources";
    fs::remove_all(root);
    for (const Source& source : sources) {
        fs::create_directories((root / "content" / source.path).parent_path());
        std::ofstream(root / "content" / source.path, std::ios::binary) << source.text;
    }
    fs::create_directories(root / "content");
    try {
        VbGen::Generate(VbGen::Profile::Minimal, (root / "content").string(), (root / "out").string());
    } catch (const VbGen::GenError& error) {
        return error.what();
    }
    return "";
}

const std::string walls = "wall -85 -95 0 -75 110 10\nwall 75 -95 0 85 110 10\nwall -85 100 0 85 110 10\n";
const std::string lights = "70 70 80\n1\n// key\n0 0 100\n0 0 0\n255 255 255\n0 0 0\n1 0 0\n";

} // namespace

TEST(GameplaySources, RefusesWhatTheGameWouldMisread) {
    struct Case {
        const char* name;
        std::vector<Source> sources;
        const char* message; // "" : accepted
    };
    const Case cases[] = {
        {"sound block types",
         {{"game_objects/blocks/clay.xml", "<block fragment_count=\"4\"/>"},
          {"game_objects/blocks/stone.xml", "<block strength=\"3\"><shader frame_count=\"3\"/></block>"}},
         ""},
        {"a type without a shape",
         {{"game_objects/blocks/brick.xml", "<block/>"}},
         "no model shape is known"},
        {"true for a boolean",
         {{"game_objects/blocks/clay.xml", "<block explosive=\"true\"/>"}},
         "written 1 or 0"},
        {"too many fragments", {{"game_objects/blocks/clay.xml", "<block fragment_count=\"9\"/>"}}, "0..8"},
        {"strength without frames",
         {{"game_objects/blocks/granite.xml", "<block strength=\"2\"/>"}},
         "frame_count must be 2"},
        {"sound field", {{"environment/field.txt", "# walls\n" + walls}}, ""},
        {"two far walls", {{"environment/field.txt", walls + "wall -85 90 0 85 95 10\n"}}, "one far wall"},
        {"no right wall",
         {{"environment/field.txt", "wall -85 -95 0 -75 110 10\nwall -85 100 0 85 110 10\n"}},
         "one far wall"},
        {"into the bat's zone",
         {{"environment/field.txt", "wall -85 -120 0 -75 110 10\n"}},
         "clear of the bat"},
        {"a flat wall", {{"environment/field.txt", "wall -85 -95 0 -75 110 0\n"}}, "min lies below its max"},
        {"a word in the field", {{"environment/field.txt", "wall -85 -95 0 -75 110\n"}}, "expected wall"},
        {"sound lights", {{"environment/lighting/lighting.ini", lights}}, ""},
        {"a light short",
         {{"environment/lighting/lighting.ini", lights.substr(0, lights.size() - 6)}},
         "1 lights need 19 numbers"},
        {"nine lights", {{"environment/lighting/lighting.ini", "0 0 0\n9\n"}}, "from 0 to 8"},
        {"a negative count", {{"environment/lighting/lighting.ini", "0 0 0\n-1\n"}}, "from 0 to 8"},
        {"a comment after values",
         {{"environment/lighting/lighting.ini", "0 0 0 // ambient\n0\n"}},
         "lines of their own"},
        {"a colour beyond 255", {{"environment/lighting/lighting.ini", "0 300 0\n0\n"}}, "0..255"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string error = GenerateFrom(c.sources);
        if (std::string(c.message).empty())
            EXPECT_EQ(error, "");
        else
            EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}
