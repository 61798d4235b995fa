// scene-probe: looks at a running Plinkfield from outside, for the
// end-to-end tests. A console program; every answer is plain lines on
// stdout, and the exit code is 0 when the thing asked for was found.
//
//   scene                 the main window, then every child in stacking
//                         order (topmost first):
//                           window X Y W H VISIBLE ICONIC
//                           child ID X Y W H VISIBLE CLASS STYLE EXSTYLE TEXT
//                         child positions are in the main window's client
//                         coordinates, window ones on the screen; styles
//                         in hexadecimal
//   wait-window MS        prints "waiting", waits for the main window to
//                         be visible, then prints "shown UNIX_MS", the
//                         moment it saw it
//   wait-gone MS          waits until no main window exists
//   wait-show MS ID... [then ID...]...
//                         waits until one of the children goes from hidden
//                         to visible, then prints "shown ID X Y W H"; after
//                         a "then", goes on to wait the same way for one
//                         of the next group, all within MS
//   gui                   the game thread's keyboard focus, mouse capture
//                         and move loop: "focus F capture C movesize M",
//                         F and C "main", a child's ID or "none", M 0 or 1
//   resources             what the game process holds:
//                           gdi N user N handles N windows N
//                         GDI and USER objects by GetGuiResources ("-"
//                         where the system does not count them), kernel
//                         handles, and its windows, children included
//   host TITLE MS         makes a hidden top-level window with this title,
//                         prints "ready", and waits until it is closed
//                         (exit 0) or MS pass (exit 1)
//   count TITLE           prints "ALL VISIBLE": how many top-level windows
//                         have exactly this title, and how many of them
//                         are visible
//   restore               restores the main window from minimized
//   close TITLE           sends WM_SYSCOMMAND SC_CLOSE to every top-level
//                         window with exactly this title, as the game does
//                         to close Ambient
//   box CAPTION MS        waits for a message box with this caption, then
//                         prints "box X Y TEXT" with the screen centre of
//                         its first button
//   version FILE          prints the version resource of a program file:
//                           file_version A.B.C.D
//                           product_version A.B.C.D
//                           NAME VALUE   for FileDescription, ProductName
//   manifest FILE         prints the application manifest a program file
//                         carries (resource 1 of type 24)
//   shortcut FILE         prints the target of a shell link (.lnk) file
//   open FILE             opens a file as the shell does (a shortcut
//                         starts its target), without waiting
//   owner TITLE           prints the program file of the process that
//                         owns the first top-level window with this title
//   programs              what Add/Remove Programs shows, one line each:
//                           entry NAME|VERSION|PUBLISHER    an Uninstall key
//                           product NAME|VERSION|PUBLISHER|ICON
//                         a product of Windows Installer; ICON "icon"
//                         when its icon file exists, "-" otherwise
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "installed.h"

static constexpr DWORD POLL_MS = 5;

static std::string text_of(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

static std::string class_of(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

static HWND game_window() { return FindWindowA("Plinkfield", "Plinkfield"); }

static RECT client_rect_of(HWND child, HWND parent) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

static long long unix_ms() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<long long>((ticks - 116444736000000000ULL) / 10000ULL);
}

// Runs `found` every few milliseconds until it returns true or ms pass.
template <typename Test>
static bool wait_for(DWORD ms, Test found) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (found()) return true;
        if (GetTickCount() - start >= ms) return false;
        Sleep(POLL_MS);
    }
}

static int print_scene() {
    HWND main = game_window();
    if (!main) {
        std::printf("no window\n");
        return 1;
    }
    RECT w;
    GetWindowRect(main, &w);
    std::printf("window %ld %ld %ld %ld %d %d\n", w.left, w.top, w.right - w.left, w.bottom - w.top,
                IsWindowVisible(main) ? 1 : 0, IsIconic(main) ? 1 : 0);
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT r = client_rect_of(child, main);
        const DWORD style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
        const DWORD ex_style = static_cast<DWORD>(GetWindowLongA(child, GWL_EXSTYLE));
        std::printf("child %d %ld %ld %ld %ld %d %s %08lX %08lX %s\n", GetDlgCtrlID(child), r.left, r.top,
                    r.right - r.left, r.bottom - r.top, (style & WS_VISIBLE) ? 1 : 0, class_of(child).c_str(), style,
                    ex_style, text_of(child).c_str());
    }
    return 0;
}

