// The road of one press in the shooting stage: drag strip, targets, cues,
// scoreboard, and the click's own tick.
#include "tests/game_fixture.h"

#include <map>

#include "game/rules/shots.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// After START and three ticks the rodent of hole 6 (seed 1) is raised.
class ShotTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        start();
        tick(3);
        ASSERT_EQ(game.hole_hittable[6], 1);
    }
};

TEST_F(ShotTest, PressInTheDragStripDragsAndNothingElse) {
    GameState before = game;
    EXPECT_THAT(click(999, 29), ElementsAre(R"({"window":"drag"})"));
    EXPECT_EQ(game.shots_fired, 0);
    EXPECT_EQ(game.cow_tick, before.cow_tick);  // no tick either
    EXPECT_TRUE(visible(cartridge(1)));
}

TEST_F(ShotTest, PressJustOutsideTheDragStripIsAShot) {
    click(1000, 5);
    EXPECT_EQ(game.shots_fired, 1);
    click(5, 30);
    EXPECT_EQ(game.shots_fired, 2);
    EXPECT_EQ(game.misses, 2);
}

TEST_F(ShotTest, RaisedRodentScoresOnEveryPressUntilItSinks) {
    EXPECT_THAT(click_on(raised(6)), ElementsAre(cue("snd_hit")));
    EXPECT_THAT(click_on(raised(6)), ElementsAre(cue("snd_hit")));
    EXPECT_EQ(game.score, 150);
    EXPECT_EQ(game.hits, 2);
    EXPECT_EQ(game.misses, 0);
    EXPECT_TRUE(visible(hit_marker));
    EXPECT_EQ(label(score_label), "000150");
    EXPECT_EQ(label(hits_label), "0002");
    EXPECT_EQ(game.hole_hittable[6], 1);
    // Six more presses bring the cycle to its tick 10: the rodent sinks
    // and the marker goes with it.
    for (int i = 0; i < 6; ++i) click_on(raised(6));
    EXPECT_EQ(game.hits, 8);
    EXPECT_EQ(game.hole_hittable[6], 0);
    EXPECT_FALSE(visible(hit_marker));
    EXPECT_FALSE(visible(raised(6)));
}

TEST_F(ShotTest, PeekingRodentIsAMiss) {
    tick(8);  // tick 11: sunk back to peeking
    ASSERT_TRUE(visible(peek(6)));
    EXPECT_THAT(click_on(peek(6)), ElementsAre(cue("snd_shot")));
    EXPECT_EQ(game.hits, 0);
    EXPECT_EQ(game.misses, 1);
    EXPECT_EQ(label(misses_label), "0001");
    EXPECT_EQ(label(score_label), "000000");
}

TEST_F(ShotTest, TopAndLeftEdgesHitRightAndBottomEdgesMiss) {
    Rect r = element_bounds(raised(6));
    click(r.left, r.top);
    EXPECT_EQ(game.hits, 1);
    click(r.right, r.top);
    click(r.left, r.bottom);
    EXPECT_EQ(game.hits, 1);
    EXPECT_EQ(game.misses, 2);
    click(r.right - 1, r.bottom - 1);
    EXPECT_EQ(game.hits, 2);
}

TEST_F(ShotTest, SpecialHitCueOnItsShotFollowsTheNearRodentsFlag) {
    game.shots_fired = 22;
    EXPECT_THAT(click_on(raised(6)), ElementsAre(cue("snd_hit_special")));
    game.shots_fired = 22;
    game.hole_hittable[9] = 1;  // the near rodent is up: its own fanfare
    EXPECT_THAT(click_on(raised(6)), ElementsAre(cue("snd_hit_special_9")));
}

TEST_F(ShotTest, MissCuesOnTheirShotNumbers) {
    std::vector<std::string> cues;
    for (int shot = 1; shot <= 11; ++shot) cues.push_back(miss().at(0));
    EXPECT_EQ(cues[4], cue("snd_miss_taunt"));
    EXPECT_EQ(cues[7], cue("snd_miss_alt"));
    EXPECT_EQ(cues[10], cue("snd_miss_taunt"));
    EXPECT_EQ(cues[0], cue("snd_shot"));
    EXPECT_EQ(cues[8], cue("snd_shot"));
}

