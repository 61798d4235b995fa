// WinMain: locates Ambient, takes the scale of the first monitor, registers
// the window class with the scene picture as its background, creates the
// borderless main window, the fonts and the scene, shows the window and
// runs the message loop.
#include "game/audio/win32/ambient_location.h"
#include "game/model/scene.h"
#include "game/shell/win32/win32_shell.h"

HWND main_window = nullptr;
HFONT large_font = nullptr;
HFONT small_font = nullptr;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    locate_ambient(win32_program_path());

    // Where a pop-up given CW_USEDEFAULT lands: the top-left corner of the
    // primary monitor. The window opens on its work area there, at the
    // scale that fits it (1 on a screen the field fits as it is).
    HMONITOR monitor = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    window_scale = scale_for_monitor(monitor);
    const RECT area = work_area(monitor);

    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    window_class.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    // An icon used as a cursor: its hot spot is its centre, where the
    // cross-hair's lines meet.
    window_class.hCursor = static_cast<HCURSOR>(
        LoadImageA(instance, MAKEINTRESOURCEA(CROSSHAIR_ICON), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    window_class.hbrBackground = make_scene_brush();
    window_class.lpszClassName = "Plinkfield";

    if (!RegisterClassExA(&window_class)) {
        MessageBoxA(nullptr, "Window Registration Failed!", "Error!", MB_ICONEXCLAMATION | MB_OK);
        return 0;
    }

    main_window = CreateWindowExA(0, "Plinkfield", "Plinkfield", WS_POPUP | WS_SYSMENU, area.left, area.top,
                                  window_width(), window_height(), nullptr, nullptr, instance, nullptr);
    if (!main_window) {
        MessageBoxA(nullptr, "Window Creation Failed!", "Error!", MB_ICONEXCLAMATION | MB_OK);
        return 0;
    }

    make_label_fonts();

    create_scene();
    ShowWindow(main_window, show_command);

    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
