#include "game/rules/timeline.h"

#include "game/model/scene.h"
#include "game/seam/audio.h"

static void perform(const Action& a) {
    switch (a.kind) {
        case Action::none: break;
        case Action::show: show_element(a.element); break;
        case Action::hide: hide_element(a.element); break;
        case Action::image: set_element_image(a.element, a.value); break;
        case Action::set: *a.field = a.value; break;
        case Action::call: a.fn(); break;
        case Action::cue: play_cue(a.sound); break;
    }
}

void run_timeline(std::span<const TimelineRow> rows, int tick) {
    for (const TimelineRow& row : rows) {
        if (row.tick != tick) continue;
        for (const Action& a : row.actions) perform(a);
        return;
    }
}
