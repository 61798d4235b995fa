// Timelines: each animation of the game is a table of tick number to
// actions, run against a counter of GameState. At most one row matches a
// tick; a row's actions run in the order written.
#pragma once

#include <array>
#include <span>

#include "game/model/bitmaps.h"
#include "game/model/cues.h"
#include "game/model/elements.h"

struct Action {
    enum Kind { none, show, hide, image, set, call, cue } kind = none;
    Element element = 0;
    int value = 0;         // bitmap identifier, or the value to store
    int* field = nullptr;  // a GameState field
    void (*fn)() = nullptr;
    Cue sound = Cue::snd_start;
};

constexpr Action act_show(Element e) { return {Action::show, e}; }
constexpr Action act_hide(Element e) { return {Action::hide, e}; }
constexpr Action act_image(Element e, int bitmap) { return {Action::image, e, bitmap}; }
constexpr Action act_set(int& field, int value) { return {Action::set, 0, value, &field}; }
constexpr Action act_call(void (*fn)()) { return {Action::call, 0, 0, nullptr, fn}; }
constexpr Action act_cue(Cue c) { return {Action::cue, 0, 0, nullptr, nullptr, c}; }

struct TimelineRow {
    int tick;
    std::array<Action, 6> actions;
};

// What run_timeline relies on: rows in rising tick order, so no tick has two,
// and every image one the catalogue carries. (A set or a call cannot lack
// its field or function: act_set takes a reference, act_call a function.)
template <std::size_t N>
constexpr bool timeline_well_formed(const TimelineRow (&rows)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0 && rows[i].tick <= rows[i - 1].tick) return false;
        for (const Action& a : rows[i].actions) {
            if (a.kind == Action::image && !carries_bitmap(a.value)) return false;
        }
    }
    return true;
}

// Runs the row for this tick, if there is one.
void run_timeline(std::span<const TimelineRow> rows, int tick);
