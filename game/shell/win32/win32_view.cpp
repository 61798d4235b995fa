// The scale the window is drawn at, from its monitor alone: the same rule
// as the Linux game's (automatic_scale), for the work area in device
// pixels. Where the field fits one to one the scale is 1 and every
// rectangle, font and picture is the reference's own.
#include <cmath>

#include "game/edge/view_fit.h"
#include "game/shell/win32/win32_shell.h"

double window_scale = 1.0;

RECT work_area(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info)) return RECT{0, 0, FIELD_WIDTH, FIELD_HEIGHT};
    return info.rcWork;
}

double scale_for_monitor(HMONITOR monitor) {
    const RECT area = work_area(monitor);
    return automatic_scale(area.right - area.left, area.bottom - area.top);
}

int to_device(int field) { return device_edge(field, window_scale); }

int to_field(int device) { return field_pixel(device, window_scale); }

int window_width() { return to_device(FIELD_WIDTH); }

int window_height() { return to_device(FIELD_HEIGHT); }

static HFONT create_label_font(int height, const char* face) {
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH, face);
}

static HFONT scaled_font(Font font) {
    const LabelFont& f = label_font(font);
    return create_label_font(static_cast<int>(std::lround(f.cell_height * window_scale)), f.face);
}

void make_label_fonts() {
    large_font = scaled_font(Font::large);
    small_font = scaled_font(Font::small);
}

void rescale_window(HMONITOR monitor, int left, int top) {
    const double scale = scale_for_monitor(monitor);
    if (scale != window_scale) {
        window_scale = scale;
        HBRUSH old_brush = reinterpret_cast<HBRUSH>(
            SetClassLongPtrA(main_window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(make_scene_brush())));
        HFONT old_large = large_font, old_small = small_font;
        make_label_fonts();
        rescale_scene();
        // Only now that nothing holds them any more.
        DeleteObject(old_brush);
        DeleteObject(old_large);
        DeleteObject(old_small);
    }
    SetWindowPos(main_window, nullptr, left, top, window_width(), window_height(), SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(main_window, nullptr, TRUE);
}
