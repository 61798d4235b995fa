// WinMain: locates Ambient, registers the window class with the scene
// picture as its background, creates the borderless main window, the fonts
// and the scene, shows the window and runs the message loop.
#include "game/audio/win32/ambient_location.h"
#include "game/model/scene.h"
#include "game/shell/win32/win32_shell.h"

HWND main_window = nullptr;
HFONT large_font = nullptr;
HFONT small_font = nullptr;

static HFONT create_label_font(int height, const char* face) {
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH, face);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    locate_ambient(win32_program_path());

    HBITMAP scene_picture = static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(SCENE_PICTURE), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));

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
    window_class.hbrBackground = CreatePatternBrush(scene_picture);
    window_class.lpszClassName = "Plinkfield";
    DeleteObject(scene_picture);  // the brush keeps its own copy

    if (!RegisterClassExA(&window_class)) {
        MessageBoxA(nullptr, "Window Registration Failed!", "Error!", MB_ICONEXCLAMATION | MB_OK);
        return 0;
    }

    // A pop-up given CW_USEDEFAULT lands at the screen's top-left corner.
    main_window = CreateWindowExA(0, "Plinkfield", "Plinkfield", WS_POPUP | WS_SYSMENU, CW_USEDEFAULT,
                                  CW_USEDEFAULT, FIELD_WIDTH, FIELD_HEIGHT, nullptr, nullptr, instance, nullptr);
    if (!main_window) {
        MessageBoxA(nullptr, "Window Creation Failed!", "Error!", MB_ICONEXCLAMATION | MB_OK);
        return 0;
    }

    large_font = create_label_font(label_font(Font::large).cell_height, label_font(Font::large).face);
    small_font = create_label_font(label_font(Font::small).cell_height, label_font(Font::small).face);

    create_scene();
    ShowWindow(main_window, show_command);

    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
