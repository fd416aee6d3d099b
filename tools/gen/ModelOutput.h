// Writing a model with its material: every .mlf and .psf the game loads has a .srf of the same base name
// beside it. Shared by the recipes that make models and particle systems.
#pragma once

#include "tools/formats/MaterialWriter.h"
#include "tools/formats/ModelWriter.h"
#include "tools/formats/ParticleWriter.h"
#include "tools/gen/OutputTree.h"

#include <string>

namespace VbGen {

// A lit, opaque one-stage material showing one picture (a data name below data\, such as
// "game_objects\blocks\textures\clay_red.png"), mip-mapped. A non-empty opacity name makes it transparent.
VbFormats::Material PictureMaterial(const std::string& colourImage, const std::string& opacityImage = "");

// Writes base + ".mlf" and base + ".srf"; base is a data name without extension.
void WriteModel(OutputTree& out, const std::string& base, const VbFormats::ModelDescription& model,
                const VbFormats::Material& material);
// Writes base + ".psf" and base + ".srf".
void WriteParticles(OutputTree& out, const std::string& base, const VbFormats::ParticleDescription& system,
                    const VbFormats::Material& material);

} // namespace VbGen