static int wait_window(DWORD ms) {
    std::printf("waiting\n");
    if (!wait_for(ms, [] {
            HWND main = game_window();
            return main && IsWindowVisible(main);
        }))
        return 1;
    std::printf("shown %lld\n", unix_ms());
    return 0;
}

static int wait_gone(DWORD ms) { return wait_for(ms, [] { return game_window() == nullptr; }) ? 0 : 1; }

static bool is_visible(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

// One "shown" line for each group of ids, in order: a group counts once
// one of its children goes from hidden to visible. Only a fresh
// appearance counts: a child already visible when its group's wait starts
// must be seen hidden first.
static int wait_show(DWORD ms, const std::vector<std::vector<int>>& groups) {
    const DWORD start = GetTickCount();
    for (const std::vector<int>& ids : groups) {
        std::vector<bool> seen_hidden(ids.size(), false);
        HWND shown = nullptr;
        int shown_id = 0;
        const DWORD spent = GetTickCount() - start;
        const bool found = wait_for(spent < ms ? ms - spent : 0, [&] {
            HWND main = game_window();
            if (!main) return false;
            for (std::size_t i = 0; i < ids.size(); ++i) {
                HWND child = GetDlgItem(main, ids[i]);
                if (!child) continue;
                if (!is_visible(child)) {
                    seen_hidden[i] = true;
                } else if (seen_hidden[i]) {
                    shown = child;
                    shown_id = ids[i];
                    return true;
                }
            }
            return false;
        });
        if (!found) return 1;
        const RECT r = client_rect_of(shown, game_window());
        std::printf("shown %d %ld %ld %ld %ld\n", shown_id, r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    return 0;
}

// "main", a child's control id, "none", or "other" for anything else.
static std::string window_name(HWND window, HWND main) {
    if (!window) return "none";
    if (window == main) return "main";
    if (GetParent(window) == main) return std::to_string(GetDlgCtrlID(window));
    return "other";
}

static int print_gui() {
    HWND main = game_window();
    if (!main) {
        std::printf("no window\n");
        return 1;
    }
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info)) return 1;
    std::printf("focus %s capture %s movesize %d\n", window_name(info.hwndFocus, main).c_str(),
                window_name(info.hwndCapture, main).c_str(), (info.flags & GUI_INMOVESIZE) ? 1 : 0);
    return 0;
}

struct ProcessWindows {
    DWORD pid;
    int count;
};

static BOOL CALLBACK count_child(HWND, LPARAM lparam) {
    ++reinterpret_cast<ProcessWindows*>(lparam)->count;
    return TRUE;
}

static BOOL CALLBACK count_process_windows(HWND window, LPARAM lparam) {
    ProcessWindows& w = *reinterpret_cast<ProcessWindows*>(lparam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == w.pid) {
        ++w.count;
        EnumChildWindows(window, count_child, lparam);
    }
    return TRUE;
}

static int print_resources() {
    HWND main = game_window();
    if (!main) {
        std::printf("no window\n");
        return 1;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!process) return 1;
    auto gui_count = [&](DWORD which) {
        SetLastError(0);
        const DWORD n = GetGuiResources(process, which);
        return n == 0 && GetLastError() != 0 ? std::string("-") : std::to_string(n);
    };
    DWORD handles = 0;
    // A running process holds some handles: none means they are not counted.
    const std::string handle_count =
        GetProcessHandleCount(process, &handles) && handles ? std::to_string(handles) : "-";
    ProcessWindows windows{pid, 0};
    EnumWindows(count_process_windows, reinterpret_cast<LPARAM>(&windows));
    std::printf("gdi %s user %s handles %s windows %d\n", gui_count(GR_GDIOBJECTS).c_str(),
                gui_count(GR_USEROBJECTS).c_str(), handle_count.c_str(), windows.count);
    CloseHandle(process);
    return 0;
}

static LRESULT CALLBACK host_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wparam, lparam);
}

// A stand-in for another program's window: the default handling of
// WM_SYSCOMMAND SC_CLOSE destroys it, as it does Ambient's.
static int host_window(const char* title, DWORD ms) {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = host_procedure;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = "SceneProbeHost";
    if (!RegisterClassA(&window_class)) return 1;
    HWND window = CreateWindowExA(0, "SceneProbeHost", title, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  window_class.hInstance, nullptr);
    if (!window) return 1;
    std::printf("ready\n");
    const UINT_PTR deadline = SetTimer(nullptr, 0, ms, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.wParam == deadline) return 1;
        DispatchMessageA(&message);
    }
    return 0;
}

