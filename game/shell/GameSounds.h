// Every sound the game uses, registered once after the application's managers exist: the GUI's standard
// events with the GUI sound manager, then the music tracks and the sound effects with the audio player, in
// that order. The ids registered here are the vocabulary by which the rest of the game asks for a sound.
#pragma once

#include <string>

namespace OrvexEngine {
class GUISoundManager;
}

namespace GameFramework {
class AudioPlayer;
}

namespace VelmoraBall {

// "audio\" + category + "\" + name, with ".wav" when that file exists below the data directory, else ".ogg".
std::string MakeSoundPath(const std::string& category, const std::string& name);

// The registrations, in their order; a missing file plays silence, and without a sound service nothing is
// registered.
void RegisterGameSounds(OrvexEngine::GUISoundManager& guiSounds, GameFramework::AudioPlayer& audioPlayer);

} // namespace VelmoraBall
