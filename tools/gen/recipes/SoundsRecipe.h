// Every sound file the game registers, synthesised: the GUI's and the game's effects as 22050 Hz 16-bit mono
// WAV at -3 dB of full scale (the three level jingles as Ogg Vorbis, so the shipped game reads both formats),
// and the two music tracks as stereo Ogg Vorbis at about -18 dB RMS, each a seamless loop whose ringing tail
// is folded into its head. The ones that loop in the game (the volume slider's tone, the score counter) hold
// whole periods, so their last sample flows into their first.
#pragma once

#include "tools/gen/Recipe.h"

namespace VbGen {

class SoundsRecipe final : public Recipe {
public:
    std::string Family() const override { return "sounds"; }
    uint32_t Version() const override { return 1; }
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
