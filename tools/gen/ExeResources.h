// The resources the executable carries (window icon 101, system cursor 1000), turned into a C++ source
// compiled into the game, with a header beside it. vb_datagen writes both; the game looks resources up by
// id through the generated FindExeResource.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace VbGen {

struct ExeResource {
    uint32_t id = 0;
    std::string kind; // "icon" or "cursor"
    std::vector<uint8_t> bytes;
};

// What the game's executable carries: the system cursor 1000, a 32 x 32 RGBA arrow as PNG whose hot spot
// is its top-left pixel.
std::vector<ExeResource> ProgramResources();
// The arrow itself: outlined, with its tip at (0, 0).
std::vector<uint8_t> SystemCursorPng();

// The generated source and header. The source includes the header by its file name, so both lie in one
// folder. Deterministic: the table is sorted by id. Throws GenError for an id given twice.
std::string ExeResourcesSource(std::vector<ExeResource> resources, const std::string& headerName);
std::string ExeResourcesHeader();

// Writes the source at sourcePath and the header beside it (same name, ".h"), each only when its bytes
// change; returns how many files were written.
int WriteExeResources(const std::vector<ExeResource>& resources, const std::string& sourcePath);

} // namespace VbGen
