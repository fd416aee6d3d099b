// The walls of the playing field, read from the field file ("VBVBF" 100 below data\environment\), and the
// field box that encloses everything in play. Built by the level in play for every level and deleted with
// it; the ball manager and the bullets read the walls and the box.
#pragma once

#include "engine/math/BoundingBox.h"
#include "engine/math/Matrix4.h"

#include <string>
#include <vector>

namespace VelmoraBall {

struct FieldWall {
    OrvexEngine::BoundingBox localBox; // as in the file, untransformed
    OrvexEngine::BoundingBox worldBox; // the local box placed by the transform
    OrvexEngine::Matrix4 transform;
};

class GameField {
public:
    // Reads "data\environment\" + name. A file that cannot be opened, has the wrong header, a wall count that
    // disagrees with its size, or ends early ends the program with the file error's text.
    explicit GameField(const std::string& name);
    GameField(const GameField&) = delete;
    GameField& operator=(const GameField&) = delete;
    virtual ~GameField() = default;

    void Update() {}

    const std::vector<FieldWall>& GetWalls() const { return walls; }
    const OrvexEngine::BoundingBox& GetFieldBox() const { return fieldBox; }

    static constexpr uint32_t WallSize = 88;

private:
    void Read(const std::string& path);

    std::vector<FieldWall> walls;
    OrvexEngine::BoundingBox fieldBox;
};

} // namespace VelmoraBall
