// ctest-label: window
// What a document handed to the desktop opens: a link file its address, any other file itself; and the
// opener a test installs receives it, so no test ever starts a browser.
#include "platform/win/Shell.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

TEST(Shell, LinkFilesOpenTheirAddressOtherDocumentsThemselves) {
    const fs::path folder = fs::path(std::getenv("VB_TEST_TMP")) / "targets";
    fs::create_directories(folder);
    const struct {
        const char* name;
        const char* content;
        std::string expected;
    } cases[] = {
        {"a.url", "[InternetShortcut]\r\nURL=file:///x/help.html\r\n", "file:///x/help.html"},
        {"b.url", "[Other]\nURL=nope\n[InternetShortcut]\n  URL= https://e.invalid/ \n",
         "https://e.invalid/"},
        {"c.url", "[InternetShortcut]\nIconIndex=0\n", ""},
        {"d.txt", "plain text\n", "file://" + (folder / "d.txt").string()},
    };
    for (const auto& c : cases) {
        std::ofstream(folder / c.name) << c.content;
        EXPECT_EQ(platform::ReadShellTarget((folder / c.name).string()), c.expected) << c.name;
    }
    EXPECT_EQ(platform::ReadShellTarget((folder / "missing.url").string()), "");
}

TEST(Shell, WithoutADisplayNothingIsOpenedUnlessATestOpenerListens) {
    const fs::path link = fs::path(std::getenv("VB_TEST_TMP")) / "open.url";
    std::ofstream(link) << "[InternetShortcut]\nURL=https://e.invalid/\n";
    // The tests run on the headless video driver: no display, so the desktop's opener is never started.
    EXPECT_FALSE(platform::DisplayAvailable());
    EXPECT_FALSE(platform::OpenWithShell(link.string()));
    std::vector<std::string> opened;
    platform::SetShellOpenerForTests([&](const std::string& target) { opened.push_back(target); });
    EXPECT_TRUE(platform::OpenWithShell(link.string()));
    platform::SetShellOpenerForTests({});
    EXPECT_EQ(opened, std::vector<std::string>{"https://e.invalid/"});
}
