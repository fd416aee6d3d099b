#include "tools/gen/ModelOutput.h"

namespace VbGen {

VbFormats::Material PictureMaterial(const std::string& colourImage, const std::string& opacityImage) {
    VbFormats::Material material;
    VbFormats::MaterialStage stage;
    stage.flags = 1; // mip-mapped
    stage.colorImage = colourImage;
    stage.opacityImage = opacityImage;
    material.stages.push_back(stage);
    if (!opacityImage.empty()) {
        material.flags = 1;
        material.blendSource = 4;      // source alpha
        material.blendDestination = 5; // inverse source alpha
    }
    return material;
}

void WriteModel(OutputTree& out, const std::string& base, const VbFormats::ModelDescription& model,
                const VbFormats::Material& material) {
    out.Write(base + ".mlf", VbFormats::ModelWriter::Write(model));
    out.Write(base + ".srf", VbFormats::MaterialWriter::Write(material));
}

void WriteParticles(OutputTree& out, const std::string& base, const VbFormats::ParticleDescription& system,
                    const VbFormats::Material& material) {
    out.Write(base + ".psf", VbFormats::ParticleWriter::Write(system));
    out.Write(base + ".srf", VbFormats::MaterialWriter::Write(material));
}

} // namespace VbGen
