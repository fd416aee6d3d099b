// vb_dump: prints the game's binary files in readable form (header and records).
//   vb_dump <file>...
// Exits with 1 when a file cannot be read or is broken, after printing what it could.
#include "tools/dump/FileDump.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vb_dump <file>...\n");
        return 2;
    }
    bool sound = true;
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "vb_dump: cannot read %s\n", argv[i]);
            sound = false;
            continue;
        }
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        sound = VbDump::DumpFile(argv[i], bytes, stdout) && sound;
    }
    return sound ? 0 : 1;
}
