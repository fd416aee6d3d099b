#include "engine/files/FileBinary.h"

#include "engine/core/Error.h"
#include "engine/core/StringUtils.h"
#include "platform/win/FileSystem.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace OrvexEngine {

namespace {

// The one-byte count includes the terminator, so 254 units is the longest text it can describe.
constexpr size_t maxStoredUnits = 254;

std::string ReadErrorText(uint32_t count, const std::string& name) {
    return "Failed to read " + std::to_string(count) + " bytes from \"" + name + "\" file";
}

// Where a name is opened: an absolute name as it is, anything else below the executable's directory.
std::string PathToOpen(const std::string& name) {
    if (IsAbsolutePath(name))
        return name;
    return GetExecutableDirectory() + "\\" + name;
}

} // namespace

FileBinary::FileBinary(const std::string& name, bool forWriting, uint32_t memoryLimit, uint32_t size,
                       const uint8_t* memoryImage, bool ownsImage, std::FILE* sharedStream,
                       uint32_t baseOffset)
    : name(name) {
    if (forWriting) {
        writing = true;
        stream = platform::OpenFile(PathToOpen(name), "wb");
        if (stream == nullptr)
            ThrowOpenError();
        return;
    }
    if (memoryImage != nullptr) {
        borrowed = true;
        this->size = size;
        this->memoryImage = memoryImage;
        this->ownsImage = ownsImage;
        return;
    }
    if (sharedStream != nullptr) {
        borrowed = true;
        this->size = size;
        this->baseOffset = baseOffset;
        if (size <= memoryLimit)
            ReadIntoOwnImage(sharedStream, baseOffset); // the pack keeps its stream; we stop using it
        else
            stream = sharedStream;
        return;
    }

    std::FILE* file = platform::OpenFile(PathToOpen(name), "rb");
    if (file == nullptr)
        ThrowOpenError();
    off_t length = -1;
    if (fseeko(file, 0, SEEK_END) == 0)
        length = ftello(file);
    if (length < 0 || static_cast<uint64_t>(length) > std::numeric_limits<uint32_t>::max() ||
        fseeko(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        ThrowOpenError();
    }
    this->size = static_cast<uint32_t>(length);
    if (this->size <= memoryLimit) {
        try {
            ReadIntoOwnImage(file, 0);
        } catch (...) {
            std::fclose(file);
            throw;
        }
        std::fclose(file);
    } else {
        stream = file;
    }
}

FileBinary::~FileBinary() {
    if (ownsImage)
        delete[] memoryImage;
    if (stream != nullptr && !borrowed)
        std::fclose(stream);
}

void FileBinary::ThrowOpenError() const {
    throw FileError("Failed to open \"" + name + "\" file");
}

void FileBinary::ReadIntoOwnImage(std::FILE* from, uint64_t offset) {
    auto* image = new uint8_t[size];
    size_t got = 0;
    if (size > 0 && fseeko(from, static_cast<off_t>(offset), SEEK_SET) == 0)
        got = std::fread(image, 1, size, from);
    if (got != size) {
        // A file shorter than it claimed: never hand out bytes that were not read.
        delete[] image;
        throw FileError(ReadErrorText(size, name));
    }
    memoryImage = image;
    ownsImage = true;
}

bool FileBinary::Seek(int origin, int32_t offset) {
    int64_t target = position;
    bool inside = true;
    switch (origin) {
    case 0:
        target = offset;
        break;
    case 1:
        if (offset > static_cast<int64_t>(size)) {
            target = 0;
            inside = false;
        } else {
            target = static_cast<int64_t>(size) - offset;
        }
        break;
    case 2:
        target = static_cast<int64_t>(position) + offset;
        break;
    default:
        break;
    }
    if (target < 0) {
        target = 0;
        inside = false;
    }
    if (size == 0) {
        // No last byte to stop at: the position stays at the start and nothing can be read from it.
        inside = false;
        target = 0;
    } else if (target > static_cast<int64_t>(size) - 1) {
        target = static_cast<int64_t>(size) - 1;
        inside = false;
    }
    position = static_cast<uint32_t>(target);
    if (stream != nullptr && !borrowed)
        fseeko(stream, static_cast<off_t>(position), SEEK_SET);
    return inside;
}

uint32_t FileBinary::Read(void* destination, uint32_t count, uint32_t* outCount) {
    if (count == 0) {
        if (outCount != nullptr)
            *outCount = 0;
        return 0;
    }
    uint32_t before = position;
    uint32_t available = size >= position ? size - position : 0;
    uint32_t wanted = std::min(count, available);
    uint32_t got = 0;
    if (wanted > 0) {
        if (memoryImage != nullptr) {
            std::memcpy(destination, memoryImage + position, wanted);
            got = wanted;
        } else if (stream != nullptr) {
            if (borrowed) {
                off_t where = static_cast<off_t>(baseOffset) + position;
                if (ftello(stream) != where)
                    fseeko(stream, where, SEEK_SET);
            }
            got = static_cast<uint32_t>(std::fread(destination, 1, wanted, stream));
        }
    }
    position += got;
    if (outCount != nullptr) {
        *outCount = got;
        return got;
    }
    if (count > size - std::min(before, size) || got < wanted)
        throw FileError(ReadErrorText(count, name));
    return got;
}

uint32_t FileBinary::Write(const void* source, uint32_t count, uint32_t* outCount) {
    if (count == 0) {
        if (outCount != nullptr)
            *outCount = 0;
        return 0;
    }
    uint32_t written = 0;
    if (writing && stream != nullptr) {
        uint64_t room = std::numeric_limits<uint32_t>::max() - position;
        written = static_cast<uint32_t>(std::fwrite(source, 1, std::min<uint64_t>(count, room), stream));
    }
    position += written;
    unflushed += written;
    size = std::max(size, position);
    if (outCount != nullptr) {
        *outCount = written;
        return written;
    }
    if (written < count)
        throw FileError("Failed to write " + std::to_string(count) + " bytes from \"" + name + "\" file");
    return written;
}

void FileBinary::Flush() {
    if (!writing || stream == nullptr)
        return;
    uint32_t pending = unflushed;
    unflushed = 0;
    if (std::fflush(stream) != 0)
        throw FileError("Failed to write " + std::to_string(pending) + " bytes from \"" + name + "\" file");
}

void FileBinary::Sync() {
    if (!writing || stream == nullptr)
        return;
    const uint32_t pending = unflushed;
    Flush();
    if (!platform::SyncFile(stream))
        throw FileError("Failed to write " + std::to_string(pending) + " bytes from \"" + name + "\" file");
}

void FileBinary::ReadString(std::string& text) {
    uint8_t count = 0;
    Read(&count, 1);
    char buffer[256] = {};
    Read(buffer, count);
    text.assign(buffer, strnlen(buffer, count));
}

void FileBinary::WriteString(const char* text) {
    size_t length = std::strlen(text);
    if (length > maxStoredUnits) {
        length = maxStoredUnits;
        // Back off to the start of a UTF-8 sequence, so the stored text stays valid.
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    std::vector<uint8_t> bytes(length + 2, 0);
    bytes[0] = static_cast<uint8_t>(length + 1);
    std::memcpy(bytes.data() + 1, text, length);
    Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

void FileBinary::ReadWideString(std::wstring& text) {
    uint8_t count = 0;
    Read(&count, 1);
    uint8_t bytes[512] = {};
    Read(bytes, count * 2u);
    std::u16string units;
    for (size_t i = 0; i < count; ++i) {
        auto unit = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        if (unit == 0)
            break;
        units.push_back(unit);
    }
    text = Utf16ToWide(units);
}

void FileBinary::WriteWideChars(const wchar_t* text) {
    std::u16string units = WideToUtf16(text); // the text ends at its first zero
    size_t length = units.size();
    if (length > maxStoredUnits) {
        length = maxStoredUnits;
        if (units[length - 1] >= 0xD800 && units[length - 1] < 0xDC00)
            --length; // never keep the first half of a pair without its second
    }
    std::vector<uint8_t> bytes(1 + 2 * (length + 1), 0);
    bytes[0] = static_cast<uint8_t>(length + 1);
    for (size_t i = 0; i < length; ++i) {
        bytes[1 + 2 * i] = static_cast<uint8_t>(units[i] & 0xFF);
        bytes[2 + 2 * i] = static_cast<uint8_t>(units[i] >> 8);
    }
    Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

void FileBinary::WriteWideString(const std::wstring& text) {
    WriteWideChars(text.c_str());
}

} // namespace OrvexEngine
