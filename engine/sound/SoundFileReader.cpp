#include "engine/sound/SoundFileReader.h"

#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"
#include "engine/files/FilePaths.h"

namespace OrvexEngine {

SoundFileReader::SoundFileReader(const std::string& fileName) : name(fileName), path(MakeDataPath(fileName)) {
    file = FileManager::Instance()->OpenFile(path, false, 0);
}

SoundFileReader::SoundFileReader(const std::string& fileName, FileBinary* openFile)
    : name(fileName), path(MakeDataPath(fileName)), file(openFile) {}

SoundFileReader::~SoundFileReader() {
    delete file;
}

std::string SoundFileReader::LoadErrorText(const std::string& reason) const {
    return "Failed to load \"" + path + "\" sound file - " + reason;
}

} // namespace OrvexEngine
