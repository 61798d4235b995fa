// What the game needs from the platform's sound side. One implementation per
// backend (win32, sdl, web) plus the recording one used by tests and the
// simulator; the backend is picked by what the program links.
#pragma once

// A row of CUE_TABLE (game/model/cues.h).
enum class Cue;

// Play a cue: asynchronous, from the program's own resources; it cuts off
// the cue still playing.
void play_cue(Cue c);

// Launch a new Ambient companion without waiting for it to play. False when
// it could not be started (its program missing or not startable).
bool platform_ambient_start();

// End every Ambient this game has started and that still runs; returns
// once they are gone (or asked to go, where the platform cannot tell).
// With none running nothing happens.
void platform_ambient_stop();
