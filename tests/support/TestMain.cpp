// The main of every test executable: each test process gets its own temporary folders, so that tests of
// the settings file, the log and the user data never see each other's files.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// SDL unloads the GL driver when its video quits; the leak checker then sees the driver's own allocations
// without their module and reports them. Keeping the driver's libraries loaded lets it see them reachable.
void KeepGlDriverLoaded() {
    const char* libraries[] = {"libGL.so.1",         "libGLX.so.0",
                               "libGLdispatch.so.0", "libGLX_mesa.so.0",
                               "libEGL.so.1",        "libEGL_mesa.so.0",
                               "libgbm.so.1",        "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"};
    for (const char* library : libraries)
        dlopen(library, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    KeepGlDriverLoaded();

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
    // Headless unless the caller chose otherwise; pictures a person should look at go to the build tree.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // The software rasteriser draws in the calling thread: the leak checker stops every thread at exit, and
    // its stop has been seen to crash while the rasteriser's threads wind down on a loaded machine.
    setenv("LP_NUM_THREADS", "0", 0);
    setenv("VB_TEST_OUTPUT", VB_DEFAULT_TEST_OUTPUT, 0);
    setenv("VB_SOURCE_DIR", VB_DEFAULT_SOURCE_DIR, 0);

    int result = RUN_ALL_TESTS();

    std::error_code ignored;
    if (std::getenv("VB_KEEP_TEST_TMP") == nullptr)
        std::filesystem::remove_all(root, ignored);
    return result;
}
