// ctest-label: data
// The generated fonts and texts reach the game's packs: vb_dump lists, in the first pack, both fonts files,
// every file a font entry names (its description and its picture, for each language it overrides) and both
// texts files; and each language folder the language choice looks for holds files.
#include "platform/win/Process.h"
#include "tools/formats/PackReader.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

fs::path BuildDir() {
    return fs::path(platform::GetExecutablePath()).parent_path().parent_path();
}

std::string RunCommand(const std::string& command, int& exitCode) {
    std::string output;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    char buffer[4096];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        output.append(buffer, count);
    const int status = pclose(pipe);
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

} // namespace

TEST(GuiPacksData, VbDumpListsTheFontsAndTextsInTheFirstPack) {
    const fs::path pack = BuildDir() / "bin" / "data" / "pack0.pak";
    int exitCode = -1;
    const std::string listing = RunCommand("'" + (BuildDir() / "tools" / "vb_dump").string() + "' '" + pack.string() + "'",
                                    exitCode);
    ASSERT_EQ(exitCode, 0) << listing;
    auto listed = [&listing](const std::string& member) {
        return listing.find("  " + member + "\n") != std::string::npos;
    };

    std::set<std::string> expected = {"ui\\fonts\\fonts_basic.xml", "ui\\fonts\\fonts_additional.xml",
                                      "ui\\texts\\texts.xml", "ui\\texts\\default_texts.xml"};
    // Every path a fonts file names, but the opacity's "32bit" (the picture's own alpha).
    VbFormats::PackReader reader(pack.string());
    const std::regex path("path=\"([^\"]+)\"");
    int entries = 0;
    for (const VbFormats::PackReader::Member& member : reader.Members()) {
        if (member.name != "ui\\fonts\\fonts_basic.xml" && member.name != "ui\\fonts\\fonts_additional.xml")
            continue;
        const std::vector<uint8_t> bytes = reader.Bytes(member);
        const std::string text(bytes.begin(), bytes.end());
        for (std::sregex_iterator it(text.begin(), text.end(), path), end; it != end; ++it) {
            std::string name = (*it)[1];
            if (name == "32bit")
                continue;
            for (char& c : name)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            expected.insert(name);
            ++entries;
        }
    }
    EXPECT_GT(entries, 2 * 12) << "the fonts files name too few files";
    for (const char* font : {"console", "text", "button"})
        EXPECT_TRUE(expected.count(std::string("ui\\fonts\\common\\") + font + ".fnt")) << font;
    for (const char* language : {"en", "ru"})
        for (const char* font : {"loading", "title"})
            EXPECT_TRUE(expected.count(std::string("ui\\fonts\\") + language + "\\" + font + ".fnt"))
                << language << " " << font;
    for (const std::string& member : expected)
        EXPECT_TRUE(listed(member)) << member << " is not in pack0.pak";
}