TEST_F(ShotTest, AlternateMissCueOnlyWhileTheCowStands) {
    click_on(cow);
    game.shots_fired = 7;
    EXPECT_THAT(miss(), ElementsAre(cue("snd_shot")));
}

TEST_F(ShotTest, CowBelowTwoHundredCostsNothingButCountsAHit) {
    click_on(raised(6));
    EXPECT_THAT(click_on(cow), ElementsAre(cue("snd_cow")));
    EXPECT_EQ(game.score, 75);
    EXPECT_EQ(game.hits, 2);
    EXPECT_FALSE(visible(cow));
    EXPECT_TRUE(visible(cow_fallen));
    EXPECT_EQ(game.cow_hittable, 0);
    EXPECT_EQ(game.cow_tick, 0);
    tick(30);
    EXPECT_EQ(game.cow_tick, 0);  // stands still for the rest of the game
    EXPECT_THAT(click_on(cow_fallen), ElementsAre(cue("snd_shot")));
}

TEST_F(ShotTest, CowTakingExactlyTwoHundredShowsZeroes) {
    game.score = 200;
    click_on(cow);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(label(score_label), "000000");
}

TEST_F(ShotTest, ClimberOneScoresFiveHundredAndLeavesTheSpiderAlone) {
    tick(12);  // tick 15: climber[1] is up
    ASSERT_EQ(game.climber_hittable[1], 1);
    EXPECT_THAT(click_on(climber(1)), ElementsAre(cue("snd_lizard")));
    EXPECT_EQ(game.score, 500);
    EXPECT_EQ(game.climber_hittable[1], 0);
    EXPECT_EQ(game.climber_hittable[2], 0);
    EXPECT_EQ(game.spider_top_hittable, 1);
    EXPECT_FALSE(visible(climber(1)));
    EXPECT_FALSE(visible(climber(2)));
    // The click's own tick already shows the splat, and the rodents run on.
    EXPECT_TRUE(visible(splat));
    EXPECT_EQ(scene[splat].x, 1230);
    EXPECT_EQ(scene[splat].y, 600);
    EXPECT_EQ(game.splat_tick, 1);
    EXPECT_EQ(game.lizard_busy, 0);
    int lizard_tick = game.lizard_tick;
    tick(22);  // splat tick 23: the last, almost black frame
    EXPECT_EQ(game.lizard_tick, lizard_tick);  // held while the splat lasts
    EXPECT_EQ(scene[splat].image, bmp_splat_fade_4);
    EXPECT_FALSE(visible(climber(3)));
}

TEST_F(ShotTest, OverlappingTargetsAreAllHitAndTheLaterRowsPointsCount) {
    game.climber_hittable[3] = 1;    // 1230..1265 x 486..550
    game.descender_hittable[2] = 1;  // 1224..1259 x 469..533
    EXPECT_THAT(click(1240, 500), ElementsAre(cue("snd_lizard"), cue("snd_lizard")));
    EXPECT_EQ(game.score, 300);
    EXPECT_EQ(game.hits, 1);
    EXPECT_EQ(game.climber_hittable[3], 0);
    EXPECT_EQ(game.descender_hittable[2], 0);
    EXPECT_EQ(scene[splat].x, 1230);
    EXPECT_EQ(scene[splat].y, 469);
}

TEST_F(ShotTest, SpiderAtTheTopLeavesItsWebAndStops) {
    EXPECT_THAT(click_on(spider(0)), ElementsAre(cue("snd_shot")));
    EXPECT_EQ(game.score, 10);
    EXPECT_EQ(game.hits, 1);
    EXPECT_EQ(game.misses, 0);
    EXPECT_TRUE(visible(web_patch));
    EXPECT_FALSE(visible(spider(0)));
    int spider_tick = game.spider_tick;
    tick(100);
    EXPECT_EQ(game.spider_tick, spider_tick);
    for (int i = 0; i <= 4; ++i) EXPECT_FALSE(visible(spider(i))) << i;
}

