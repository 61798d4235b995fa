// The audio seam on Windows: cues played from the program's own WAVE
// resources; Ambient started with the shell's "open" verb and closed by its
// window title.
#include <windows.h>

#include <mmsystem.h>
#include <shellapi.h>

#include <cwchar>
#include <vector>

#include "game/audio/win32/ambient_location.h"
#include "game/model/cues.h"
#include "game/seam/audio.h"

void play_cue(Cue c) {
    // No SND_NODEFAULT: a cue that can't be played gives the system sound.
    PlaySoundA(MAKEINTRESOURCEA(cue_row(c).wave_id), GetModuleHandleA(nullptr), SND_RESOURCE | SND_ASYNC);
}

std::string win32_program_path() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// Every Ambient this game has started since the last stop, by its process.
// A new Ambient makes its window well after its process exists (more than
// a second on a busy machine); an end of game that came sooner used to find
// no window to close, and the sound played on after the game.
static std::vector<HANDLE> started_ambients;

// How long a stop waits for a just-started Ambient to make its window. The
// game's thread waits with it, so this bounds the stall should one never
// make it.
static constexpr DWORD AMBIENT_WINDOW_WAIT_MS = 5000;
static constexpr DWORD AMBIENT_POLL_MS = 10;

bool platform_ambient_start() {
    SHELLEXECUTEINFOA request{};
    request.cbSize = sizeof request;
    // The same "open" as ShellExecuteA (no shell error box either: the game
    // reports a failure its own way), keeping the process handle.
    request.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    request.lpVerb = "open";
    request.lpFile = ambient_path.c_str();
    request.nShow = SW_SHOW;
    const bool started = ShellExecuteExA(&request) && reinterpret_cast<INT_PTR>(request.hInstApp) > 32;
    if (request.hProcess) started_ambients.push_back(request.hProcess);
    return started;
}

// The system's lookup by title (FindWindow) ignores case, and so does this.
static bool titled_ambient(HWND window) {
    wchar_t title[16] = L"";
    MultiByteToWideChar(CP_ACP, 0, AMBIENT_TITLE, -1, title, 16);
    // Room for one character more than the title, so a longer one can't match.
    wchar_t text[16] = L"";
    GetWindowTextW(window, text, static_cast<int>(std::wcslen(title)) + 2);
    return CompareStringOrdinal(text, -1, title, -1, TRUE) == CSTR_EQUAL;
}

static BOOL CALLBACK collect_ambient_window(HWND window, LPARAM lparam) {
    if (titled_ambient(window)) reinterpret_cast<std::vector<HWND>*>(lparam)->push_back(window);
    return TRUE;
}

// Every top-level window titled Ambient, hidden ones included.
static std::vector<HWND> ambient_windows() {
    std::vector<HWND> found;
    EnumWindows(collect_ambient_window, reinterpret_cast<LPARAM>(&found));
    return found;
}

// An Ambient can be closed once it has made its window; one that has ended
// needs nothing more.
static bool closable(HANDLE process, const std::vector<HWND>& windows) {
    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return true;
    const DWORD id = GetProcessId(process);
    for (HWND window : windows) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == id) return true;
    }
    return false;
}

void platform_ambient_stop() {
    std::vector<HWND> windows = ambient_windows();
    const DWORD waited_from = GetTickCount();
    for (;;) {
        bool all_closable = true;
        for (HANDLE process : started_ambients) all_closable = all_closable && closable(process, windows);
        if (all_closable || GetTickCount() - waited_from >= AMBIENT_WINDOW_WAIT_MS) break;
        Sleep(AMBIENT_POLL_MS);
        windows = ambient_windows();
    }
    // Collected first, then closed: each window is asked once, and closing
    // one cannot disturb the enumeration. Every window with the title goes,
    // Ambients left over from elsewhere too.
    for (HWND window : windows) SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    for (HANDLE process : started_ambients) CloseHandle(process);
    started_ambients.clear();
}
