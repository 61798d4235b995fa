// manifest.txt: what the game's tables say, in a form a shell script can
// read without parsing C++: every bitmap, every scene element as the game
// creates it, the targets with their points and the cues. The end-to-end
// tests read it. One record a line, fields separated by single spaces; a
// label's text, which may hold spaces, is the last field.
#include "resources/painter/manifest.h"

#include <array>
#include <cstdio>
#include <string>

#include "game/model/bitmaps.h"
#include "game/model/cues.h"
#include "game/model/elements.h"
#include "game/model/layout.h"
#include "game/rules/shots.h"

namespace {

constexpr std::array KIND_NAMES = {"sprite", "label", "button"};
constexpr std::array HIT_NAMES = {"rodent", "cow", "lizard", "spider"};

void write_manifest(std::FILE* f) {
    std::fprintf(f, "# bitmap ID WIDTH HEIGHT BITS\n");
    for (const BitmapInfo& b : BITMAP_CATALOGUE) std::fprintf(f, "bitmap %d %d %d %d\n", b.id, b.width, b.height, b.bits);

    // The rectangle is the one the element has once created: a sprite takes
    // its initial image's size.
    std::fprintf(f, "# element INDEX NAME KIND ID X Y W H IMAGE HIDDEN TEXT\n");
    for (Element e = 0; e < ELEMENT_COUNT; ++e) {
        const ElementRow& r = ELEMENT_TABLE[e];
        int w = r.w, h = r.h;
        if (const BitmapInfo* b = r.kind == ElementKind::sprite ? find_bitmap(r.image) : nullptr) {
            w = b->width;
            h = b->height;
        }
        std::fprintf(f, "element %d %s %s %d %d %d %d %d %d %d %s\n", e, r.name, KIND_NAMES[static_cast<int>(r.kind)],
                     r.id, r.x, r.y, w, h, r.image, r.hidden_at_start ? 1 : 0, r.text);
    }

    std::fprintf(f, "# target ELEMENT_ID POINTS KIND\n");
    for (const TargetRow& t : TARGET_TABLE)
        std::fprintf(f, "target %d %d %s\n", ELEMENT_TABLE[t.window].id, t.points, HIT_NAMES[static_cast<int>(t.kind)]);

    // The best score's plate and its number's box, drawn over the scene by
    // the builds that keep the best games.
    std::fprintf(f, "# plate ID X Y W H FILE TWIN\n");
    std::fprintf(f, "plate %d %d %d %d %d %s %s\n", BEST_PLATE_PICTURE, BEST_PLATE.x, BEST_PLATE.y, BEST_PLATE.w,
                 BEST_PLATE.h, BEST_PLATE_FILE, BEST_PLATE_TWIN_PNG);
    std::fprintf(f, "# best_number X Y W H\n");
    std::fprintf(f, "best_number %d %d %d %d\n", BEST_NUMBER.x, BEST_NUMBER.y, BEST_NUMBER.w, BEST_NUMBER.h);

    std::fprintf(f, "# cue NAME WAVE_ID RATE BITS (the spare gunshot has the name -)\n");
    for (const CueRow& c : CUE_TABLE)
        std::fprintf(f, "cue %s %d %d %d\n", *c.name ? c.name : "-", c.wave_id, c.sample_rate, c.bits);
}

}  // namespace

bool write_manifest(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return false;
    write_manifest(f);
    return std::fclose(f) == 0;
}