TEST_F(ShotTest, SpiderShotAsItReachesTheBottomStaysShot) {
    game.spider_tick = 32;
    tick();  // 33: just arrived at the bottom
    ASSERT_EQ(game.spider_bottom_hittable, 1);
    click_on(spider(4));
    EXPECT_EQ(game.score, 10);
    EXPECT_FALSE(visible(spider(4)));
    EXPECT_EQ(game.spider_bottom_hittable, 0);
    tick(10);
    EXPECT_FALSE(visible(spider(4)));
    EXPECT_THAT(click_on(spider(4)), ElementsAre(cue("snd_shot")));
    EXPECT_EQ(game.score, 10);
    EXPECT_EQ(game.misses, 1);
}

TEST_F(ShotTest, SpiderShotAsItReachesTheTopStaysShot) {
    game.spider_tick = 82;
    tick();  // 83: back in the crown
    ASSERT_EQ(game.spider_top_hittable, 1);
    click_on(spider(0));
    tick(10);
    EXPECT_FALSE(visible(spider(0)));
    EXPECT_TRUE(visible(web_patch));
    EXPECT_EQ(game.spider_top_hittable, 0);
}

TEST_F(GameTest, PressesWhileIdleOutsideTheStripDoNothing) {
    EXPECT_THAT(click(600, 400), IsEmpty());
    EXPECT_EQ(game.shots_fired, 0);
    EXPECT_THAT(click(10, 10), ElementsAre(R"({"window":"drag"})"));
}

// ---- Every row of the target table, one shot each ----

namespace {

// Every hittable flag of the record, by name.
struct FlagRef {
    std::string name;
    int* value;
};
std::vector<FlagRef> hittable_flags() {
    std::vector<FlagRef> flags;
    auto add = [&](const char* name, auto& array, int first) {
        for (int i = first; i < static_cast<int>(array.size()); ++i)
            flags.push_back({std::string(name) + "[" + std::to_string(i) + "]", &array[static_cast<std::size_t>(i)]});
    };
    add("hole", game.hole_hittable, 1);
    flags.push_back({"cow", &game.cow_hittable});
    flags.push_back({"spider_top", &game.spider_top_hittable});
    flags.push_back({"spider_bottom", &game.spider_bottom_hittable});
    add("climber", game.climber_hittable, 1);
    add("descender", game.descender_hittable, 2);
    add("bird", game.bird_hittable, 1);
    return flags;
}
std::map<std::string, int> flag_values() {
    std::map<std::string, int> values;
    for (const FlagRef& f : hittable_flags()) values[f.name] = *f.value;
    return values;
}

struct TargetCase {
    Element target;
    std::string flag;
    int points;
    const char* cue;
    std::vector<std::string> cleared;  // the flags a hit clears, its own among them
    std::vector<Element> hidden, shown;
    int splat_x = 0, splat_y = 0;  // lizard rows
};

const std::vector<TargetCase> TARGET_CASES = {
    {raised(1), "hole[1]", 25, "snd_hit", {}, {}, {hit_marker}},
    {raised(2), "hole[2]", 50, "snd_hit", {}, {}, {hit_marker}},
    {raised(3), "hole[3]", 50, "snd_hit", {}, {}, {hit_marker}},
    {raised(4), "hole[4]", 75, "snd_hit", {}, {}, {hit_marker}},
    {raised(5), "hole[5]", 75, "snd_hit", {}, {}, {hit_marker}},
    {raised(6), "hole[6]", 75, "snd_hit", {}, {}, {hit_marker}},
    {raised(7), "hole[7]", 100, "snd_hit", {}, {}, {hit_marker}},
    {raised(8), "hole[8]", 200, "snd_hit", {}, {}, {hit_marker}},
    {raised(9), "hole[9]", 50, "snd_hit", {}, {}, {hit_marker}},
    {cow, "cow", -200, "snd_cow", {"cow"}, {cow}, {cow_fallen}},
    {climber(1), "climber[1]", 500, "snd_lizard", {"climber[1]", "climber[2]"}, {climber(1), climber(2)}, {}, 1230, 600},
    {climber(2), "climber[2]", 200, "snd_lizard", {"climber[2]", "climber[3]"}, {climber(2), climber(3)}, {}, 1230, 550},
    {climber(3), "climber[3]", 200, "snd_lizard", {"climber[3]", "climber[4]"}, {climber(3), climber(4)}, {}, 1230, 486},
    {climber(4), "climber[4]", 200, "snd_lizard", {"climber[4]", "climber[5]"}, {climber(4), climber(5)}, {}, 1230, 422},
    {climber(5), "climber[5]", 200, "snd_lizard", {"climber[5]"}, {climber(5), climber(6)}, {}, 1230, 382},
    // A descending frame's hit clears its own flag only.
    {descender(2), "descender[2]", 300, "snd_lizard", {"descender[2]"}, {descender(2), descender(3)}, {}, 1230, 469},
    {descender(3), "descender[3]", 300, "snd_lizard", {"descender[3]"}, {descender(3), descender(4)}, {}, 1225, 539},
    {descender(4), "descender[4]", 300, "snd_lizard", {"descender[4]"}, {descender(4), descender(5)}, {}, 1224, 605},
    {spider(0), "spider_top", 10, "snd_shot", {"spider_top"}, {spider(0)}, {web_patch}},
    {spider(4), "spider_bottom", 10, "snd_shot", {"spider_bottom"}, {spider(4)}, {}},
};

// A point of the target that no other target covers, so that every other
// flag can stand at 1 and show whether the shot touched it.
std::pair<int, int> point_of_its_own(Element target) {
    const Rect r = element_bounds(target);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            bool alone = true;
            for (const TargetCase& other : TARGET_CASES)
                alone = alone && (other.target == target || !point_in_rect(element_bounds(other.target), x, y));
            if (alone) return {x, y};
        }
    ADD_FAILURE() << "element " << target << " lies wholly under other targets";
    return {r.left, r.top};
}

}  // namespace

