#include "game/shell/StageMapFile.h"

#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"
#include "gametools/VersionedFile.h"

using namespace OrvexEngine;

namespace VelmoraBall {

std::vector<StageMapElement> StageMapFile::Read(const std::string& path) {
    GameTools::VersionedFile file("GFGMF", 100);
    file.Open(path, GameTools::VersionedFile::ModeRead);
    FileBinary* in = file.GetFile();
    uint32_t count = 0;
    in->Read(&count, 4);
    // The count must describe the file exactly before anything is made from it.
    const uint64_t expected =
        GameTools::VersionedFile::HeaderSize + 4 + static_cast<uint64_t>(count) * elementSize;
    if (expected != in->GetSize())
        throw FileError("Incorrect \"" + path + "\" file format");
    std::vector<StageMapElement> elements(count);
    uint32_t stage = 0;
    uint32_t levelIndex = 0;
    for (StageMapElement& element : elements) {
        in->Read(&element.type, 4);
        in->Read(element.placement.m, sizeof(element.placement.m));
        if (element.type == typeCheckPoint) {
            ++stage;
            levelIndex = 0;
        }
        element.stage = stage;
        element.levelIndex = levelIndex++;
    }
    file.Close();
    return elements;
}

} // namespace VelmoraBall