struct TitleCount {
    const char* title;
    int all;
    int visible;
};

static BOOL CALLBACK count_titled(HWND window, LPARAM lparam) {
    TitleCount& c = *reinterpret_cast<TitleCount*>(lparam);
    if (text_of(window) == c.title) {
        ++c.all;
        if (IsWindowVisible(window)) ++c.visible;
    }
    return TRUE;
}

static int count_windows(const char* title) {
    TitleCount c{title, 0, 0};
    EnumWindows(count_titled, reinterpret_cast<LPARAM>(&c));
    std::printf("%d %d\n", c.all, c.visible);
    return 0;
}

struct TitleList {
    const char* title;
    std::vector<HWND> windows;
};

static BOOL CALLBACK list_titled(HWND window, LPARAM lparam) {
    TitleList& list = *reinterpret_cast<TitleList*>(lparam);
    if (text_of(window) == list.title) list.windows.push_back(window);
    return TRUE;
}

static int close_windows(const char* title) {
    TitleList list{title, {}};
    EnumWindows(list_titled, reinterpret_cast<LPARAM>(&list));
    for (HWND window : list.windows) SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return list.windows.empty() ? 1 : 0;
}

static int restore_window() {
    HWND main = game_window();
    // Async: the game's thread does the restoring, the probe need not wait.
    return main && ShowWindowAsync(main, SW_RESTORE) ? 0 : 1;
}

static int find_box(const char* caption, DWORD ms) {
    HWND box = nullptr;
    if (!wait_for(ms, [&] {
            box = FindWindowA("#32770", caption);
            return box && IsWindowVisible(box);
        }))
        return 1;
    std::string message;
    HWND button = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string cls = class_of(child);
        if (cls == "Static" && message.empty()) message = text_of(child);
        if (cls == "Button" && !button) button = child;
    }
    if (!button) return 1;
    RECT r;
    GetWindowRect(button, &r);
    std::printf("box %ld %ld %s\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2, message.c_str());
    return 0;
}

static DWORD milliseconds(const char* arg) { return static_cast<DWORD>(std::strtoul(arg, nullptr, 10)); }

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // "\n", not "\r\n", for the shell
    setvbuf(stdout, nullptr, _IONBF, 0);
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "scene") return print_scene();
    if (command == "wait-window" && argc == 3) return wait_window(milliseconds(argv[2]));
    if (command == "wait-gone" && argc == 3) return wait_gone(milliseconds(argv[2]));
    if (command == "wait-show" && argc >= 4) {
        std::vector<std::vector<int>> groups(1);
        for (int i = 3; i < argc; ++i) {
            if (std::strcmp(argv[i], "then") == 0)
                groups.emplace_back();
            else
                groups.back().push_back(std::atoi(argv[i]));
        }
        for (const std::vector<int>& ids : groups)
            if (ids.empty()) return 2;
        return wait_show(milliseconds(argv[2]), groups);
    }
    if (command == "gui") return print_gui();
    if (command == "resources") return print_resources();
    if (command == "host" && argc == 4) return host_window(argv[2], milliseconds(argv[3]));
    if (command == "count" && argc == 3) return count_windows(argv[2]);
    if (command == "restore") return restore_window();
    if (command == "close" && argc == 3) return close_windows(argv[2]);
    if (command == "version" && argc == 3) return print_version(argv[2]);
    if (command == "box" && argc == 4) return find_box(argv[2], milliseconds(argv[3]));
    if (command == "manifest" && argc == 3) return print_manifest(argv[2]);
    if (command == "shortcut" && argc == 3) return print_shortcut(argv[2]);
    if (command == "open" && argc == 3) return open_file(argv[2]);
    if (command == "owner" && argc == 3) return print_owner(argv[2]);
    if (command == "programs") return print_programs();
    std::fprintf(stderr, "usage: scene-probe scene | wait-window MS | wait-gone MS |"
                         " wait-show MS ID... [then ID...]... | gui | resources | host TITLE MS |"
                         " count TITLE | restore | close TITLE | box CAPTION MS | version FILE |"
                         " manifest FILE | shortcut FILE | open FILE | owner TITLE | programs\n");
    return 2;
}