// The shot alone, through resolve_shot, without the press's own tick: the
// timelines would otherwise move the flags on. Every other flag stands at 1.
TEST_F(GameTest, EveryTargetRowScoresCuesAndClearsExactlyItsFlags) {
    EXPECT_EQ(TARGET_CASES.size(), TARGET_TABLE.size());
    for (const TargetCase& row : TARGET_CASES) {
        SCOPED_TRACE(row.flag);
        SetUp();
        start();
        for (const FlagRef& f : hittable_flags()) *f.value = 1;
        for (Element e : row.hidden) scene[e].visible = true;
        for (Element e : row.shown) scene[e].visible = false;
        game.score = 1000;
        const auto [x, y] = point_of_its_own(row.target);
        const std::map<std::string, int> before = flag_values();

        resolve_shot(x, y);
        EXPECT_THAT(take_events(), ElementsAre(cue(row.cue)));
        EXPECT_EQ(game.score, 1000 + row.points);
        EXPECT_EQ(game.hits, 1);
        EXPECT_EQ(game.misses, 0);
        EXPECT_EQ(game.shots_fired, 1);
        std::map<std::string, int> expected = before;
        for (const std::string& name : row.cleared) expected.at(name) = 0;
        EXPECT_EQ(flag_values(), expected);
        for (Element e : row.hidden) EXPECT_FALSE(visible(e)) << "element " << e;
        for (Element e : row.shown) EXPECT_TRUE(visible(e)) << "element " << e;
        if (row.splat_x) {
            EXPECT_EQ(scene[splat].x, row.splat_x);
            EXPECT_EQ(scene[splat].y, row.splat_y);
        }

        // The same spot again: a raised rodent scores again; every other
        // target is gone from under it, and the press is a plain miss.
        const bool stays = row.cleared.empty();
        resolve_shot(x, y);
        EXPECT_THAT(take_events(), ElementsAre(cue(stays ? row.cue : "snd_shot")));
        EXPECT_EQ(game.score, 1000 + row.points * (stays ? 2 : 1));
        EXPECT_EQ(game.hits, stays ? 2 : 1);
        EXPECT_EQ(game.misses, stays ? 0 : 1);
        EXPECT_EQ(flag_values(), expected);

        // The row's own flag not exactly 1 and every other up: nothing to
        // hit there.
        for (int unarmed : {0, 2}) {
            SetUp();
            start();
            for (const FlagRef& f : hittable_flags()) *f.value = f.name == row.flag ? unarmed : 1;
            const std::map<std::string, int> flags = flag_values();
            resolve_shot(x, y);
            EXPECT_THAT(take_events(), ElementsAre(cue("snd_shot"))) << "flag " << unarmed;
            EXPECT_EQ(game.misses, 1);
            EXPECT_EQ(flag_values(), flags);
        }
    }
}
