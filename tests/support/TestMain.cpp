// The main of every test executable: each test process gets its own temporary folders, so that tests of
// the settings file, the log and the user data never see each other's files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);

    std::string pattern = (std::filesystem::temp_directory_path() / "velmora-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    if (made == nullptr)
        return 2;
    std::filesystem::path root(made);
    std::filesystem::create_directories(root / "data-home");
    std::filesystem::create_directories(root / "config-home");
    setenv("VB_TEST_TMP", root.c_str(), 1);
    setenv("XDG_DATA_HOME", (root / "data-home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root / "config-home").c_str(), 1);
    if (std::getenv("VB_TEST_OUTPUT") == nullptr)
        setenv("VB_TEST_OUTPUT", (root / "test-output").c_str(), 1);

    int result = RUN_ALL_TESTS();

    std::error_code ignored;
    if (std::getenv("VB_KEEP_TEST_TMP") == nullptr)
        std::filesystem::remove_all(root, ignored);
    return result;
}
