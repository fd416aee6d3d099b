// The framework's saved files under test: a profile class and an index as a game derives them (the
// profile appends two bytes of its own, as the game's does), a fixture with a log, a file manager and a
// fresh user directory per test, and helpers that spell little-endian bytes by hand for golden files.
#pragma once

#include "engine/files/FileManager.h"
#include "framework/FileFields.h"
#include "framework/ProfileManagerBase.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace VelmoraTest {

// The game's two bytes after the framework's fields: created, and game-complete pending.
class TestProfile : public GameFramework::ProfileBase {
public:
    explicit TestProfile(const std::string& userDirectory) : ProfileBase(userDirectory, "VBPRF", 102) {}

    void Write(OrvexEngine::FileBinary& file) override {
        ProfileBase::Write(file);
        GameFramework::WriteU8(file, createdFlag);
        GameFramework::WriteU8(file, completePending);
    }
    void Read(OrvexEngine::FileBinary& file) override {
        ProfileBase::Read(file);
        createdFlag = GameFramework::ReadU8(file);
        completePending = GameFramework::ReadU8(file);
    }

    uint8_t createdFlag = 1;
    uint8_t completePending = 1;
};

class TestProfileManager : public GameFramework::ProfileManagerBase {
public:
    TestProfileManager(GameFramework::AudioPlayer* audio, const std::string& userDirectory)
        : ProfileManagerBase(audio, userDirectory, "FLPMF", 100) {
        LoadAll();
    }

    GameFramework::ProfileBase* LoadProfile(const std::string& fileName) override {
        auto profile = std::make_unique<TestProfile>(GetUserDirectory());
        profile->Load(fileName);
        return profile.release();
    }
    GameFramework::ProfileBase* CreateProfile(const std::wstring& name) override {
        auto* profile = new TestProfile(GetUserDirectory());
        profile->CreateNew(name);
        return profile;
    }
};

// A path as the framework builds it ("\" separators) in the form std::filesystem understands.
inline std::filesystem::path Disk(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

inline std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Hand-spelled file content.
inline std::string U32(uint32_t v) {
    std::string out;
    for (int i = 0; i < 4; ++i)
        out += char(v >> (8 * i));
    return out;
}
inline std::string F32(float v) {
    return U32(std::bit_cast<uint32_t>(v));
}
inline std::string U8(uint8_t v) {
    return std::string(1, char(v));
}
// Count byte, then UTF-16LE units of an ASCII text and the zero unit.
inline std::string Wide(const std::string& ascii) {
    std::string out = U8(uint8_t(ascii.size() + 1));
    for (char c : ascii)
        out += std::string{c, '\0'};
    return out + std::string(2, '\0');
}
// The 13-byte header for a body.
inline std::string Versioned(const std::string& magic, uint32_t version, const std::string& body) {
    return U32(uint32_t(13 + body.size())) + magic + U32(version) + body;
}

class ProfileFixture : public testing::Test {
protected:
    void SetUp() override {
        root =
            std::filesystem::path(TempDir()) / testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
        userDirectory = (root / "user").string();
        files = std::make_unique<OrvexEngine::FileManager>(root.string(), false, "data", 0);
        OrvexEngine::FileManager::Instance(files.get());
    }

    std::filesystem::path ProfilesFolder() const { return std::filesystem::path(userDirectory) / "profiles"; }
    std::filesystem::path IndexFile() const { return std::filesystem::path(userDirectory) / "profiles.pmf"; }

    TestLog log;
    std::filesystem::path root;
    std::string userDirectory;
    std::unique_ptr<OrvexEngine::FileManager> files;
};

} // namespace VelmoraTest
