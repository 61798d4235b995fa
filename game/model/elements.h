// ELEMENT_TABLE: the 83 scene elements in creation order. Where two elements
// overlap, the one created earlier lies on top (a new child window goes below
// its older siblings), so the order here is also the stacking order.
#pragma once

#include <array>
#include <string_view>

#include "game/model/bitmaps.h"

enum class ElementKind { sprite, label, button };
enum class Font { none, large, small };

struct ElementRow {
    const char* name;
    ElementKind kind;
    int id;              // control identifier
    int x, y, w, h;      // creation rectangle; a sprite then takes its image's size
    int image;           // initial bitmap of a sprite, 0 otherwise
    const char* text;    // initial text of a label, "" otherwise
    Font font;
    bool hidden_at_start;
};

// An element is its row index in ELEMENT_TABLE.
using Element = int;

inline constexpr int ELEMENT_COUNT = 83;

inline constexpr Element minimize_button = 0;
inline constexpr Element close_button = 1;
inline constexpr Element start_button = 2;
inline constexpr Element cancel_button = 3;
inline constexpr Element score_label = 4;
inline constexpr Element hits_label = 5;
inline constexpr Element misses_label = 6;
inline constexpr Element canceled_banner = 7;
inline constexpr Element game_over_banner = 8;
inline constexpr Element splat = 52;
inline constexpr Element hit_marker = 73;
inline constexpr Element bonus_reticle = 74;
inline constexpr Element cow = 75;
inline constexpr Element cow_fallen = 76;
inline constexpr Element web_patch = 82;

// The families, by the index in their names.
constexpr Element cartridge(int k) { return 34 - k; }  // 1..25, created right to left
constexpr Element peek(int h) { return h == 9 ? 34 : 35 + 2 * h; }    // 1..9
constexpr Element raised(int h) { return h == 9 ? 35 : 34 + 2 * h; }  // 1..9
constexpr Element climber(int i) { return 53 + i; }    // 0..7
constexpr Element descender(int i) { return 61 + i; }  // 0..5
constexpr Element bird(int k) { return 66 + k; }       // 1..6
constexpr Element spider(int i) { return 77 + i; }     // 0..4

// Control identifiers of the buttons, by which their commands arrive, and of
// the labels, by which the rules rewrite the texts.
inline constexpr int MINIMIZE_BUTTON_ID = 400;
inline constexpr int CLOSE_BUTTON_ID = 450;
inline constexpr int START_BUTTON_ID = 700;
inline constexpr int CANCEL_BUTTON_ID = 800;
inline constexpr int SCORE_LABEL_ID = 2200;
inline constexpr int CANCELED_BANNER_ID = 2300;
inline constexpr int GAME_OVER_BANNER_ID = 2350;
inline constexpr int HITS_LABEL_ID = 2400;
inline constexpr int MISSES_LABEL_ID = 2500;

