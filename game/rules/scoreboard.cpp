#include "game/rules/scoreboard.h"

#include "game/model/scene.h"
#include "game/rules/game_state.h"

static constexpr int COW_PENALTY = -200;

std::string zero_padded(int value, int digits) {
    std::string s = std::to_string(value);
    if (static_cast<int>(s.size()) < digits) s.insert(0, digits - s.size(), '0');
    return s;
}

void update_scoreboard() {
    if (game.pending_points > 0) game.score += game.pending_points;
    // Below 200 the cow's penalty is dropped whole: the score never goes
    // negative and is not clamped to 0 either.
    if (game.pending_points == COW_PENALTY && game.score >= 200) game.score -= 200;
    game.score_text = zero_padded(game.score, SCORE_DIGITS);
    game.pending_points = 0;
    game.hits += game.pending_hit;
    game.hits_text = zero_padded(game.hits, COUNT_DIGITS);
    game.pending_hit = 0;
    game.misses += game.pending_miss;
    game.misses_text = zero_padded(game.misses, COUNT_DIGITS);
    game.pending_miss = 0;
}

// The shot's place in the current row of 25.
static int place_in_row(int shot) { return shot - (game.ammo_window_end - 25); }

void update_cartridges() {
    int shot = game.shots_fired;
    if (shot >= 1 && shot <= 25) hide_element(cartridge(shot));
    if (shot < 26) return;
    int p = place_in_row(shot);
    // Place 2 also takes place 1: the click that ended the last level was
    // counted as place 1 of this row by its bonus pass.
    if (p == 1) {
        hide_element(cartridge(1));
    } else if (p == 2) {
        hide_element(cartridge(1));
        hide_element(cartridge(2));
    } else if (p >= 3 && p <= 25) {
        hide_element(cartridge(p));
    }
}

void refresh_labels() {
    set_label_text(SCORE_LABEL_ID, game.score_text);
    set_label_text(HITS_LABEL_ID, game.hits_text);
    set_label_text(MISSES_LABEL_ID, game.misses_text);
    game.score_text.clear();
    game.hits_text.clear();
    game.misses_text.clear();
}

void hide_spent_cartridges() {
    int spent = place_in_row(game.shots_fired);
    for (int k = 1; k <= spent && k <= 25; ++k) hide_element(cartridge(k));
}
