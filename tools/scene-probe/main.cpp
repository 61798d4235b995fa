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
//   wait-show MS ID...    waits until one of the children goes from hidden
//                         to visible, then prints "shown ID X Y W H"
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
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

static int wait_show(DWORD ms, const std::vector<int>& ids) {
    // Only a fresh appearance counts: a child already visible when the
    // wait starts must be seen hidden first.
    std::vector<bool> seen_hidden(ids.size(), false);
    HWND shown = nullptr;
    int shown_id = 0;
    const bool found = wait_for(ms, [&] {
        HWND main = game_window();
        if (!main) return false;
        for (std::size_t i = 0; i < ids.size(); ++i) {
            HWND child = GetDlgItem(main, ids[i]);
            if (!child) continue;
            const bool visible = (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0;
            if (!visible) {
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

static int print_version(const char* file) {
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeA(file, &unused);
    if (!size) return 1;
    std::vector<char> info(size);
    if (!GetFileVersionInfoA(file, 0, size, info.data())) return 1;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed) return 1;
    std::printf("file_version %lu.%lu.%lu.%lu\n", fixed->dwFileVersionMS >> 16, fixed->dwFileVersionMS & 0xFFFF,
                fixed->dwFileVersionLS >> 16, fixed->dwFileVersionLS & 0xFFFF);
    std::printf("product_version %lu.%lu.%lu.%lu\n", fixed->dwProductVersionMS >> 16,
                fixed->dwProductVersionMS & 0xFFFF, fixed->dwProductVersionLS >> 16,
                fixed->dwProductVersionLS & 0xFFFF);
    WORD* translation = nullptr;
    if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                        &length) ||
        length < 2 * sizeof(WORD))
        return 1;
    for (const char* name : {"FileDescription", "ProductName"}) {
        char path[96];
        std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1], name);
        char* value = nullptr;
        if (VerQueryValueA(info.data(), path, reinterpret_cast<void**>(&value), &length) && value)
            std::printf("%s %s\n", name, value);
    }
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
        std::vector<int> ids;
        for (int i = 3; i < argc; ++i) ids.push_back(std::atoi(argv[i]));
        return wait_show(milliseconds(argv[2]), ids);
    }
    if (command == "count" && argc == 3) return count_windows(argv[2]);
    if (command == "restore") return restore_window();
    if (command == "close" && argc == 3) return close_windows(argv[2]);
    if (command == "version" && argc == 3) return print_version(argv[2]);
    if (command == "box" && argc == 4) return find_box(argv[2], milliseconds(argv[3]));
    std::fprintf(stderr, "usage: scene-probe scene | wait-window MS | wait-gone MS | wait-show MS ID... |"
                         " count TITLE | restore | close TITLE | box CAPTION MS | version FILE\n");
    return 2;
}
