#include "tests/fuzz/field_rules.h"

#include "game/model/bitmaps.h"
#include "game/rules/game_state.h"

namespace {

// Only the rodent of the active hole is ever out; a rodent is hittable
// exactly while it is raised, and while shooting the cycle says which.
void check_rodents() {
    const GameState& g = game;
    int a = g.active_hole;
    require(a >= 0 && a <= 9 && (g.spawn_count == 0) == (a == 0), "the active hole is a hole once one spawned");
    for (int h = 1; h <= 9; ++h) {
        require(g.hole_hittable[h] == (visible(raised(h)) ? 1 : 0), "a rodent is hittable exactly while raised");
        if (h != a) require(!visible(peek(h)) && !visible(raised(h)), "only the active rodent is out");
    }
    if (a >= 1) require(!(visible(peek(a)) && visible(raised(a))), "a rodent peeks or is raised, not both");
    if (g.stage == STAGE_SHOOTING && a >= 1) {
        int p = g.popup_tick;
        bool raised_now = p >= 3 && p <= 10, peeking_now = p == 2 || p == 11;
        require(visible(raised(a)) == raised_now && visible(peek(a)) == peeking_now,
                "the rodent cycle shows the rodent of its tick");
    }
    if (g.stage == STAGE_SHOOTING && a == 0) require(g.popup_tick <= 1, "the first rodent comes at tick 1");
    // The hit marker goes with the rodent: never in the bonus stage, and
    // while shooting gone by tick 10 of the cycle.
    if (visible(hit_marker)) {
        require(g.stage != STAGE_BONUS, "no hit marker in the bonus stage");
        if (g.stage == STAGE_SHOOTING) require(g.popup_tick <= 10, "the hit marker goes at tick 10");
    }
}

// The cartridge row shows exactly the shots left in the current row;
// in a bonus stage before its step 3 the last level's row is empty.
void check_cartridges(int row_start) {
    const GameState& g = game;
    int place = g.shots_fired - row_start;
    bool row_empty = g.stage == STAGE_BONUS && g.bonus_tick <= 3;
    for (int k = 1; k <= 25; ++k)
        require(visible(cartridge(k)) == (!row_empty && k > place), "the cartridges show the shots left");
}

void check_attractions() {
    const GameState& g = game;
    // The cow stands, hittable, until it is shot; then it lies for the
    // rest of the game and its counter stands at 0.
    require(g.cow_tick >= 0 && g.cow_tick <= 160, "cow tick 0 to 160");
    require(g.cow_hittable == 1 - g.cow_down, "the cow is hittable exactly while it stands");
    require(visible(cow) == !g.cow_down && visible(cow_fallen) == (g.cow_down == 1), "the cow shown is the cow's state");
    if (g.cow_down) require(g.cow_tick == 0, "a shot cow's counter stands at 0");

    // The spider: its frame and its flags follow its counter until it is
    // shot; a shot spider is gone for the game.
    int t = g.spider_tick;
    require(t >= 0 && t <= 400, "spider tick 0 to 400");
    int shown = -1, count = 0;
    for (int i = 0; i <= 4; ++i)
        if (visible(spider(i))) shown = i, ++count;
    if (g.spider_down) {
        require(count == 0 && g.spider_top_hittable == 0 && g.spider_bottom_hittable == 0,
                "a shot spider stays shot");
    } else {
        int frame = t <= 29 ? 0 : t <= 32 ? t - 29 : t <= 79 ? 4 : t <= 82 ? 83 - t : 0;
        require(count == 1 && shown == frame, "the spider hangs where its counter says");
        require(g.spider_top_hittable == (frame == 0 ? 1 : 0) && g.spider_bottom_hittable == (frame == 4 ? 1 : 0),
                "the spider is hittable at the ends of its thread");
        require(!visible(web_patch), "the empty web shows only after the spider is shot");
    }

    // The lizards and the splat: the splat keeps the lizards away and
    // the rodents running; each lizard frame is hittable for its one tick.
    int lt = g.lizard_tick;
    require(lt >= 0 && lt <= 300, "lizard tick 0 to 300");
    require(g.splat_tick >= 0 && g.splat_tick <= 399, "splat tick 0 to 399");
    if (!g.splat_active) require(g.splat_tick == 0, "the splat counter rests at 0");
    if (g.splat_active) require(g.lizard_busy == 0, "a shot lizard frees the rodents");
    if (visible(splat)) require(g.splat_active == 1, "the splat shows only while it runs");
    bool on_trunk = (lt >= 14 && lt <= 21) || (lt >= 160 && lt <= 165);
    if (!g.splat_active) require(g.lizard_busy == (on_trunk ? 1 : 0), "a lizard on the trunk holds the rodents");
    int hittable = 0;
    for (int i = 1; i <= 5; ++i)
        if (g.climber_hittable[i]) {
            ++hittable;
            require(!g.splat_active && lt == 14 + i, "a climbing frame is hittable in its own tick");
        }
    for (int i = 2; i <= 4; ++i)
        if (g.descender_hittable[i]) {
            ++hittable;
            require(!g.splat_active && lt == 160 + i, "a descending frame is hittable in its own tick");
        }
    require(hittable <= 1, "one lizard frame at a time");
    // At most the frame of the lizard's tick is on screen, none while
    // the splat runs.
    Element frame = lt >= 14 && lt <= 21 ? climber(lt - 14) : lt >= 160 && lt <= 165 ? descender(lt - 160) : -1;
    for (int i = 0; i <= 7; ++i)
        if (visible(climber(i))) require(!g.splat_active && climber(i) == frame, "only the lizard's own frame shows");
    for (int i = 0; i <= 5; ++i)
        if (visible(descender(i)))
            require(!g.splat_active && descender(i) == frame, "only the lizard's own frame shows");
}

void check_crow_and_banners() {
    const GameState& g = game;
    // The crow flies only in the bonus stage, each frame up and
    // hittable for two steps, bird k at steps 2k+2 and 2k+3.
    for (int k = 1; k <= 6; ++k) {
        bool up = g.stage == STAGE_BONUS && (g.bonus_tick == 2 * k + 2 || g.bonus_tick == 2 * k + 3);
        require(visible(bird(k)) == up && g.bird_hittable[k] == (up ? 1 : 0), "the crow frame of the step is up");
    }
    // The bonus reticle leaves with the bonus stage.
    if (visible(bonus_reticle)) require(g.stage == STAGE_BONUS, "the reticle only in the bonus stage");
    // The banners belong to a game that has ended, one at a time.
    require(g.canceled_shown == (visible(canceled_banner) ? 1 : 0), "canceled_shown is the banner");
    if (visible(canceled_banner) || visible(game_over_banner))
        require(g.stage == STAGE_IDLE, "banners only after a game");
    require(!(visible(canceled_banner) && visible(game_over_banner)), "one banner at a time");
}

// Every element keeps its place (but the three that the rules move),
// and every sprite shows a picture the program carries, at its size.
void check_sprites() {
    for (Element e = 0; e < ELEMENT_COUNT; ++e) {
        const ElementRow& row = ELEMENT_TABLE[e];
        const SceneElement& s = scene[e];
        if (e != hit_marker && e != bonus_reticle && e != splat)
            require(s.x == row.x && s.y == row.y, "elements stay where they were made");
        if (row.kind != ElementKind::sprite) continue;
        const BitmapInfo* b = find_bitmap(s.image);
        require(b != nullptr, "every sprite shows a picture");
        require(s.w == b->width && s.h == b->height, "a sprite has its picture's size");
    }
}

}  // namespace

void check_field(bool started, int row_start) {
    check_rodents();
    if (started) {
        check_cartridges(row_start);
        check_attractions();
    }
    check_crow_and_banners();
    check_sprites();
}
