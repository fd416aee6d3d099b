#include "tools/gen/LinkFile.h"

#include "tools/gen/FileUpdate.h"
#include "tools/gen/GenError.h"

#include <filesystem>

namespace VbGen {

namespace fs = std::filesystem;

std::string FileUrl(const std::string& absolutePath) {
    static const char hex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (char c : absolutePath) {
        auto byte = static_cast<unsigned char>(c);
        bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                     (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                     byte == '~' || byte == '/';
        if (plain) {
            url += c;
        } else {
            url += '%';
            url += hex[byte >> 4];
            url += hex[byte & 15];
        }
    }
    return url;
}

std::string LinkFileText(const std::string& url) {
    return "[InternetShortcut]\r\nURL=" + url + "\r\n";
}

int WriteLinkFile(const std::string& contentDir, const std::string& binDir) {
    std::error_code error;
    fs::path bin = fs::absolute(binDir, error).lexically_normal();
    if (error || binDir.empty())
        throw GenError("no folder for the link file: " + binDir);
    fs::path help = bin / "help.html";
    int written = 0;
    if (WriteIfChanged(help.string(), ReadBytes((fs::path(contentDir) / "help.html").string())))
        ++written;
    if (WriteIfChanged((bin / "play.url").string(), LinkFileText(FileUrl(help.string()))))
        ++written;
    return written;
}

int WriteInstalledLinkFile(const std::string& linkPath, const std::string& helpFolder) {
    const fs::path folder(helpFolder);
    if (linkPath.empty() || !folder.is_absolute())
        throw GenError("the installed guide needs an absolute folder: " + helpFolder);
    const std::string url = FileUrl((folder.lexically_normal() / "help.html").string());
    return WriteIfChanged(linkPath, LinkFileText(url)) ? 1 : 0;
}

} // namespace VbGen
