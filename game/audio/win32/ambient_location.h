// Where the Windows game finds its Ambient companion: Audio_Bkgrnd\Ambient.exe
// beside its own program file, and the window title by which it closes it.
// Plain text work, kept free of windows.h so the native tests can check it.
#pragma once

#include <string>

inline constexpr const char* AMBIENT_RELATIVE_PATH = "Audio_Bkgrnd\\Ambient.exe";
inline constexpr const char* AMBIENT_TITLE = "Ambient";

// Both empty until locate_ambient runs.
extern std::string module_dir;
extern std::string ambient_path;

// The very first step of start-up: fills module_dir and ambient_path from
// the full path of the running program file.
void locate_ambient(const std::string& program_path);

// Full path of the running program file (GetModuleFileNameA).
std::string win32_program_path();
