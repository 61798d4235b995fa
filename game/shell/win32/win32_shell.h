// What the Windows shell's files share: the program's handles and the
// fonts. Everything runs on the one GUI thread.
#pragma once

#include <windows.h>

#include "game/model/layout.h"

// Set by WinMain before anything else uses them.
extern HWND main_window;
extern HFONT large_font;
extern HFONT small_font;

// The main window's procedure, registered with its class by WinMain.
LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Called by the scene for each button it creates: however a press on the
// button ends, the keyboard focus goes back to the main window.
void subclass_button(HWND button);

// WM_DRAWITEM: paints an owner-drawn button from its normal or pressed
// bitmap, loaded for this paint and released after it.
void draw_button(int control_id, const DRAWITEMSTRUCT& request);
