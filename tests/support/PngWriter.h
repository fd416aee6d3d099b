// Writes pictures that render tests produce as PNG files under $VB_TEST_OUTPUT, for a person to look at.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {
class Image;
}

namespace VelmoraTest {

// rgba: width * height * 4 bytes, the top row first. Returns false when the file cannot be written.
bool WritePng(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgba);
// A capture of the screen (rows from the bottom up, R, G, B first in each pixel), written opaque.
bool WritePng(const std::string& path, const OrvexEngine::Image& capture);
// $VB_TEST_OUTPUT + "/" + name (the folder is created).
std::string TestOutputPath(const std::string& name);

} // namespace VelmoraTest
