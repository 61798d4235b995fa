// What the audio code needs from the platform. One implementation per
// backend (win32, sdl, web) plus the recording one used by tests and the
// simulator; the backend is picked by what the program links. play_cue,
// declared in cues.h, belongs to the same set.
#pragma once

// Launch a new Ambient companion without waiting for it to play. False when
// it could not be started (its program missing or not startable).
bool platform_ambient_start();

// End every Ambient this game has started and that still runs; returns
// once they are gone (or asked to go, where the platform cannot tell).
// With none running nothing happens.
void platform_ambient_stop();
