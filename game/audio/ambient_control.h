// The game's side of the Ambient companion: where it lies, starting it at
// START, closing it at each end of a game. The window title is the whole
// protocol between the two programs.
#pragma once

#include <string>

inline constexpr const char* AMBIENT_RELATIVE_PATH = "Audio_Bkgrnd\\Ambient.exe";
inline constexpr const char* AMBIENT_TITLE = "Ambient";

// Both empty until locate_ambient runs.
extern std::string module_dir;
extern std::string ambient_path;

// The very first step of start-up: fills module_dir and ambient_path.
void locate_ambient();

// Launches a new Ambient; a failure is reported in a message box and the
// game goes on without background sound.
void start_ambient();

// Closes every running Ambient (none running: nothing happens).
void stop_ambient();
