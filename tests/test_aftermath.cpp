// What a shot, an end or a start leaves behind for the ticks and shots that
// follow: flags cleared, markers hidden, frames on their exact ticks, and no
// sprite carried over from an earlier game or level.
#include <map>
#include <vector>

#include "tests/game_fixture.h"

using ::testing::ElementsAre;
using ::testing::Contains;
using ::testing::Not;

namespace {

// Every element of a family that is visible now.
std::vector<Element> visible_of(const std::vector<Element>& family) {
    std::vector<Element> out;
    for (Element e : family)
        if (scene[e].visible) out.push_back(e);
    return out;
}

std::vector<Element> lizard_frames() {
    std::vector<Element> out;
    for (int i = 0; i <= 7; ++i) out.push_back(climber(i));
    for (int i = 0; i <= 5; ++i) out.push_back(descender(i));
    return out;
}

std::vector<Element> spider_frames() {
    std::vector<Element> out;
    for (int i = 0; i <= 4; ++i) out.push_back(spider(i));
    return out;
}

}  // namespace

TEST_F(GameTest, RodentHitsAfterACowHitStillCountAndSound) {
    start();
    click_on(cow);
    ASSERT_EQ(game.hits, 1);
    tick(3);  // seed 1: the rodent of hole 6 is raised
    ASSERT_EQ(game.hole_hittable[6], 1);
    EXPECT_THAT(click_on(raised(6)), Contains(cue("snd_hit")));
    EXPECT_EQ(game.hits, 2);
    EXPECT_THAT(click_on(raised(6)), Contains(cue("snd_hit")));
    EXPECT_EQ(game.hits, 3);
    EXPECT_EQ(game.score, 150);  // 0 - nothing for the cow below 200, then 75 twice
}

TEST_F(GameTest, TheHitMarkerLeavesWithGameOverAndWithTheBonusStage) {
    for (int winning = 0; winning <= 1; ++winning) {
        SetUp();
        start();
        tick(3);
        game.shots_fired = game.shot_limit - 1;
        game.score = winning ? 1000 : 0;
        click_on(raised(6));  // the level's last shot is a hit: the marker shows
        EXPECT_EQ(game.stage, winning ? STAGE_BONUS : STAGE_IDLE);
        EXPECT_FALSE(visible(hit_marker)) << (winning ? "bonus stage" : "game over");
    }
}

TEST_F(GameTest, AttractionFramesChangeOnTheirExactTicks) {
    start();
    std::map<int, int> cow_images;                 // tick -> new image
    std::map<int, std::vector<Element>> lizard;    // tick -> frames now visible
    std::map<int, std::vector<Element>> spiders;   // tick -> frames now visible
    int image = scene[cow].image;
    auto lizard_seen = visible_of(lizard_frames());
    auto spider_seen = visible_of(spider_frames());
    for (int t = 1; t <= 170; ++t) {
        tick();
        if (scene[cow].image != image) cow_images[t] = image = scene[cow].image;
        if (visible_of(lizard_frames()) != lizard_seen) lizard[t] = lizard_seen = visible_of(lizard_frames());
        if (visible_of(spider_frames()) != spider_seen) spiders[t] = spider_seen = visible_of(spider_frames());
    }
    EXPECT_THAT(cow_images,
                ElementsAre(std::pair{14, +bmp_cow_turning}, std::pair{16, +bmp_cow_turned},
                            std::pair{18, +bmp_cow_facing}, std::pair{100, +bmp_cow_turned},
                            std::pair{102, +bmp_cow_turning}, std::pair{104, +bmp_cow_mouth_closed},
                            std::pair{107, +bmp_cow_mouth_open}, std::pair{110, +bmp_cow_mouth_closed},
                            std::pair{113, +bmp_cow_mouth_open}, std::pair{116, +bmp_cow_mouth_closed},
                            std::pair{119, +bmp_cow_mouth_open}, std::pair{122, +bmp_cow_mouth_closed}));
    using F = std::vector<Element>;
    EXPECT_THAT(lizard, ElementsAre(std::pair{14, F{climber(0)}}, std::pair{15, F{climber(1)}},
                                    std::pair{16, F{climber(2)}}, std::pair{17, F{climber(3)}},
                                    std::pair{18, F{climber(4)}}, std::pair{19, F{climber(5)}},
                                    std::pair{20, F{climber(6)}}, std::pair{21, F{climber(7)}}, std::pair{22, F{}},
                                    std::pair{160, F{descender(0)}}, std::pair{161, F{descender(1)}},
                                    std::pair{162, F{descender(2)}}, std::pair{163, F{descender(3)}},
                                    std::pair{164, F{descender(4)}}, std::pair{165, F{descender(5)}},
                                    std::pair{166, F{}}));
    EXPECT_THAT(spiders, ElementsAre(std::pair{30, F{spider(1)}}, std::pair{31, F{spider(2)}},
                                     std::pair{32, F{spider(3)}}, std::pair{33, F{spider(4)}},
                                     std::pair{80, F{spider(3)}}, std::pair{81, F{spider(2)}},
                                     std::pair{82, F{spider(1)}}, std::pair{83, F{spider(0)}}));
}

