// The audio seam on Windows: cues played from the program's own WAVE
// resources; Ambient started with the shell's "open" verb and closed by its
// window title.
#include <windows.h>

#include <mmsystem.h>
#include <shellapi.h>

#include <cstring>
#include <vector>

#include "../audio_platform.h"
#include "../cues.h"
#include "ambient_location.h"

void play_cue(Cue c) {
    // No SND_NODEFAULT: a cue that can't be played gives the system sound.
    PlaySoundA(MAKEINTRESOURCEA(cue_row(c).wave_id), GetModuleHandleA(nullptr), SND_RESOURCE | SND_ASYNC);
}

std::string win32_program_path() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

bool platform_ambient_start() {
    HINSTANCE result = ShellExecuteA(nullptr, "open", ambient_path.c_str(), nullptr, nullptr, SW_SHOW);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

struct TitleSearch {
    const char* title;
    std::vector<HWND> found;
};

static BOOL CALLBACK collect_titled(HWND window, LPARAM lparam) {
    TitleSearch& search = *reinterpret_cast<TitleSearch*>(lparam);
    const std::size_t length = std::strlen(search.title);
    // One character more than the title, so a longer title can't match.
    std::vector<char> text(length + 2, '\0');
    GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    if (std::strcmp(text.data(), search.title) == 0) search.found.push_back(window);
    return TRUE;
}

void platform_ambient_stop() {
    // Collected first, then closed: each window is asked once, and closing
    // one cannot disturb the enumeration. Hidden windows are included.
    TitleSearch search{AMBIENT_TITLE, {}};
    EnumWindows(collect_titled, reinterpret_cast<LPARAM>(&search));
    for (HWND window : search.found) SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}
