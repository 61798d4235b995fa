#include "game/edge/game_end.h"

#include "game/model/elements.h"
#include "game/rules/game_state.h"

namespace {
GameEndSink sink = nullptr;
}

void on_game_end(GameEndSink to) { sink = to; }

bool game_running() { return game.stage != STAGE_IDLE; }

void note_game_end(bool was_running, int control_id) {
    if (!sink || !was_running) return;
    FinishedGame g;
    if (control_id == CLOSE_BUTTON_ID)
        g.how = GameEnd::closed;
    else if (!game_running())
        g.how = control_id == CANCEL_BUTTON_ID ? GameEnd::canceled : GameEnd::over;
    else
        return;
    g.score = game.score;
    g.level = game.level;
    g.hits = game.hits;
    g.misses = game.misses;
    g.shots = game.shots_fired;
    sink(g);
}
