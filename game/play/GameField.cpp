#include "game/play/GameField.h"

#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"
#include "game/play/Fatal.h"
#include "gametools/VersionedFile.h"

using namespace OrvexEngine;

namespace VelmoraBall {

GameField::GameField(const std::string& name) {
    try {
        Read("data\\environment\\" + name);
    } catch (const FileError& error) {
        EndProgram(error.GetText());
    }
    if (walls.empty()) {
        fieldBox.Set(Vec3(-200, -200, -200), Vec3(200, 200, 200));
        return;
    }
    BoundingBox all = walls[0].worldBox;
    for (size_t i = 1; i < walls.size(); ++i)
        all.Merge(walls[i].worldBox);
    const Vec3& low = all.GetWorldMin();
    const Vec3& high = all.GetWorldMax();
    // The near edge reaches 40 further down, where the bat moves.
    fieldBox.Set(Vec3(low.x, low.y - 40.0f, -1000.0f), Vec3(high.x, high.y, 1000.0f));
}

void GameField::Read(const std::string& path) {
    GameTools::VersionedFile file("VBVBF", 100);
    file.Open(path, GameTools::VersionedFile::ModeRead);
    FileBinary* in = file.GetFile();
    uint32_t count = 0;
    in->Read(&count, 4);
    // The count must describe the file exactly before anything is made from it.
    const uint64_t expected =
        GameTools::VersionedFile::HeaderSize + 4 + static_cast<uint64_t>(count) * WallSize;
    if (expected != in->GetSize())
        throw FileError("Incorrect \"" + path + "\" file format");
    walls.resize(count);
    for (FieldWall& wall : walls) {
        float values[22];
        in->Read(values, sizeof(values));
        wall.localBox.Set(Vec3(values[0], values[1], values[2]), Vec3(values[3], values[4], values[5]));
        for (int i = 0; i < 16; ++i)
            wall.transform[i] = values[6 + i];
        wall.worldBox = wall.localBox;
        wall.worldBox.SetTransform(wall.transform);
    }
    file.Close();
}

} // namespace VelmoraBall
