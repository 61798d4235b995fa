// What the SDL sound and Ambient files give the rest of the SDL build.
#pragma once

#include <string>
#include <vector>

// -------------------------------------------------------------- sdl_sound

// Opens the sound device and loads the cues. Without a device (or with
// SDL_AUDIODRIVER=dummy's silence) the game plays on without a sound and
// says so in one line on stderr.
void sound_open();
void sound_close();
bool sound_available();
// M: the cues and every Ambient fall silent, or come back.
void sound_set_muted(bool muted);
bool sound_muted();
// The refused command's beep, on a channel of its own so that it does not
// cut a cue off (Windows plays MessageBeep apart from PlaySound).
void sound_beep();

// ------------------------------------------------------------ sdl_ambient

// Finds plinkfield-ambient from the game's own program file; the first
// step of start-up.
void ambient_locate();
// Sends one line ("mute", "unmute") to every Ambient running.
void ambient_tell_all(const std::string& line);
// The Ambient processes running now.
std::vector<int> ambient_pids();
