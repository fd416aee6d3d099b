#include "tools/gen/ProgramIcon.h"

#include "tools/formats/PngWriter.h"
#include "tools/gen/FileUpdate.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace VbGen {

namespace {

float Clamp01(float value) {
    return std::clamp(value, 0.0f, 1.0f);
}

// Coverage of a pixel by a shape whose signed distance (in pixels, negative inside) is d: a one-pixel ramp
// keeps the edges smooth at every size.
float Coverage(float d) {
    return Clamp01(0.5f - d);
}

// Blends a colour over the pixel with the given coverage.
void Over(uint8_t* pixel, float r, float g, float b, float alpha) {
    const float destAlpha = pixel[3] / 255.0f;
    const float outAlpha = alpha + destAlpha * (1 - alpha);
    if (outAlpha <= 0)
        return;
    const float src[3] = {r, g, b};
    for (int c = 0; c < 3; ++c) {
        const float dest = pixel[c] / 255.0f;
        pixel[c] = uint8_t(std::lround(255 * (src[c] * alpha + dest * destAlpha * (1 - alpha)) / outAlpha));
    }
    pixel[3] = uint8_t(std::lround(255 * outAlpha));
}

float RoundedBoxDistance(float x, float y, float cx, float cy, float halfWidth, float halfHeight, float radius) {
    const float qx = std::fabs(x - cx) - (halfWidth - radius);
    const float qy = std::fabs(y - cy) - (halfHeight - radius);
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

} // namespace

VelmoraFormats::Picture ProgramIconPicture(uint32_t size) {
    VelmoraFormats::Picture picture(size, size, 4);
    std::fill(picture.pixels.begin(), picture.pixels.end(), uint8_t(0));
    const float s = float(size);
    for (uint32_t y = 0; y < size; ++y) {
        for (uint32_t x = 0; x < size; ++x) {
            const float px = x + 0.5f;
            const float py = y + 0.5f;
            uint8_t* pixel = picture.At(x, y);
            // The tile: deep blue, lighter towards the top.
            const float tile = RoundedBoxDistance(px, py, s / 2, s / 2, s * 0.47f, s * 0.47f, s * 0.16f);
            const float shade = 1 - py / s;
            Over(pixel, 0.08f + 0.10f * shade, 0.12f + 0.16f * shade, 0.30f + 0.25f * shade, Coverage(tile));
            // The bat: a flat orange bar near the bottom edge, darker below its middle.
            const float bat = RoundedBoxDistance(px, py, s / 2, s * 0.78f, s * 0.30f, s * 0.06f, s * 0.06f);
            const float batShade = py < s * 0.78f ? 1.0f : 0.75f;
            Over(pixel, 0.95f * batShade, 0.55f * batShade, 0.15f * batShade, Coverage(bat));
            // The ball: a sphere lit from the upper left.
            const float cx = s / 2, cy = s * 0.42f, radius = s * 0.22f;
            const float dx = (px - cx) / radius, dy = (py - cy) / radius;
            const float ball = (std::hypot(dx, dy) - 1) * radius;
            if (ball < 1) {
                const float dz = std::sqrt(std::max(0.0f, 1 - dx * dx - dy * dy));
                const float light = Clamp01(-0.45f * dx - 0.55f * dy + 0.70f * dz);
                const float highlight = std::pow(light, 24.0f);
                const float level = 0.25f + 0.75f * light;
                Over(pixel, Clamp01(0.85f * level + highlight), Clamp01(0.88f * level + highlight),
                     Clamp01(0.95f * level + highlight), Coverage(ball));
            }
        }
    }
    return picture;
}

ExeResource ProgramIconResource() {
    const VelmoraFormats::Picture picture = ProgramIconPicture(64);
    ExeResource resource;
    resource.id = ProgramIconId;
    resource.kind = "icon";
    VelmoraFormats::PutU32(resource.bytes, picture.width);
    VelmoraFormats::PutU32(resource.bytes, picture.height);
    resource.bytes.insert(resource.bytes.end(), picture.pixels.begin(), picture.pixels.end());
    return resource;
}

int WriteProgramIconPng(const std::string& binDir) {
    const std::vector<uint8_t> png = VelmoraFormats::WritePng(ProgramIconPicture(128));
    const std::string path = (std::filesystem::path(binDir) / "velmora-ball.png").string();
    return WriteIfChanged(path, png) ? 1 : 0;
}

} // namespace VbGen
