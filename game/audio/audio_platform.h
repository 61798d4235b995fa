// What the audio code needs from the platform. One implementation per
// backend (win32, sdl) plus the recording one used by tests and the
// simulator; the backend is picked by what the program links. play_cue,
// declared in cues.h, belongs to the same set.
#pragma once

#include <string>

// Full path of the running program file.
std::string platform_program_path();

// Start a program without waiting for it and without keeping a handle.
// False when the platform reports that it could not be started.
bool platform_launch_program(const std::string& path);

// Ask every top-level window with this exact title to close (each window
// at most once), waiting until each has handled the request.
void platform_close_windows_titled(const char* title);
