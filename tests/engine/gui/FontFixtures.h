// Shared by the GUI tests: the graphics services fonts and windows run on (headless), a material for the
// fonts, and small font description files written into the data folder through the data tools' writer.
#pragma once

#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/graphics/ShaderUser.h"
#include "tests/engine/graphics/ModelServices.h"
#include "tools/formats/FontWriter.h"

#include <string>
#include <vector>

namespace VelmoraTest {

// A glyph whose texture rectangle tells it apart: u = code / 1000.
inline VbFormats::FontGlyph TestGlyph(uint16_t code, float widthFactor) {
    VbFormats::FontGlyph glyph;
    glyph.code = code;
    glyph.u = float(code) / 1000.0f;
    glyph.v = 0.25f;
    glyph.width = 0.05f;
    glyph.height = 0.125f;
    glyph.widthFactor = widthFactor;
    return glyph;
}

class GuiServices : public ModelServices {
public:
    GuiServices() : ModelServices("gui") {
        material = shaders->CreateShaderUser(OrvexEngine::ShaderDescriptor(), false);
    }
    ~GuiServices() { shaders->ReleaseShaderUser(material); }
    GuiServices(const GuiServices&) = delete;
    GuiServices& operator=(const GuiServices&) = delete;

    // Writes data/fonts/<name> and returns the name the font is loaded with.
    std::string SaveFont(const std::string& name, const std::vector<VbFormats::FontGlyph>& glyphs,
                         const VbFormats::FontFaults& faults = {}) {
        data.Save("fonts/" + name, VbFormats::FontWriter::Write(glyphs, faults));
        return "fonts\\" + name;
    }

    OrvexEngine::ShaderUser* material = nullptr; // released in the destructor
};

} // namespace VelmoraTest
