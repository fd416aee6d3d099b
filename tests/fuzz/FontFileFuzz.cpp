// Reads arbitrary bytes as a bitmap font's description file (its header made right, so that the glyph
// records are explored), then measures and draws text with it: whatever the records hold, a font loads or
// logs its error, and drawing stays within its vertex buffer.
#include "engine/gui/GUIFont.h"
#include "tests/fuzz/FuzzServices.h"

#include <cstdint>
#include <string>
#include <vector>

using namespace OrvexEngine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    VelmoraFuzz::MakeHeaderRight(bytes, "OEFNT");
    VelmoraFuzz::WriteData("f.fnt", bytes);
    {
        GUIFont font(nullptr, nullptr, "f.fnt");
        const std::wstring text = L"Ab \x4E2D\n\xFFFF\x10000 zZ";
        for (float angle : {0.0f, 1.3f})
            font.MeasureText(text, angle, -1);
        font.monospace = size % 2 == 0;
        for (int i = 0; i < 200; ++i)
            font.DrawText(Vec2(float(i), 0), 0.5f, Vec4(1), text);
        font.Flush();
        font.CopyUpperCaseGlyphs();
        font.CopyLowerCaseGlyphs();
        GUIFont batch(&font);
        batch.DrawText(Vec2(0, 0), 0, Vec4(1), text);
        batch.Flush();
    }
    VelmoraFuzz::Services().log.Manager().ClearEntries();
    return 0;
}
