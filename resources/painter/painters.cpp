// PAINTERS: which function paints each bitmap of the game program. Search
// for an identifier here to find its painter; the painters run from here,
// and each must make exactly the bitmaps its rows name.

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

#include "game/shell/bitmaps.h"
#include "scenery.h"
#include "sprites.h"

namespace painter {

namespace {

struct PainterRow {
    int id;
    Painter paint;
};

// By identifier.
constexpr std::array<PainterRow, BITMAP_CATALOGUE.size()> PAINTERS = {{
    {100, paint_scene},
    {200, paint_buttons},  // close
    {250, paint_buttons},
    {300, paint_buttons},  // minimize
    {350, paint_buttons},
    {500, paint_buttons},  // START
    {550, paint_buttons},
    {600, paint_buttons},  // CANCEL
    {650, paint_buttons},
    {850, paint_cartridge},
    {2600, paint_rodents},  // hole 9, the near one
    {2750, paint_rodents},
    {2850, paint_spiders},  // the torn web
    {3000, paint_rodents},  // hole 1
    {3200, paint_rodents},
    {3400, paint_rodents},  // hole 2
    {3600, paint_rodents},
    {3800, paint_rodents},  // hole 3
    {4000, paint_rodents},
    {4200, paint_rodents},  // hole 4
    {4400, paint_rodents},
    {4600, paint_rodents},  // hole 5
    {4800, paint_rodents},
    {5000, paint_rodents},  // hole 6
    {5200, paint_rodents},
    {5400, paint_rodents},  // hole 7
    {5600, paint_rodents},
    {5750, paint_rodents},  // hole 8
    {5850, paint_rodents},
    {6000, paint_cows},  // head forward, mouth closed
    {6200, paint_crows},
    {6400, paint_crows},
    {6600, paint_crows},
    {6800, paint_crows},
    {7000, paint_crows},
    {7200, paint_crows},
    {7350, paint_cows},
    {7450, paint_cows},
    {7550, paint_cows},  // lying
    {7600, paint_cows},
    {7650, paint_cows},
    {9000, paint_markers},  // hit marker
    {9200, paint_markers},  // bonus reticle
    {9400, paint_lizards},
    {9500, paint_cows},  // head forward, mouth open
    {9550, paint_spiders},
    {9650, paint_spiders},
    {9750, paint_spiders},
    {9850, paint_spiders},
    {9950, paint_spiders},
    {10050, paint_lizards},
    {10150, paint_lizards},
    {10250, paint_lizards},
    {10350, paint_lizards},
    {10400, paint_lizards},
    {10650, paint_splats},
    {10750, paint_lizards},
    {10800, paint_lizards},
    {10850, paint_lizards},
    {10900, paint_lizards},
    {10950, paint_lizards},
    {11000, paint_lizards},
    {11450, paint_splats},
    {11500, paint_splats},
    {11550, paint_splats},
    {11600, paint_splats},
}};

constexpr bool every_bitmap_once() {
    for (const BitmapInfo& b : BITMAP_CATALOGUE) {
        int rows = 0;
        for (const PainterRow& p : PAINTERS) rows += p.id == b.id;
        if (rows != 1) return false;
    }
    return true;
}
// A lost row leaves its bitmap out, or two rows name one.
static_assert(every_bitmap_once(), "PAINTERS names one painter for every bitmap of the catalogue");

// Runs one painter and checks that it made exactly the bitmaps its rows name.
void run(Painter paint, SceneArt& art, Pictures& out) {
    Pictures made;
    paint(art, made);
    std::set<int> expected, got;
    for (const PainterRow& r : PAINTERS)
        if (r.paint == paint) expected.insert(r.id);
    for (const auto& [id, picture] : made) got.insert(id);
    if (got != expected) {
        std::fprintf(stderr, "plinkfield-painter: a painter made other bitmaps than PAINTERS names for it:");
        for (int id : got) std::fprintf(stderr, " %d", id);
        std::fprintf(stderr, "\n");
        std::exit(1);
    }
    out.merge(made);
}

}  // namespace

// The scene first: every other picture is cut from it. Then each painter
// once, in the order of its first row.
void paint_pictures(Pictures& out) {
    SceneArt art;
    std::vector<Painter> done = {paint_scene};
    run(paint_scene, art, out);
    for (const PainterRow& row : PAINTERS) {
        if (std::find(done.begin(), done.end(), row.paint) != done.end()) continue;
        done.push_back(row.paint);
        run(row.paint, art, out);
    }
}

}  // namespace painter
