// ctest-label: data
// Checks the data the build laid out in bin/ (beside the game) through the engine's own readers.
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLParser.h"
#include "platform/win/Process.h"
#include "tools/formats/MaterialWriter.h"
#include "tools/formats/ModelWriter.h"
#include "tools/formats/PackReader.h"
#include "tools/formats/PackWriter.h"
#include "tools/formats/ParticleWriter.h"

#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

// The build tree: the tests lie in its tests/, the game and its data in bin/, the tools in tools/.
fs::path BuildDir() {
    return fs::path(platform::GetExecutablePath()).parent_path().parent_path();
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string UrlDecode(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

struct RunResult {
    int exitCode = -1;
    std::string output;
};

RunResult RunCommand(const std::string& command) {
    RunResult result;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        result.output.append(buffer, count);
    int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace

TEST(LaidOutData, OpensThroughTheFileManagerWithItsPacks) {
    VelmoraTest::TestLog log;
    OrvexEngine::FileManager files(BuildDir() / "bin", true, "data", 16u << 20);
    OrvexEngine::FileManager::Instance(&files);
    ASSERT_GE(files.GetPackCount(), 1u);
    EXPECT_TRUE(log.Contains("...Pack file ") && log.Contains("......It contains "));
    EXPECT_FALSE(log.Contains("Incorrect pack file"));

    // The publisher file is loose (it is read before any pack is open), and names the publisher.
    EXPECT_TRUE(files.FileExists("data\\publisher.xml"));
    EXPECT_FALSE(files.FindInPacks("data\\publisher.xml"));
    GameTools::XMLNode document;
    GameTools::XMLParser().Load(&document, "data\\publisher.xml");
    GameTools::XMLNode* publisher = document.GetChild("publisher", GameTools::XMLNode::SeverityNone);
    ASSERT_NE(publisher, nullptr);
    GameTools::XMLValue* name = publisher->GetAttribute("name", GameTools::XMLNode::SeverityNone);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->AsString(), "quillfen");

    // A packed file opens from the pack: the white 8 x 8 picture of the logos backdrop.
    ASSERT_TRUE(files.FindInPacks("data\\common\\empty.tga"));
    std::unique_ptr<OrvexEngine::FileBinary> tga(files.OpenFile("data\\common\\empty.tga", false, 1u << 20));
    uint8_t header[18] = {};
    tga->Read(header, sizeof(header));
    EXPECT_EQ(header[2], 2);                      // uncompressed true colour
    EXPECT_EQ(header[12] | (header[13] << 8), 8); // width
    EXPECT_EQ(header[14] | (header[15] << 8), 8); // height
    EXPECT_EQ(header[16], 24);                    // bits per pixel
}

TEST(LaidOutData, KeepsThePackRules) {
    fs::path data = BuildDir() / "bin" / "data";
    ASSERT_TRUE(fs::is_regular_file(data / "pack0.pak")) << "pack0.pak anchors the installation";
    ASSERT_TRUE(fs::is_regular_file(data / "publisher.xml"));

    std::vector<std::string> loose;
    std::vector<std::string> members;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(data)) {
        if (!entry.is_regular_file())
            continue;
        std::string name = entry.path().lexically_relative(data).generic_string();
        std::replace(name.begin(), name.end(), '/', '\\');
        if (entry.path().extension() != ".pak") {
            loose.push_back(name);
            continue;
        }
        EXPECT_EQ(entry.path().parent_path(), data) << "packs lie directly in data/: " << name;
        EXPECT_LE(entry.file_size(), 16u << 20) << name << " is too large to be held in memory";
        VbFormats::PackReader pack(entry.path().string());
        std::vector<std::string> names;
        for (const VbFormats::PackReader::Member& member : pack.Members()) {
            EXPECT_NO_THROW(VbFormats::PackWriter::CheckMemberName(member.name)) << member.name;
            names.push_back(member.name);
        }
        EXPECT_TRUE(std::is_sorted(names.begin(), names.end())) << name;
        members.insert(members.end(), names.begin(), names.end());
    }
    std::sort(members.begin(), members.end());
    EXPECT_EQ(std::adjacent_find(members.begin(), members.end()), members.end()) << "a member in two packs";
    for (const std::string& name : loose)
        EXPECT_FALSE(std::binary_search(members.begin(), members.end(), name))
            << name << " is loose and packed";

    // The link file beside the game points at the guide that lies beside it.
    std::string link = ReadText(BuildDir() / "bin" / "play.url");
    const std::string prefix = "[InternetShortcut]\r\nURL=file://";
    ASSERT_EQ(link.compare(0, prefix.size(), prefix), 0) << link;
    ASSERT_EQ(link.substr(link.size() - 2), "\r\n");
    fs::path guide = UrlDecode(link.substr(prefix.size(), link.size() - prefix.size() - 2));
    EXPECT_TRUE(fs::equivalent(guide, BuildDir() / "bin" / "help.html")) << guide;
}

TEST(VbDump, ListsPackMembersAndReportsBrokenPacks) {
    std::string dump = (BuildDir() / "tools" / "vb_dump").string();
    RunResult shipped = RunCommand(dump + " '" + (BuildDir() / "bin" / "data" / "pack0.pak").string() + "'");
    EXPECT_EQ(shipped.exitCode, 0) << shipped.output;
    EXPECT_NE(shipped.output.find("header: OEPAK 100"), std::string::npos) << shipped.output;
    EXPECT_NE(shipped.output.find("  common\\empty.tga"), std::string::npos) << shipped.output;

    fs::path temp = fs::path(VelmoraTest::TempDir()) / "dump";
    fs::create_directories(temp);
    struct Case {
        const char* name;
        void (*fault)(VbFormats::PackWriter&);
        int exitCode;
        const char* expected;
    };
    const Case cases[] = {
        {"sound.pak", [](VbFormats::PackWriter&) {}, 0, "  ui\\b.xml"},
        {"truncated.pak", [](VbFormats::PackWriter& w) { w.faults.truncateTo = 30; }, 1,
         "stated size differs"},
        {"count.pak", [](VbFormats::PackWriter& w) { w.faults.memberCount = 0x7FFFFFFF; }, 1, "cannot fit"},
        {"beyond.pak",
         [](VbFormats::PackWriter& w) {
             w.faults.badEntry = 1;
             w.faults.badOffset = 0xFFFFFFF0u;
             w.faults.badSize = 0x20;
         },
         1, "beyond the pack's end"},
        {"version.pak", [](VbFormats::PackWriter& w) { w.faults.version = 101; }, 1, "version 100 only"},
        {"mixed.pak",
         [](VbFormats::PackWriter& w) {
             w.faults.keepNamesAsGiven = true;
             w.Add("UI\\A.xml", "x");
             w.Add("ui\\b.xml", "y");
         },
         0, "upper case"},
    };
    for (const Case& test : cases) {
        VbFormats::PackWriter writer;
        test.fault(writer);
        if (writer.MemberCount() == 0) {
            writer.Add("ui\\a.xml", "<a/>");
            writer.Add("ui\\b.xml", "<b/>");
        }
        writer.Save((temp / test.name).string());
        RunResult result = RunCommand(dump + " '" + (temp / test.name).string() + "'");
        EXPECT_EQ(result.exitCode, test.exitCode) << test.name << "\n" << result.output;
        EXPECT_NE(result.output.find(test.expected), std::string::npos) << test.name << "\n" << result.output;
    }

    // A material: its stages with the fields their animation kind adds.
    VbFormats::Material material;
    material.flags = 1;
    material.blendSource = 4;
    material.blendDestination = 5;
    VbFormats::MaterialStage atlas;
    atlas.kind = 1;
    atlas.frameCount = 6;
    atlas.speed = 12;
    atlas.columns = 3;
    atlas.rows = 2;
    atlas.colorImage = "ui\\button.png";
    material.stages.push_back(atlas);
    VbFormats::MaterialStage still;
    still.colorImage = "glass.jpg";
    still.opacityImage = "glass_alpha.bmp";
    still.addressU = 0;
    material.stages.push_back(still);
    VbFormats::MaterialWriter::Save((temp / "button.srf").string(), material);
    RunResult srf = RunCommand(dump + " '" + (temp / "button.srf").string() + "'");
    EXPECT_EQ(srf.exitCode, 0) << srf.output;
    for (const char* line :
         {"flags 0x1 (alpha blending)", "blend 4 5", "2 stages",
          "stage 0: flags 0x0, atlas, 6 frames at 12 per second, 3 x 2 cells",
          "colour \"ui\\button.png\", opacity \"\"", "stage 1: flags 0x0, still\n",
          "colour \"glass.jpg\", opacity \"glass_alpha.bmp\"", "address 0 1, scale 1 1, offset 0 0"})
        EXPECT_NE(srf.output.find(line), std::string::npos) << line << "\n" << srf.output;
    VbFormats::MaterialFaults cut;
    cut.truncateBy = 10;
    VbFormats::MaterialWriter::Save((temp / "cut.srf").string(), material, cut);
    RunResult broken = RunCommand(dump + " '" + (temp / "cut.srf").string() + "'");
    EXPECT_EQ(broken.exitCode, 1) << broken.output;
    EXPECT_NE(broken.output.find("broken: file ends"), std::string::npos) << broken.output;

    std::ofstream(temp / "plain.txt") << "plain text, no header of ours";
    RunResult plain = RunCommand(dump + " '" + (temp / "plain.txt").string() + "'");
    EXPECT_EQ(plain.exitCode, 1) << plain.output;
    EXPECT_NE(plain.output.find("not a versioned file"), std::string::npos) << plain.output;

    // A pack appended to a program is found through the trailer.
    VbFormats::PackWriter appended;
    appended.Add("x.txt", "appended");
    std::vector<uint8_t> host =
        VbFormats::PackWriter::AppendToHost({'E', 'L', 'F', 0, 1, 2, 3}, appended.Build());
    std::ofstream(temp / "program", std::ios::binary)
        .write(reinterpret_cast<const char*>(host.data()), static_cast<std::streamsize>(host.size()));
    RunResult program = RunCommand(dump + " '" + (temp / "program").string() + "'");
    EXPECT_EQ(program.exitCode, 0) << program.output;
    EXPECT_NE(program.output.find("appended pack"), std::string::npos) << program.output;
    EXPECT_NE(program.output.find("  x.txt"), std::string::npos) << program.output;
}

TEST(VbDump, PrintsModelsAndTheirFaults) {
    std::string dump = (BuildDir() / "tools" / "vb_dump").string();
    fs::path temp = fs::path(VelmoraTest::TempDir()) / "models";
    fs::create_directories(temp);

    // A triangle in two frames, the second moved up by one.
    VbFormats::ModelDescription animated;
    animated.flags = 0x2;
    animated.frameCount = 2;
    animated.speed = 10;
    animated.indices = {0, 1, 2};
    for (float z : {0.0f, 1.0f}) {
        for (VbFormats::Float3 p : {VbFormats::Float3{0, 0, z}, {1, 0, z}, {0, 1, z}})
            animated.vertices.push_back({{0, 0}, {0, 0, 1}, p});
        animated.boxes.push_back({{0, 0, z}, {1, 1, z}});
    }
    VbFormats::ModelDescription outside = animated;
    outside.boxes[1] = {{0, 0, 0}, {1, 1, 0}};
    VbFormats::ModelDescription manyFrames = animated;
    manyFrames.frameCount = 0x7FFFFFFF;

    // One bone, and a vertex bound to it and to a bone that does not exist.
    VbFormats::ModelDescription skinned;
    skinned.flags = 0x4;
    skinned.bones.push_back({0, "arm", {1, 2, 3}, {-1, -1, -1}, {1, 1, 1}});
    skinned.keys.assign(10, 0.0f);
    skinned.indices = {0, 0, 0};
    skinned.skinnedVertices.push_back(
        {{0, 0}, {{0, 0.5f, {0, 0, 1}, {0, 0, 0}}, {3, 0.5f, {0, 0, 1}, {0, 0, 0}}}});
    skinned.boxes.push_back({{-1, -1, -1}, {1, 1, 1}});

    struct Case {
        const char* name;
        const VbFormats::ModelDescription* model;
        bool skipChecks;
        uint32_t truncateBy;
        int exitCode;
        std::vector<const char*> expected;
    };
    const Case cases[] = {
        {"animated.mlf",
         &animated,
         false,
         0,
         0,
         {"flags 0x2: vertex-animated", "2 frames at 10 per second", "3 indices of 2 bytes, 3 vertices",
          "box 1: (0 0 1)-(1 1 1)\n"}},
        {"outside.mlf",
         &outside,
         true,
         0,
         1,
         {"box 1: (0 0 0)-(1 1 0)  <- vertices (0 0 1)-(1 1 1) reach outside"}},
        {"frames.mlf", &manyFrames, true, 0, 1, {"broken: 2147483647 frames cannot fit"}},
        {"cut.mlf", &animated, false, 30, 1, {"broken: file ends"}},
        {"skinned.mlf",
         &skinned,
         true,
         0,
         1,
         {"flags 0x4: skinned", "bone 0 \"arm\": pivot (1 2 3), box (-1 -1 -1)-(1 1 1)", "key data: 40 bytes",
          "vertex 0 names bone 3 of 1", "influences per vertex: 0: 0, 1: 0, 2: 1"}},
    };
    for (const Case& test : cases) {
        VbFormats::ModelFaults faults;
        faults.skipChecks = test.skipChecks;
        faults.truncateBy = test.truncateBy;
        VbFormats::ModelWriter::Save((temp / test.name).string(), *test.model, faults);
        RunResult result = RunCommand(dump + " '" + (temp / test.name).string() + "'");
        EXPECT_EQ(result.exitCode, test.exitCode) << test.name << "\n" << result.output;
        for (const char* line : test.expected)
            EXPECT_NE(result.output.find(line), std::string::npos) << test.name << ": " << line << "\n"
                                                                   << result.output;
    }
}

TEST(VbDump, PrintsParticleSystemsOfBothVersions) {
    std::string dump = (BuildDir() / "tools" / "vb_dump").string();
    fs::path temp = fs::path(VelmoraTest::TempDir()) / "particles";
    fs::create_directories(temp);
    VbFormats::ParticleDescription burst;
    burst.maximumParticles = 30;
    burst.emissionDuration = 0.3f;
    burst.gravity = 0.8f;
    burst.floorHeight = 0;
    burst.emissionShape = 1;
    burst.speedSpread = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
    VbFormats::ParticleDescription old = burst;
    old.version = 203;
    VbFormats::ParticleDescription badShape = burst;
    badShape.emissionShape = 7;

    struct Case {
        const char* name;
        const VbFormats::ParticleDescription* system;
        bool skipChecks;
        int exitCode;
        std::vector<const char*> expected;
        const char* absent;
    };
    const Case cases[] = {
        {"burst.psf",
         &burst,
         false,
         0,
         {"header: OEPSF 204, 453 bytes", "at most 30 particles, emission cycle 0.3 s",
          "gravity on 0.8, floor on at 0 bouncing 0.9",
          "speed spread      0.1 | 0.2 | 0.3 | 0.4 | 0.5 | 0.6\n", "colour            1 1 1 1 | 1 1 1 1",
          "emission shape 1, box (-0.5 -0.5 -0.5)-(0.5 0.5 0.5)"},
         nullptr},
        {"old.psf", &old, false, 0, {"header: OEPSF 203, 429 bytes", "emission shape 1"}, "speed spread"},
        {"shape.psf", &badShape, true, 1, {"emission shapes run from 0 to 2"}, nullptr},
    };
    for (const Case& test : cases) {
        VbFormats::ParticleFaults faults;
        faults.skipChecks = test.skipChecks;
        VbFormats::ParticleWriter::Save((temp / test.name).string(), *test.system, faults);
        RunResult result = RunCommand(dump + " '" + (temp / test.name).string() + "'");
        EXPECT_EQ(result.exitCode, test.exitCode) << test.name << "\n" << result.output;
        for (const char* line : test.expected)
            EXPECT_NE(result.output.find(line), std::string::npos) << test.name << ": " << line << "\n"
                                                                   << result.output;
        if (test.absent != nullptr) {
            EXPECT_EQ(result.output.find(test.absent), std::string::npos) << test.name << "\n"
                                                                          << result.output;
        }
    }
}
