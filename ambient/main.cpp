// Ambient: loops the background sound behind a game, from an invisible
// window titled "Ambient". The game starts it and ends it by sending that
// window SC_CLOSE; the title is the whole protocol between the two.
#include <windows.h>

#include <mmsystem.h>

#include "game/model/layout.h"

static constexpr int WINDOW_SIZE = 80;

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

void playwav1() {
    PlaySoundA(MAKEINTRESOURCEA(AMBIENT_LOOP_WAVE), GetModuleHandleA(nullptr), SND_RESOURCE | SND_ASYNC | SND_LOOP);
}

// Plays the short spare sound to its end; nothing calls it.
void playwav2() { PlaySoundA(MAKEINTRESOURCEA(AMBIENT_CHIME_WAVE), GetModuleHandleA(nullptr), SND_RESOURCE); }

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HBITMAP picture = static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(AMBIENT_PICTURE), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));

    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = WndProc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    window_class.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    window_class.hbrBackground = CreatePatternBrush(picture);
    window_class.lpszClassName = "WindowClass";
    DeleteObject(picture);

    if (!RegisterClassExA(&window_class)) {
        MessageBoxA(nullptr, "Window Registration Failed!", "Error!", MB_ICONEXCLAMATION | MB_OK);
        return 0;
    }

    // Offsets from the screen's centre, halves cut to 16 bits; on a screen
    // under 680 pixels high y is negative, which does no harm unseen.
    const int x = static_cast<short>(GetSystemMetrics(SM_CXSCREEN) / 2) - 100;
    const int y = static_cast<short>(GetSystemMetrics(SM_CYSCREEN) / 2) - 340;
    // Never shown: no WS_VISIBLE, no ShowWindow, no taskbar button.
    HWND window = CreateWindowExA(WS_EX_CLIENTEDGE, "WindowClass", "Ambient", WS_POPUP | WS_SYSMENU, x, y, WINDOW_SIZE,
                                  WINDOW_SIZE, nullptr, nullptr, instance, nullptr);
    if (!window) {
        MessageBoxA(nullptr, "Window Creation Failed!", "Error!", MB_ICONEXCLAMATION | MB_OK);
        return 0;
    }

    playwav1();

    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
