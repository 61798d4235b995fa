#include "game/rules/window_events.h"

#include <array>

#include "game/model/buttons.h"
#include "game/model/scene.h"
#include "game/rules/ambient_control.h"
#include "game/rules/bonus.h"
#include "game/rules/commands.h"
#include "game/rules/game_state.h"
#include "game/rules/shots.h"
#include "game/rules/sounds.h"
#include "game/rules/tick.h"
#include "game/seam/platform.h"

struct NudgeRow {
    ArrowKey key;
    int dx, dy;
};

static constexpr std::array<NudgeRow, static_cast<int>(ArrowKey::COUNT)> NUDGE_TABLE = {{
    {ArrowKey::left, -2, 0},
    {ArrowKey::up, 0, -2},
    {ArrowKey::right, 2, 0},
    {ArrowKey::down, 0, 2},
}};

namespace window_events_detail {
constexpr bool nudge_rows_in_key_order() {
    for (int i = 0; i < static_cast<int>(ArrowKey::COUNT); ++i)
        if (static_cast<int>(NUDGE_TABLE[i].key) != i) return false;
    return true;
}
}  // namespace window_events_detail
static_assert(window_events_detail::nudge_rows_in_key_order());

// Command 400: minimize; the game goes on behind it.
static void minimize_window() {
    platform_window_minimize();
    snd_minimize();
}

struct CommandRow {
    int control_id;
    void (*command)();
};

static constexpr std::array<CommandRow, 4> COMMAND_TABLE = {{
    {MINIMIZE_BUTTON_ID, minimize_window},
    {CLOSE_BUTTON_ID, close_game_window},
    {START_BUTTON_ID, start_game},
    {CANCEL_BUTTON_ID, cancel_game},
}};

void dispatch_command(int control_id) {
    for (const CommandRow& row : COMMAND_TABLE)
        if (row.control_id == control_id) row.command();
}

bool press_drags_window(int x, int y) {
    // In the bonus stage the strip is part of the sky and every press shoots.
    if (game.stage != STAGE_IDLE && game.stage != STAGE_SHOOTING) return false;
    const DragStrip& s = game.drag_strip;
    return point_in_rect(Rect{s.left, s.top, s.right, s.bottom}, x, y);
}

void handle_press(int x, int y) {
    if (press_drags_window(x, y)) {
        platform_window_drag(x, y);
        return;
    }
    resolve_shot(x, y);
    // Tested after the shot: the press that has just entered the bonus
    // stage is its first bonus click as well.
    if (game.stage == STAGE_BONUS) resolve_bonus_shot(x, y);
    game_tick();
}

void follow_cursor(int x, int y) {
    game.cursor_x = x;
    game.cursor_y = y;
    if (game.stage == STAGE_SHOOTING) move_element(hit_marker, game.cursor_x - 10, game.cursor_y - 11, 20, 20);
    if (game.stage == STAGE_BONUS) move_element(bonus_reticle, game.cursor_x - 16, game.cursor_y - 16, 32, 32);
}

void close_game_window() {
    if (game.stage == STAGE_SHOOTING) platform_timer_stop();
    if (game.stage == STAGE_BONUS) platform_timer_stop();
    stop_ambient();
    platform_window_close();
}

void nudge_window(ArrowKey key) {
    const NudgeRow& row = NUDGE_TABLE[static_cast<int>(key)];
    int x = 0, y = 0;
    platform_window_position(x, y);
    platform_window_move(x + row.dx, y + row.dy);
}

void handle_destroy() {
    // The close button has already closed Ambient; Alt+F4 and the system
    // menu destroy the window without it, and must not leave it playing.
    stop_ambient();
}