TEST_F(GameTest, ALizardFrameIsHittableExactlyWhileItIsShown) {
    start();
    for (int t = 1; t <= 170; ++t) {
        tick();
        for (int i = 1; i <= 5; ++i)
            EXPECT_EQ(game.climber_hittable[i], visible(climber(i)) ? 1 : 0) << "climber " << i << " at " << t;
        for (int i = 2; i <= 4; ++i)
            EXPECT_EQ(game.descender_hittable[i], visible(descender(i)) ? 1 : 0) << "descender " << i << " at " << t;
    }
}

TEST_F(GameTest, StartClearsWhatTheLastGameLeftOnTheField) {
    start();
    tick(17);  // a lizard climbs, the spider has not dropped yet
    tick(15);  // the spider is on its thread, at depth 2
    ASSERT_THAT(visible_of(spider_frames()), ElementsAre(spider(3)));
    game.lizard_tick = 16;
    tick();
    ASSERT_THAT(visible_of(lizard_frames()), ElementsAre(climber(3)));
    command(CANCEL_BUTTON_ID);
    ASSERT_THAT(visible_of(lizard_frames()), ElementsAre(climber(3)));  // CANCEL freezes the field
    start();
    EXPECT_THAT(visible_of(lizard_frames()), ElementsAre());
    EXPECT_THAT(visible_of(spider_frames()), ElementsAre(spider(0)));
    for (int h = 1; h <= 9; ++h) {
        EXPECT_FALSE(visible(peek(h))) << h;
        EXPECT_FALSE(visible(raised(h))) << h;
    }
    EXPECT_FALSE(visible(splat));
}

TEST_F(GameTest, TheEndOfTheBonusStageClearsTheLastLevelsSprites) {
    start();
    tick(3);
    game.lizard_tick = 17;
    tick();  // climber(4) is up, a rodent is raised
    ASSERT_THAT(visible_of(lizard_frames()), ElementsAre(climber(4)));
    game.shots_fired = game.shot_limit - 1;
    game.score = 1000;
    miss();
    ASSERT_EQ(game.stage, STAGE_BONUS);
    tick(17);
    ASSERT_EQ(game.stage, STAGE_SHOOTING);
    EXPECT_THAT(visible_of(lizard_frames()), ElementsAre());
    for (int h = 1; h <= 9; ++h) EXPECT_FALSE(visible(raised(h))) << h;
    for (int k = 1; k <= 6; ++k) EXPECT_FALSE(visible(bird(k))) << k;
    EXPECT_FALSE(visible(bonus_reticle));
}

TEST_F(GameTest, HiddenTargetsKeepTheirRectangleAndStillCount) {
    start();
    move_element(raised(6), 300, 500, 24, 24);
    show_element(raised(6));
    hide_element(raised(6));
    Rect r = element_bounds(raised(6));
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 500);
    EXPECT_EQ(r.right, 324);
    EXPECT_EQ(r.bottom, 524);
    game.hole_hittable[6] = 1;  // only the flag decides
    EXPECT_THAT(click(310, 510), Contains(cue("snd_hit")));
    EXPECT_EQ(game.hits, 1);
}
