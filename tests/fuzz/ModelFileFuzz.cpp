// Feeds arbitrary bytes to the model-file and particle-file readers, with the header's magic and size made
// right so that the bodies are explored: whatever the bytes, a file is either refused with a FileError or
// everything the reader hands out fits together (every index below the vertex count, vertex blocks of the
// counts, influences on existing bones, a positive emission duration).
#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/ModelFile.h"
#include "engine/graphics/ParticleFile.h"
#include "tests/fuzz/FuzzScratch.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using namespace OrvexEngine;

namespace {

const std::string& Root() {
    return VelmoraFuzz::ScratchRoot();
}

void Write(const std::string& name, std::vector<uint8_t> bytes, const char* magic) {
    if (bytes.size() >= 13) {
        const uint32_t size = static_cast<uint32_t>(bytes.size());
        for (int i = 0; i < 4; ++i)
            bytes[i] = static_cast<uint8_t>(size >> (8 * i));
        std::memcpy(bytes.data() + 4, magic, 5);
    }
    std::FILE* file = std::fopen((Root() + "/data/" + name).c_str(), "wb");
    if (file == nullptr)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void ReadModel(uint32_t extraFlags) {
    ModelFileContents contents;
    try {
        ModelFile::Read("f.mlf", extraFlags, contents);
    } catch (const FileError&) {
        return;
    }
    const uint64_t v = contents.vertexCount;
    for (uint32_t index : contents.indices)
        Check(index < v);
    if (contents.flags & 0x1)
        Check(contents.vertices.size() == v);
    else if (contents.flags & 0x2)
        Check(contents.vertices.size() == v * contents.frameCount &&
              contents.frameBoxes.size() == contents.frameCount);
    if ((contents.flags & 0x6) != 0)
        Check(contents.frameCount >= 1);
    const uint32_t bones = contents.skeleton ? contents.skeleton->boneCount : 0;
    for (const VertexInfluences& record : contents.influences) {
        Check(record.count <= VertexInfluences::maxInfluences);
        for (uint16_t i = 0; i < record.count; ++i)
            Check(record.influences[i].bone < bones);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MessageManager* log = MessageManager::Instance(new MessageManager("Fuzz", false, false, "", ""));
    static FileManager* files = [] {
        std::filesystem::create_directories(Root() + "/data");
        return FileManager::Instance(new FileManager(Root(), false, "data", 0));
    }();
    (void)log;
    (void)files;
    const std::vector<uint8_t> bytes(data, data + size);
    Write("f.mlf", bytes, "OEMLF");
    ReadModel(0);
    // The static bit changes which blocks follow.
    ReadModel(0x1);
    Write("f.psf", bytes, "OEPSF");
    ParticleFileContents particles;
    try {
        ParticleFile::Read("f.psf", particles);
        Check(particles.settings.emissionDuration > 0 &&
              particles.settings.maximumParticles <= ParticleFile::maxParticles);
    } catch (const FileError&) {
    }
    return 0;
}
