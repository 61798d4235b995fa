// Replays kept fuzz inputs without libFuzzer: each file named on the command
// line (or every file in a named folder) is played through the referee,
// which aborts on the first broken rule. Used by ctest with the regression
// inputs under tests/fuzz/regressions and the scenario scripts.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/referee.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: plinkfield-fuzz-replay FILE|FOLDER...\n");
        return 2;
    }
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path p = argv[i];
        if (std::filesystem::is_directory(p)) {
            for (const auto& entry : std::filesystem::directory_iterator(p))
                if (entry.is_regular_file() && entry.path().extension() != ".md") files.push_back(entry.path());
        } else {
            files.push_back(p);
        }
    }
    for (const auto& f : files) {
        std::ifstream in(f, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", f.c_str());
            return 2;
        }
        std::string script((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::fprintf(stderr, "replaying %s (%zu bytes)\n", f.c_str(), script.size());
        referee_play(script);
    }
    std::fprintf(stderr, "%zu inputs replayed: %lld lines, %lld commands, every rule held\n", files.size(),
                 referee_counts.lines, referee_counts.commands);
    return 0;
}
