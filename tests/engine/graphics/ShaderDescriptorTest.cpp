// ctest-label: materials
// Material descriptions: defaults and the two builders, the sharing rule and its hash, the image files of a
// stage searched in a temporary data folder, and the material file reader against written fixtures.
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/core/Error.h"
#include "engine/files/FileManager.h"
#include "tests/support/TestLog.h"
#include "tools/formats/MaterialWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

using namespace OrvexEngine;
namespace fs = std::filesystem;

namespace {

// A log and a file manager over a fresh installation folder with an empty data/ below it.
class DataFolder : public testing::Test {
protected:
    void SetUp() override {
        root = fs::path(VelmoraTest::TempDir()) /
               ("install-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root);
        fs::create_directories(root / "data");
        files = new FileManager(root.string(), false, "data", 0);
        FileManager::Instance(files);
    }
    void TearDown() override { delete files; }

    // Creates data/<relative> (any separators "/") with the given bytes.
    void Put(const std::string& relative, const std::vector<uint8_t>& bytes = {1}) {
        fs::path path = root / "data" / relative;
        fs::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    // The error lines logged so far.
    std::vector<std::string> Errors() {
        std::vector<std::string> errors;
        for (uint32_t i = 0; i < log.Manager().GetEntryCount(); ++i)
            if (log.Manager().GetEntry(i)->type == MessageTypeError)
                errors.push_back(log.Manager().GetEntry(i)->text);
        return errors;
    }

    VelmoraTest::TestLog log;
    fs::path root;
    FileManager* files = nullptr;
};

VbFormats::MaterialStage Stage(uint32_t kind, const std::string& color, const std::string& opacity = "") {
    VbFormats::MaterialStage stage;
    stage.kind = kind;
    stage.colorImage = color;
    stage.opacityImage = opacity;
    return stage;
}

} // namespace

TEST(ShaderDescriptor, DefaultsAndBuilders) {
    ShaderDescriptor plain;
    EXPECT_EQ(plain.stageCount, 0u);
    EXPECT_EQ(plain.flags, 0u);
    EXPECT_EQ(plain.GetNameHash(), 0u);
    EXPECT_EQ(plain.color1.x, 1.0f);
    EXPECT_EQ(plain.color4.x, 0.0f);
    EXPECT_EQ(plain.color4.w, 1.0f);

    ShaderDescriptor own;
    own.InitFromImages(true, "fx\\glow.png", "32bit", true);
    EXPECT_EQ(own.flags, 1u);
    EXPECT_EQ(own.blendSource, 4);
    EXPECT_EQ(own.blendDestination, 5);
    ASSERT_EQ(own.stageCount, 1u);
    EXPECT_EQ(own.stages[0].opacityImage, "");
    EXPECT_EQ(own.stages[0].flags, 1u); // the description's flags
    EXPECT_EQ(own.stages[0].addressU, 0);
    EXPECT_EQ(own.stages[0].addressV, 0);

    ShaderDescriptor noColor;
    noColor.InitFromImages(false, "", "mask.bmp", false);
    EXPECT_EQ(noColor.stageCount, 0u);
    EXPECT_EQ(noColor.flags, 1u);
    EXPECT_EQ(noColor.blendSource, 4);

    ShaderDescriptor opaque;
    opaque.InitFromImages(false, "wall.jpg", "", false);
    EXPECT_EQ(opaque.flags, 0u);
    EXPECT_EQ(opaque.blendSource, 0);
    EXPECT_EQ(opaque.stages[0].addressU, 1);

    ShaderDescriptor animated;
    animated.InitAnimated(true, AnimationAtlas, 4, 2, 8, 12.0f, "ui\\button.png", "", false);
    ASSERT_EQ(animated.stageCount, 1u);
    EXPECT_EQ(animated.stages[0].flags, StageFlagMipMaps);
    EXPECT_EQ(animated.stages[0].columns, 4u);
    EXPECT_EQ(animated.stages[0].frameCount, 8u);
    EXPECT_EQ(animated.stages[0].speed, 12.0f);

    ShaderDescriptor still;
    still.InitAnimated(false, AnimationStill, 1, 1, 8, 0, "a.png", "", false);
    EXPECT_EQ(still.stages[0].frameCount, 0u); // a still image keeps no frame count

    // A copy keeps everything and its hash.
    animated.stages[0].offsetU = 0.5f;
    ShaderDescriptor copy(animated);
    EXPECT_EQ(copy.stages[0].offsetU, 0.5f);
    EXPECT_EQ(copy.GetNameHash(), animated.GetNameHash());
    EXPECT_TRUE(copy.Equals(animated));
}

TEST(ShaderDescriptor, AThirdStageOverflows) {
    ShaderDescriptor d;
    d.AddStage(0, 0, 1, 1, 0, 0, "a.png", "", 1);
    d.AddStage(0, 0, 1, 1, 0, 0, "b.png", "", 1);
    try {
        d.AddStage(0, 0, 1, 1, 0, 0, "c.png", "", 1);
        FAIL() << "no error";
    } catch (const FatalError& e) {
        EXPECT_EQ(e.GetText(), "Shader Stages: buffer is overflowed");
    }
    EXPECT_EQ(d.stageCount, 2u);
}

TEST(ShaderDescriptor, StagesThatCannotAnimateBecomeStillImages) {
    struct Case {
        uint32_t kind, columns, rows, frames;
    } cases[] = {{AnimationAtlas, 0, 2, 8},
                 {AnimationAtlas, 4, 0, 8},
                 {AnimationColorSequence, 1, 1, 0},
                 {AnimationBothSequences, 1, 1, 0},
                 {7, 1, 1, 5},
                 {AnimationColorSequence, 1, 1, 10001},
                 {AnimationOpacitySequence, 1, 1, 0xFFFFFFFFu}};
    for (const Case& c : cases) {
        ShaderDescriptor d;
        d.AddStage(0, c.kind, c.columns, c.rows, c.frames, 10.0f, "fire15.png", "", 1);
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(d.stages[0].animationKind, AnimationStill);
        EXPECT_EQ(d.stages[0].frameCount, 0u);
        EXPECT_EQ(d.stages[0].columns, 1u);
    }
    // An atlas without a frame count still shows its first cell, not the whole picture.
    ShaderDescriptor cell;
    cell.AddStage(0, AnimationAtlas, 4, 2, 0, 10.0f, "grid.png", "", 1);
    EXPECT_EQ(cell.stages[0].animationKind, AnimationAtlas);
    EXPECT_EQ(cell.stages[0].columns, 4u);
    ShaderDescriptor longest;
    longest.AddStage(0, AnimationColorSequence, 1, 1, 10000, 10.0f, "fire9999.png", "", 1);
    EXPECT_EQ(longest.stages[0].animationKind, AnimationColorSequence);
    EXPECT_EQ(longest.stages[0].frameCount, 10000u);
}

TEST(ShaderDescriptor, SharingRuleAndHash) {
    auto make = [](const std::string& color, const std::string& opacity) {
        ShaderDescriptor d;
        d.AddStage(0, AnimationStill, 1, 1, 0, 0, color, opacity, 1);
        return d;
    };
    const ShaderDescriptor base = make("wall.png", "mask.bmp");
    // The hash adds the names' characters as signed bytes.
    uint32_t expected = 0;
    for (char c : std::string("wall.pngmask.bmp"))
        expected += static_cast<uint32_t>(static_cast<signed char>(c));
    EXPECT_EQ(base.GetNameHash(), expected);
    EXPECT_EQ(make("\xE9.png", "").GetNameHash(), static_cast<uint32_t>(-23 + '.' + 'p' + 'n' + 'g'));

    struct Case {
        const char* what;
        std::function<void(ShaderDescriptor&)> change;
        bool equal;
    } cases[] = {
        {"colours, values, blend",
         [](ShaderDescriptor& d) {
             d.color2.x = 0;
             d.value1 = 3;
             d.SetBlend(0, 9);
         },
         true},
        {"flags bit 0", [](ShaderDescriptor& d) { d.AddFlags(1); }, true},
        {"addressing, scale, offset",
         [](ShaderDescriptor& d) {
             d.stages[0].addressU = 0;
             d.stages[0].scaleU = 2;
             d.stages[0].offsetV = 1;
         },
         true},
        {"stage flags bits 0 and 1", [](ShaderDescriptor& d) { d.stages[0].flags = 3; }, true},
        {"still and atlas",
         [](ShaderDescriptor& d) {
             d.stages[0].animationKind = AnimationAtlas;
             d.stages[0].columns = 4;
         },
         true},
        {"flags bit 1", [](ShaderDescriptor& d) { d.AddFlags(2); }, false},
        {"stage flags bit 2", [](ShaderDescriptor& d) { d.stages[0].flags = 4; }, false},
        {"an image name",
         [](ShaderDescriptor& d) {
             d.stages[0].colorImage = "wall.jpg";
             d.UpdateNameHash();
         },
         false},
        {"same hash, other names",
         [](ShaderDescriptor& d) {
             d.stages[0].colorImage = "wall.pnh";
             d.stages[0].opacityImage = "mask.bma";
             d.UpdateNameHash();
         },
         false},
        {"a stage more", [](ShaderDescriptor& d) { d.AddStage(0, 0, 1, 1, 0, 0, "", "", 1); }, false},
    };
    for (const Case& c : cases) {
        ShaderDescriptor other(base);
        c.change(other);
        EXPECT_EQ(base.Equals(other), c.equal) << c.what;
        EXPECT_EQ(other.Equals(base), c.equal) << c.what;
    }

    ShaderDescriptor eight;
    eight.AddStage(0, AnimationColorSequence, 1, 1, 8, 10, "fire7.png", "", 1);
    ShaderDescriptor nine;
    nine.AddStage(0, AnimationColorSequence, 1, 1, 9, 10, "fire7.png", "", 1);
    ShaderDescriptor fast;
    fast.AddStage(0, AnimationColorSequence, 1, 1, 8, 30, "fire7.png", "", 1);
    EXPECT_FALSE(eight.Equals(nine));
    EXPECT_TRUE(eight.Equals(fast));
}

TEST(ShaderDescriptor, NumberedNames) {
    EXPECT_EQ(ShaderDescriptor::NumberedName("fx\\fire15.png", 0, 16), "fx\\fire00.png");
    EXPECT_EQ(ShaderDescriptor::NumberedName("fx\\fire15.png", 15, 16), "fx\\fire15.png");
    EXPECT_EQ(ShaderDescriptor::NumberedName("fire99.png", 7, 100), "fire07.png");
    EXPECT_EQ(ShaderDescriptor::NumberedName("fire100.png", 7, 101), "fire007.png");
    EXPECT_EQ(ShaderDescriptor::NumberedName("stone2.png", 1, 3), "stone1.png");
    // Shorter than the digits it should end in: nothing of the stem is kept, nothing wraps around.
    EXPECT_EQ(ShaderDescriptor::NumberedName(".png", 42, 1000), "042.png");
    EXPECT_EQ(ShaderDescriptor::NumberedName("", 3, 10), "3.");
}

TEST_F(DataFolder, ImageFilesOfAStage) {
    Put("t/a.dds");
    Put("t/a.tga");
    Put("t/b.tga");
    Put("t/c.png");
    Put("t/d.jpg");
    Put("t/d.bmp");
    Put("t/e.bmp");
    Put("t/m.jpg");
    Put("t/n.bmp");

    struct Case {
        const char* color;
        const char* opacity;
        const char* expectedColor;
        const char* expectedOpacity;
    } cases[] = {
        {"T\\A.tga", "t\\m.bmp", "data\\t\\a.dds", ""},               // DDS wins and carries its alpha
        {"t\\b.tga", "t\\m.bmp", "data\\t\\b.tga", "data\\t\\m.jpg"}, // as written; opacity found as jpg
        {"t\\c.tga", "t\\n.tga", "data\\t\\c.png", ""},               // PNG carries its alpha
        {"t\\d.png", "t\\n.tga", "data\\t\\d.jpg", "data\\t\\n.bmp"}, // jpg before the name as written
        {"t\\e.jpg", "", "data\\t\\e.bmp", ""},
        {"t\\gone.tga", "t\\gone.bmp", "data\\t\\gone.tga", "data\\t\\gone.bmp"}, // nothing found: as built
        {"", "t\\m.bmp", "", "data\\t\\m.jpg"},                                   // no colour stays none
    };
    for (const Case& c : cases) {
        ShaderDescriptor d;
        d.AddStage(0, AnimationStill, 1, 1, 0, 0, c.color, c.opacity, 1);
        std::vector<std::string> names;
        d.FindTextureImageFile(0, names);
        ASSERT_EQ(names.size(), 2u);
        EXPECT_EQ(names[0], c.expectedColor) << c.color;
        EXPECT_EQ(names[1], c.expectedOpacity) << c.color;
    }

    ShaderDescriptor none;
    none.AddStage(StageFlagNoImages, AnimationColorSequence, 1, 1, 3, 1, "t\\b.tga", "t\\m.jpg", 1);
    std::vector<std::string> names;
    none.FindTextureImageFile(0, names);
    EXPECT_EQ(names, std::vector<std::string>(6, ""));
}

TEST_F(DataFolder, SequencesAreNumberedPerFrame) {
    for (int k = 0; k < 16; ++k)
        Put("fx/fire" + std::string(k < 10 ? "0" : "") + std::to_string(k) + ".png");
    ShaderDescriptor d;
    d.AddStage(0, AnimationBothSequences, 1, 1, 16, 10, "fx\\fire15.png", "fx\\mask15.bmp", 1);
    std::vector<std::string> names;
    d.FindTextureImageFile(0, names);
    ASSERT_EQ(names.size(), 32u);
    EXPECT_EQ(names[0], "data\\fx\\fire00.png");
    EXPECT_EQ(names[1], ""); // the PNG carries the alpha
    EXPECT_EQ(names[2 * 9], "data\\fx\\fire09.png");
    EXPECT_EQ(names[2 * 15], "data\\fx\\fire15.png");

    ShaderDescriptor opacityOnly;
    opacityOnly.AddStage(0, AnimationOpacitySequence, 1, 1, 101, 10, "fx\\base.tga", "fx\\mask100.bmp", 1);
    opacityOnly.FindTextureImageFile(0, names);
    ASSERT_EQ(names.size(), 202u);
    EXPECT_EQ(names[2 * 42], "data\\fx\\base.tga");
    EXPECT_EQ(names[2 * 42 + 1], "data\\fx\\mask042.bmp");
}

TEST_F(DataFolder, ReadsEveryStageKindAndItsOptionalFields) {
    VbFormats::Material m;
    m.flags = 0x11;
    m.colors[1] = {0.25f, 0.5f, 0.75f, 1};
    m.value1 = 2.5f;
    m.value2 = -1;
    m.blendSource = 4;
    m.blendDestination = 5;
    VbFormats::MaterialStage atlas = Stage(1, "ball_diffuse.png", "\\ball_mask.bmp");
    atlas.flags = 3;
    atlas.columns = 4;
    atlas.rows = 2;
    atlas.frameCount = 8;
    atlas.speed = 12;
    atlas.addressU = 0;
    atlas.addressV = 1;
    atlas.scaleU = 0.25f;
    atlas.scaleV = 0.5f;
    atlas.offsetU = 0.125f;
    atlas.offsetV = -0.5f;
    VbFormats::MaterialStage sequence = Stage(2, "textures\\fire7.png");
    sequence.frameCount = 8;
    sequence.speed = 24;
    m.stages = {atlas, sequence};
    Put("models/ball.srf", VbFormats::MaterialWriter::Write(m));

    ShaderDescriptor d;
    d.LoadFromFile("models\\ball.srf");
    EXPECT_EQ(d.flags, 0x11u);
    EXPECT_EQ(d.color2.y, 0.5f);
    EXPECT_EQ(d.color4.w, 1.0f);
    EXPECT_EQ(d.value1, 2.5f);
    EXPECT_EQ(d.value2, -1.0f);
    EXPECT_EQ(d.blendSource, 4);
    EXPECT_EQ(d.blendDestination, 5);
    ASSERT_EQ(d.stageCount, 2u);
    const ShaderStage& a = d.stages[0];
    EXPECT_EQ(a.flags, 3u);
    EXPECT_EQ(a.animationKind, 1u);
    EXPECT_EQ(a.columns, 4u);
    EXPECT_EQ(a.rows, 2u);
    EXPECT_EQ(a.frameCount, 8u);
    EXPECT_EQ(a.speed, 12.0f);
    EXPECT_EQ(a.colorImage, "models\\ball_diffuse.png"); // beside the material file
    EXPECT_EQ(a.opacityImage, "\\ball_mask.bmp");        // rooted names stay
    EXPECT_EQ(a.addressU, 0);
    EXPECT_EQ(a.addressV, 1);
    EXPECT_EQ(a.scaleU, 0.25f);
    EXPECT_EQ(a.scaleV, 0.5f);
    EXPECT_EQ(a.offsetU, 0.125f);
    EXPECT_EQ(a.offsetV, -0.5f);
    const ShaderStage& s = d.stages[1];
    EXPECT_EQ(s.animationKind, 2u);
    EXPECT_EQ(s.frameCount, 8u);
    EXPECT_EQ(s.speed, 24.0f);
    EXPECT_EQ(s.columns, 1u);
    EXPECT_EQ(s.colorImage, "textures\\fire7.png"); // names with a folder stay
    EXPECT_EQ(s.opacityImage, "");

    ShaderDescriptor expected;
    expected.AddStage(0, 0, 1, 1, 0, 0, "models\\ball_diffuse.png", "\\ball_mask.bmp", 1);
    expected.AddStage(0, 0, 1, 1, 0, 0, "textures\\fire7.png", "", 1);
    EXPECT_EQ(d.GetNameHash(), expected.GetNameHash());
}

TEST_F(DataFolder, ReadsTheBytesOfTheLayout) {
    // One still stage typed by hand after the layout: header, flags, colours, values, blend, count, stage.
    std::vector<uint8_t> bytes = {0, 0, 0, 0, 'O', 'E', 'S', 'R', 'F', 211, 0, 0, 0, 1, 0, 0, 0};
    auto f32 = [&](float v) {
        uint8_t b[4];
        std::memcpy(b, &v, 4);
        bytes.insert(bytes.end(), b, b + 4);
    };
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    for (int i = 0; i < 16; ++i)
        f32(0.5f);
    f32(1);
    f32(2);
    u32(4);
    u32(5);
    u32(1);
    u32(4); // stage flags: no images
    u32(0); // still: no frame count, speed, columns or rows follow
    bytes.insert(bytes.end(), {4, 'a', '.', 'b', 0, 1, 0});
    u32(0);
    u32(1);
    f32(2);
    f32(3);
    f32(0.25f);
    f32(0.75f);
    bytes.insert(bytes.end(), {0xEE, 0xEE}); // covered by the size, ignored
    const uint32_t size = static_cast<uint32_t>(bytes.size());
    std::memcpy(bytes.data(), &size, 4);
    Put("x.srf", bytes);

    ShaderDescriptor d;
    d.LoadFromFile("x.srf");
    EXPECT_EQ(d.flags, 1u);
    EXPECT_EQ(d.color3.z, 0.5f);
    EXPECT_EQ(d.value2, 2.0f);
    ASSERT_EQ(d.stageCount, 1u);
    EXPECT_EQ(d.stages[0].flags, 4u);
    EXPECT_EQ(d.stages[0].colorImage, "a.b"); // the material lies in data\ itself: no folder to add
    EXPECT_EQ(d.stages[0].opacityImage, "");
    EXPECT_EQ(d.stages[0].addressV, 1);
    EXPECT_EQ(d.stages[0].scaleV, 3.0f);
    EXPECT_EQ(d.stages[0].offsetV, 0.75f);

    VbFormats::Material m;
    m.flags = 1;
    for (auto& c : m.colors)
        c = {0.5f, 0.5f, 0.5f, 0.5f};
    m.value1 = 1;
    m.value2 = 2;
    m.blendSource = 4;
    m.blendDestination = 5;
    VbFormats::MaterialStage stage = Stage(0, "a.b");
    stage.flags = 4;
    stage.addressU = 0;
    stage.scaleU = 2;
    stage.scaleV = 3;
    stage.offsetU = 0.25f;
    stage.offsetV = 0.75f;
    m.stages = {stage};
    std::vector<uint8_t> written = VbFormats::MaterialWriter::Write(m);
    std::vector<uint8_t> typed(bytes.begin(), bytes.end() - 2);
    const uint32_t typedSize = static_cast<uint32_t>(typed.size());
    std::memcpy(typed.data(), &typedSize, 4);
    EXPECT_EQ(written, typed);
}

TEST_F(DataFolder, RejectsBrokenFilesWithTheirTexts) {
    VbFormats::Material m;
    m.stages = {Stage(0, "a.png"), Stage(0, "b.png")};
    VbFormats::MaterialFaults shortSize;
    shortSize.sizeDelta = -1;
    VbFormats::MaterialFaults badMagic;
    badMagic.magic = "OESRG";
    VbFormats::MaterialFaults oldVersion;
    oldVersion.version = 210;
    VbFormats::MaterialFaults cut;
    cut.truncateBy = 3;
    cut.sizeDelta = -3;
    Put("m/short.srf", VbFormats::MaterialWriter::Write(m, shortSize));
    Put("m/magic.srf", VbFormats::MaterialWriter::Write(m, badMagic));
    Put("m/v210.srf", VbFormats::MaterialWriter::Write(m, oldVersion));
    Put("m/cut.srf", VbFormats::MaterialWriter::Write(m, cut));
    Put("m/tiny.srf", {13, 0, 0});

    struct Case {
        const char* name;
        std::string text;
    } cases[] = {
        {"m\\short.srf", "Incorrect \"m\\short.srf\" file format"},
        {"m\\magic.srf", "Incorrect \"m\\magic.srf\" file format"},
        {"m\\v210.srf", "Incorrect \"m\\v210.srf\" format version, current is 211"},
        {"m\\cut.srf", "Failed to read"},
        {"m\\tiny.srf", "Failed to read"},
        {"m\\missing.srf", "Failed to open"},
    };
    for (const Case& c : cases) {
        ShaderDescriptor d;
        try {
            d.LoadFromFile(c.name);
            ADD_FAILURE() << c.name << " was read";
        } catch (const FileError&) {
            ADD_FAILURE() << c.name << ": the file error must travel as a plain Error";
        } catch (const Error& e) {
            EXPECT_EQ(e.GetText().find(c.text), 0u) << e.GetText();
            EXPECT_TRUE(log.Contains(e.GetText())) << c.name; // logged as an error first
        }
    }
    EXPECT_EQ(Errors().size(), std::size(cases));
}

TEST_F(DataFolder, ThreeStagesAreFatalAndNotLogged) {
    VbFormats::Material m;
    m.stages = {Stage(0, "a.png"), Stage(0, "b.png"), Stage(0, "c.png")};
    VbFormats::MaterialFaults three;
    three.skipChecks = true;
    Put("three.srf", VbFormats::MaterialWriter::Write(m, three));
    ShaderDescriptor d;
    try {
        d.LoadFromFile("three.srf");
        FAIL() << "read";
    } catch (const FatalError& e) {
        EXPECT_EQ(e.GetText(), "Shader Stages: buffer is overflowed");
    }
    EXPECT_TRUE(Errors().empty());
}

TEST_F(DataFolder, StagesThatCannotAnimateAreReadAsStillImages) {
    VbFormats::Material m;
    VbFormats::MaterialStage atlas = Stage(1, "grid.png");
    atlas.columns = 0;
    atlas.rows = 2;
    atlas.frameCount = 8;
    VbFormats::MaterialStage sequence = Stage(2, "fire9.png");
    sequence.frameCount = 0;
    m.stages = {atlas, sequence};
    VbFormats::MaterialFaults unchecked;
    unchecked.skipChecks = true;
    Put("odd.srf", VbFormats::MaterialWriter::Write(m, unchecked));
    VbFormats::MaterialStage unknown = Stage(9, "x.png");
    unknown.frameCount = 4;
    m.stages = {unknown};
    Put("kind9.srf", VbFormats::MaterialWriter::Write(m, unchecked));

    ShaderDescriptor d;
    d.LoadFromFile("odd.srf");
    ASSERT_EQ(d.stageCount, 2u);
    for (uint32_t i = 0; i < 2; ++i) {
        EXPECT_EQ(d.stages[i].animationKind, AnimationStill);
        EXPECT_EQ(d.stages[i].frameCount, 0u);
        std::vector<std::string> names;
        d.FindTextureImageFile(i, names);
        EXPECT_EQ(names.size(), 2u);
    }
    EXPECT_EQ(d.stages[1].colorImage, "fire9.png"); // not numbered
    EXPECT_TRUE(log.Contains("stage 0 cannot be animated"));
    EXPECT_TRUE(log.Contains("stage 1 cannot be animated"));

    ShaderDescriptor k;
    k.LoadFromFile("kind9.srf");
    EXPECT_EQ(k.stages[0].animationKind, AnimationStill);
}

TEST(MaterialWriter, RefusesWhatTheReaderCannotUse) {
    VbFormats::Material m;
    m.stages = {Stage(0, "a"), Stage(0, "b"), Stage(0, "c")};
    EXPECT_THROW(VbFormats::MaterialWriter::Write(m), std::runtime_error);
    VbFormats::MaterialStage atlas = Stage(1, "a");
    atlas.frameCount = 4;
    atlas.columns = 0;
    m.stages = {atlas};
    EXPECT_THROW(VbFormats::MaterialWriter::Write(m), std::runtime_error);
    m.stages = {Stage(3, "a")};
    EXPECT_THROW(VbFormats::MaterialWriter::Write(m), std::runtime_error);
    m.stages = {Stage(5, "a")};
    EXPECT_THROW(VbFormats::MaterialWriter::Write(m), std::runtime_error);
    m.stages = {};
    m.blendSource = 11;
    EXPECT_THROW(VbFormats::MaterialWriter::Write(m), std::runtime_error);
}
