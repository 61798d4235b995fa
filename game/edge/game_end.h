// The end of a game, as the edge sees it between two inputs: GAME OVER (a
// shot) and CANCEL take a running game back to idle, and a close while a
// game runs ends it as well. The rules know nothing of it; a backend that
// keeps the best games listens here.
#pragma once

enum class GameEnd { over, canceled, closed };

struct FinishedGame {
    GameEnd how = GameEnd::over;
    int score = 0, level = 1, hits = 0, misses = 0, shots = 0;
};

// Called on the game's thread, inside the input that ended the game: it
// must not wait for anything (a disk, say). Meanwhile recording_so_far()
// is the game's recording: the session from its start to this game's end
// (without the close of a game the window's close ended: it changes
// nothing of the game's state, and the simulator would stop at it).
using GameEndSink = void (*)(const FinishedGame& game);
// nullptr: nobody listens (a replay's games are not played).
void on_game_end(GameEndSink sink);

// For the edge's inputs: whether a game runs now, and, after an input (its
// command, or 0 for the rest), whether that input ended the one that ran.
bool game_running();
void note_game_end(bool was_running, int control_id);
