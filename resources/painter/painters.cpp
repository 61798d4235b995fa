// PAINTERS: which function paints each bitmap of the game program. Search
// for an identifier here to find its painter; the painters run from here,
// and each must make exactly the bitmaps its rows name.

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

#include "game/model/bitmaps.h"
#include "resources/painter/scenery.h"
#include "resources/painter/sprites.h"

namespace painter {

namespace {

struct PainterRow {
    int id;
    Painter paint;
};

// By identifier.
constexpr std::array<PainterRow, BITMAP_CATALOGUE.size()> PAINTERS = {{
    {bmp_scene, paint_scene},
    {bmp_close, paint_buttons},  // close
    {bmp_close_pressed, paint_buttons},
    {bmp_minimize, paint_buttons},  // minimize
    {bmp_minimize_pressed, paint_buttons},
    {bmp_start, paint_buttons},  // START
    {bmp_start_pressed, paint_buttons},
    {bmp_cancel, paint_buttons},  // CANCEL
    {bmp_cancel_pressed, paint_buttons},
    {bmp_cartridge, paint_cartridge},
    {bmp_peek_9, paint_rodents},  // hole 9, the near one
    {bmp_raised_9, paint_rodents},
    {bmp_web, paint_spiders},  // the torn web
    {bmp_peek_1, paint_rodents},  // hole 1
    {bmp_raised_1, paint_rodents},
    {bmp_peek_2, paint_rodents},  // hole 2
    {bmp_raised_2, paint_rodents},
    {bmp_peek_3, paint_rodents},  // hole 3
    {bmp_raised_3, paint_rodents},
    {bmp_peek_4, paint_rodents},  // hole 4
    {bmp_raised_4, paint_rodents},
    {bmp_peek_5, paint_rodents},  // hole 5
    {bmp_raised_5, paint_rodents},
    {bmp_peek_6, paint_rodents},  // hole 6
    {bmp_raised_6, paint_rodents},
    {bmp_peek_7, paint_rodents},  // hole 7
    {bmp_raised_7, paint_rodents},
    {bmp_peek_8, paint_rodents},  // hole 8
    {bmp_raised_8, paint_rodents},
    {bmp_cow_mouth_closed, paint_cows},  // head forward, mouth closed
    {bmp_crow_1, paint_crows},
    {bmp_crow_2, paint_crows},
    {bmp_crow_3, paint_crows},
    {bmp_crow_4, paint_crows},
    {bmp_crow_5, paint_crows},
    {bmp_crow_6, paint_crows},
    {bmp_cow_profile, paint_cows},
    {bmp_cow_turning, paint_cows},
    {bmp_cow_fallen, paint_cows},  // lying
    {bmp_cow_turned, paint_cows},
    {bmp_cow_facing, paint_cows},
    {bmp_hit_marker, paint_markers},  // hit marker
    {bmp_bonus_reticle, paint_markers},  // bonus reticle
    {bmp_lizard_head_bottom, paint_lizards},
    {bmp_cow_mouth_open, paint_cows},  // head forward, mouth open
    {bmp_spider_resting, paint_spiders},
    {bmp_spider_1, paint_spiders},
    {bmp_spider_2, paint_spiders},
    {bmp_spider_3, paint_spiders},
    {bmp_spider_4, paint_spiders},
    {bmp_lizard_up_a, paint_lizards},
    {bmp_lizard_up_b, paint_lizards},
    {bmp_lizard_leaving_body, paint_lizards},
    {bmp_lizard_leaving_tail, paint_lizards},
    {bmp_lizard_leaving_tip, paint_lizards},
    {bmp_splat, paint_splats},
    {bmp_lizard_head_top, paint_lizards},
    {bmp_lizard_down_a, paint_lizards},
    {bmp_lizard_down_b, paint_lizards},
    {bmp_lizard_down_body, paint_lizards},
    {bmp_lizard_down_tail, paint_lizards},
    {bmp_lizard_tail_tip, paint_lizards},
    {bmp_splat_fade_1, paint_splats},
    {bmp_splat_fade_2, paint_splats},
    {bmp_splat_fade_3, paint_splats},
    {bmp_splat_fade_4, paint_splats},
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
void paint_pictures(Pictures& out, int scale) {
    SceneArt art;
    art.scale = scale;
    std::vector<Painter> done = {paint_scene};
    run(paint_scene, art, out);
    for (const PainterRow& row : PAINTERS) {
        if (std::find(done.begin(), done.end(), row.paint) != done.end()) continue;
        done.push_back(row.paint);
        run(row.paint, art, out);
    }
}

}  // namespace painter
