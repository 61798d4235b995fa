// Build tool, run by Node: writes the list of the sounds the page plays,
// one line "WAVE_ID FILE" each, FILE the WAVE as the painter wrote it in
// its out folder, for page_files.py to encode. It reads the game's own
// tables, so no build step reads C++ by pattern.
//
//   plinkfield-page-sounds LIST
#include <cstdio>
#include <string>

#include "game/audio/web/page_sounds.h"

static std::string painted_file(int wave) {
    if (wave == REFUSAL_BEEP_WAVE) return "native/refusal_beep.wav";
    if (wave == AMBIENT_LOOP_WAVE) return "ambient/" + std::to_string(wave) + ".wav";
    return "game/" + std::to_string(wave) + ".wav";
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: plinkfield-page-sounds LIST\n");
        return 2;
    }
    std::FILE* f = std::fopen(argv[1], "w");
    if (!f) return 1;
    for (int wave : page_sound_waves()) std::fprintf(f, "%d %s\n", wave, painted_file(wave).c_str());
    return std::fclose(f) == 0 ? 0 : 1;
}