inline constexpr std::array<ElementRow, ELEMENT_COUNT> ELEMENT_TABLE = {{
    {"minimize_button", ElementKind::button, MINIMIZE_BUTTON_ID, 1220, 6, 23, 19, 0, "", Font::none, false},
    {"close_button", ElementKind::button, CLOSE_BUTTON_ID, 1249, 6, 23, 19, 0, "", Font::none, false},
    {"start_button", ElementKind::button, START_BUTTON_ID, 14, 714, 120, 58, 0, "", Font::none, false},
    {"cancel_button", ElementKind::button, CANCEL_BUTTON_ID, 157, 714, 120, 58, 0, "", Font::none, false},
    {"score_label", ElementKind::label, SCORE_LABEL_ID, 564, 722, 110, 36, 0, "000000", Font::large, false},
    {"hits_label", ElementKind::label, HITS_LABEL_ID, 506, 728, 80, 36, 0, "0000", Font::small, false},
    {"misses_label", ElementKind::label, MISSES_LABEL_ID, 688, 728, 80, 36, 0, "0000", Font::small, false},
    {"canceled_banner", ElementKind::label, CANCELED_BANNER_ID, 480, 324, 300, 36, 0, "GAME CANCELED", Font::large, true},
    {"game_over_banner", ElementKind::label, GAME_OVER_BANNER_ID, 520, 324, 260, 36, 0, "GAME OVER", Font::large, true},
    {"cartridge[25]", ElementKind::sprite, 900, 1253, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[24]", ElementKind::sprite, 950, 1237, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[23]", ElementKind::sprite, 1000, 1221, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[22]", ElementKind::sprite, 1050, 1205, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[21]", ElementKind::sprite, 1100, 1189, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[20]", ElementKind::sprite, 1150, 1173, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[19]", ElementKind::sprite, 1200, 1157, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[18]", ElementKind::sprite, 1250, 1141, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[17]", ElementKind::sprite, 1300, 1125, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[16]", ElementKind::sprite, 1350, 1109, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[15]", ElementKind::sprite, 1400, 1093, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[14]", ElementKind::sprite, 1450, 1077, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[13]", ElementKind::sprite, 1500, 1061, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[12]", ElementKind::sprite, 1550, 1045, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[11]", ElementKind::sprite, 1600, 1029, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[10]", ElementKind::sprite, 1650, 1013, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[9]", ElementKind::sprite, 1700, 997, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[8]", ElementKind::sprite, 1750, 981, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[7]", ElementKind::sprite, 1800, 965, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[6]", ElementKind::sprite, 1850, 949, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[5]", ElementKind::sprite, 1900, 933, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[4]", ElementKind::sprite, 1950, 917, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[3]", ElementKind::sprite, 2000, 901, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[2]", ElementKind::sprite, 2050, 885, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"cartridge[1]", ElementKind::sprite, 2100, 869, 713, 14, 54, bmp_cartridge, "", Font::none, true},
    {"peek[9]", ElementKind::sprite, 2700, 597, 635, 58, 63, bmp_peek_9, "", Font::none, true},
    {"raised[9]", ElementKind::sprite, 2800, 594, 634, 64, 63, bmp_raised_9, "", Font::none, true},
    {"raised[1]", ElementKind::sprite, 3300, 146, 449, 45, 37, bmp_raised_1, "", Font::none, true},
    {"peek[1]", ElementKind::sprite, 3100, 157, 470, 25, 25, bmp_peek_1, "", Font::none, true},
    {"raised[2]", ElementKind::sprite, 3700, 473, 419, 35, 34, bmp_raised_2, "", Font::none, true},
    {"peek[2]", ElementKind::sprite, 3500, 477, 437, 28, 25, bmp_peek_2, "", Font::none, true},
    {"raised[3]", ElementKind::sprite, 4100, 691, 436, 36, 26, bmp_raised_3, "", Font::none, true},
    {"peek[3]", ElementKind::sprite, 3900, 698, 444, 24, 28, bmp_peek_3, "", Font::none, true},
    {"raised[4]", ElementKind::sprite, 4500, 1064, 413, 24, 27, bmp_raised_4, "", Font::none, true},
    {"peek[4]", ElementKind::sprite, 4300, 1062, 424, 27, 16, bmp_peek_4, "", Font::none, true},
    {"raised[5]", ElementKind::sprite, 4900, 808, 407, 22, 27, bmp_raised_5, "", Font::none, true},
    {"peek[5]", ElementKind::sprite, 4700, 812, 417, 16, 17, bmp_peek_5, "", Font::none, true},
    {"raised[6]", ElementKind::sprite, 5300, 608, 405, 24, 24, bmp_raised_6, "", Font::none, true},
    {"peek[6]", ElementKind::sprite, 5100, 609, 415, 18, 22, bmp_peek_6, "", Font::none, true},
    {"raised[7]", ElementKind::sprite, 5700, 374, 399, 20, 27, bmp_raised_7, "", Font::none, true},
    {"peek[7]", ElementKind::sprite, 5500, 376, 407, 16, 19, bmp_peek_7, "", Font::none, true},
    {"raised[8]", ElementKind::sprite, 5900, 236, 393, 17, 26, bmp_raised_8, "", Font::none, true},
    {"peek[8]", ElementKind::sprite, 5800, 233, 398, 17, 21, bmp_peek_8, "", Font::none, true},
    {"splat", ElementKind::sprite, 10700, 0, 0, 35, 35, bmp_splat, "", Font::none, true},
    {"climber[0]", ElementKind::sprite, 9350, 1230, 634, 35, 64, bmp_lizard_head_bottom, "", Font::none, true},
    {"climber[1]", ElementKind::sprite, 10100, 1230, 614, 35, 64, bmp_lizard_up_a, "", Font::none, true},
    {"climber[2]", ElementKind::sprite, 10200, 1230, 550, 35, 64, bmp_lizard_up_b, "", Font::none, true},
    {"climber[3]", ElementKind::sprite, 10500, 1230, 486, 35, 64, bmp_lizard_up_a, "", Font::none, true},
    {"climber[4]", ElementKind::sprite, 10550, 1230, 422, 35, 64, bmp_lizard_up_b, "", Font::none, true},
    {"climber[5]", ElementKind::sprite, 10600, 1230, 370, 34, 53, bmp_lizard_leaving_body, "", Font::none, true},
    {"climber[6]", ElementKind::sprite, 10300, 1230, 370, 34, 53, bmp_lizard_leaving_tail, "", Font::none, true},
    {"climber[7]", ElementKind::sprite, 10450, 1230, 370, 34, 53, bmp_lizard_leaving_tip, "", Font::none, true},
    {"descender[0]", ElementKind::sprite, 11100, 1224, 380, 35, 24, bmp_lizard_head_top, "", Font::none, true},
    {"descender[1]", ElementKind::sprite, 11150, 1224, 400, 34, 64, bmp_lizard_down_a, "", Font::none, true},
    {"descender[2]", ElementKind::sprite, 11200, 1224, 469, 35, 64, bmp_lizard_down_b, "", Font::none, true},
    {"descender[3]", ElementKind::sprite, 11250, 1225, 539, 34, 64, bmp_lizard_down_a, "", Font::none, true},
    {"descender[4]", ElementKind::sprite, 11300, 1224, 605, 35, 64, bmp_lizard_down_b, "", Font::none, true},
    {"descender[5]", ElementKind::sprite, 11350, 1228, 672, 34, 26, bmp_lizard_tail_tip, "", Font::none, true},
    {"bird[1]", ElementKind::sprite, 6300, 237, 97, 50, 49, bmp_crow_1, "", Font::none, true},
    {"bird[2]", ElementKind::sprite, 6500, 314, 116, 40, 35, bmp_crow_2, "", Font::none, true},
    {"bird[3]", ElementKind::sprite, 6700, 389, 96, 47, 36, bmp_crow_3, "", Font::none, true},
    {"bird[4]", ElementKind::sprite, 6900, 475, 98, 43, 33, bmp_crow_4, "", Font::none, true},
    {"bird[5]", ElementKind::sprite, 7100, 562, 67, 45, 33, bmp_crow_5, "", Font::none, true},
    {"bird[6]", ElementKind::sprite, 7300, 650, 62, 37, 41, bmp_crow_6, "", Font::none, true},
    {"hit_marker", ElementKind::sprite, 9100, 100, 100, 20, 20, bmp_hit_marker, "", Font::none, true},
    {"bonus_reticle", ElementKind::sprite, 9300, 100, 100, 20, 20, bmp_bonus_reticle, "", Font::none, true},
    {"cow", ElementKind::sprite, 7400, 680, 356, 101, 66, bmp_cow_profile, "", Font::none, false},
    {"cow_fallen", ElementKind::sprite, 7500, 671, 379, 105, 50, bmp_cow_fallen, "", Font::none, true},
    {"spider[0]", ElementKind::sprite, 9600, 1116, 137, 26, 35, bmp_spider_resting, "", Font::none, true},
    {"spider[1]", ElementKind::sprite, 9700, 1117, 184, 27, 40, bmp_spider_1, "", Font::none, true},
    {"spider[2]", ElementKind::sprite, 9800, 1114, 229, 29, 39, bmp_spider_2, "", Font::none, true},
    {"spider[3]", ElementKind::sprite, 9900, 1116, 273, 29, 43, bmp_spider_3, "", Font::none, true},
    {"spider[4]", ElementKind::sprite, 10000, 1116, 323, 30, 41, bmp_spider_4, "", Font::none, true},
    {"web_patch", ElementKind::sprite, 2900, 1097, 131, 73, 43, bmp_web, "", Font::none, true},
}};

// The element with a control identifier, or -1.
constexpr Element element_by_id(int id) {
    for (int e = 0; e < ELEMENT_COUNT; ++e)
        if (ELEMENT_TABLE[e].id == id) return e;
    return -1;
}

// The family functions and the named constants must land on the rows that
// carry those names.
namespace elements_detail {
constexpr bool named(Element e, std::string_view name) { return ELEMENT_TABLE[e].name == name; }
// A row left out of the initialiser would be a silent empty row.
constexpr bool rows_complete() {
    for (const ElementRow& row : ELEMENT_TABLE)
        if (row.name == nullptr || row.id == 0 || row.text == nullptr) return false;
    return true;
}
constexpr bool ids_unique() {
    for (int a = 0; a < ELEMENT_COUNT; ++a)
        for (int b = a + 1; b < ELEMENT_COUNT; ++b)
            if (ELEMENT_TABLE[a].id == ELEMENT_TABLE[b].id) return false;
    return true;
}
}  // namespace elements_detail
static_assert(elements_detail::rows_complete());
static_assert(elements_detail::ids_unique());
static_assert(elements_detail::named(minimize_button, "minimize_button") &&
              elements_detail::named(close_button, "close_button") &&
              elements_detail::named(start_button, "start_button") &&
              elements_detail::named(cancel_button, "cancel_button"));
static_assert(ELEMENT_TABLE[minimize_button].id == MINIMIZE_BUTTON_ID &&
              ELEMENT_TABLE[close_button].id == CLOSE_BUTTON_ID &&
              ELEMENT_TABLE[start_button].id == START_BUTTON_ID &&
              ELEMENT_TABLE[cancel_button].id == CANCEL_BUTTON_ID);
static_assert(elements_detail::named(cartridge(1), "cartridge[1]"));
static_assert(elements_detail::named(cartridge(25), "cartridge[25]"));
static_assert(elements_detail::named(peek(1), "peek[1]") && elements_detail::named(peek(8), "peek[8]"));
static_assert(elements_detail::named(peek(9), "peek[9]") && elements_detail::named(raised(9), "raised[9]"));
static_assert(elements_detail::named(raised(1), "raised[1]") && elements_detail::named(raised(8), "raised[8]"));
static_assert(elements_detail::named(climber(0), "climber[0]") && elements_detail::named(climber(7), "climber[7]"));
static_assert(elements_detail::named(descender(0), "descender[0]") &&
              elements_detail::named(descender(5), "descender[5]"));
static_assert(elements_detail::named(bird(1), "bird[1]") && elements_detail::named(bird(6), "bird[6]"));
static_assert(elements_detail::named(spider(0), "spider[0]") && elements_detail::named(spider(4), "spider[4]"));
static_assert(elements_detail::named(splat, "splat") && elements_detail::named(hit_marker, "hit_marker"));
static_assert(elements_detail::named(bonus_reticle, "bonus_reticle") && elements_detail::named(cow, "cow"));
static_assert(elements_detail::named(cow_fallen, "cow_fallen") && elements_detail::named(web_patch, "web_patch"));
static_assert(elements_detail::named(game_over_banner, "game_over_banner"));
static_assert(ELEMENT_TABLE[score_label].id == SCORE_LABEL_ID && ELEMENT_TABLE[hits_label].id == HITS_LABEL_ID &&
              ELEMENT_TABLE[misses_label].id == MISSES_LABEL_ID);
