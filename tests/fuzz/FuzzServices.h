// The engine services the data readers of the game tools and the GUI run on, made once per fuzz process
// below its scratch folder: a log without a file, the file manager on "<scratch>/<folder>/data" and the
// render-side managers over a recording render system (the same fixture the tests use).
#pragma once

#include "tests/engine/graphics/ModelServices.h"
#include "tests/fuzz/FuzzScratch.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace VelmoraFuzz {

inline VelmoraTest::ModelServices& Services() {
    static VelmoraTest::ModelServices* services = [] {
        setenv("VB_TEST_TMP", ScratchRoot().c_str(), 1);
        return new VelmoraTest::ModelServices("services");
    }();
    return *services;
}

// Writes the bytes as a data file ("ui/x.xml", below "data").
inline void WriteData(const std::string& name, const std::vector<uint8_t>& bytes) {
    Services().data.Save(name, bytes);
}

} // namespace VelmoraFuzz
