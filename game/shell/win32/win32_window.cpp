// The main window's procedure: each message it handles becomes one call
// into the game; everything else goes to the default procedure. Points
// reach the game in field pixels, whatever the scale the window is drawn at.
#include <array>

#include "game/model/buttons.h"
#include "game/rules/tick.h"
#include "game/rules/window_events.h"
#include "game/shell/win32/win32_shell.h"

using MessageHandler = LRESULT (*)(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

struct MessageRow {
    UINT message;
    MessageHandler handler;
};

static LRESULT on_destroy(HWND, UINT, WPARAM, LPARAM) {
    // Reached by the close button and by Alt+F4 or the system menu alike.
    handle_destroy();
    PostQuitMessage(0);
    return 0;
}

static LRESULT on_paint(HWND window, UINT, WPARAM, LPARAM) {
    // Nothing to draw: the class brush erases to the scene picture and the
    // scene's child windows paint themselves.
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
}

static LRESULT on_draw_item(HWND, UINT, WPARAM wparam, LPARAM lparam) {
    draw_button(LOWORD(wparam), *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
    return 0;
}

struct ArrowRow {
    WPARAM virtual_key;
    ArrowKey key;
};

static constexpr std::array<ArrowRow, 4> ARROW_KEYS = {{
    {VK_LEFT, ArrowKey::left},
    {VK_UP, ArrowKey::up},
    {VK_RIGHT, ArrowKey::right},
    {VK_DOWN, ArrowKey::down},
}};

static LRESULT on_key_down(HWND, UINT, WPARAM wparam, LPARAM) {
    // Any other key changes nothing.
    for (const ArrowRow& row : ARROW_KEYS)
        if (row.virtual_key == wparam) nudge_window(row.key);
    return 0;
}

static LRESULT on_command(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    // The notification code is not looked at: a quick second click on a
    // button arrives as BN_DOUBLECLICKED and runs the command as well.
    dispatch_command(LOWORD(wparam));
    // A clicked button keeps the keyboard focus and would swallow the arrow
    // keys; the window takes it back so nudging works in every stage.
    if (IsWindow(window)) SetFocus(window);
    return DefWindowProcA(window, message, wparam, lparam);
}

static LRESULT on_timer(HWND, UINT, WPARAM, LPARAM) {
    game_tick();
    return 0;
}

static LRESULT on_ctl_color_static(HWND, UINT, WPARAM wparam, LPARAM) {
    HDC label = reinterpret_cast<HDC>(wparam);
    SetTextColor(label, RGB(0, 0, 0));
    SetBkMode(label, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH));
}

static LRESULT on_mouse_move(HWND, UINT, WPARAM, LPARAM lparam) {
    follow_cursor(to_field(LOWORD(lparam)), to_field(HIWORD(lparam)));
    return 0;
}

static LRESULT on_left_button_down(HWND window, UINT, WPARAM, LPARAM lparam) {
    SetFocus(window);  // back from a button pressed and released elsewhere
    handle_press(to_field(LOWORD(lparam)), to_field(HIWORD(lparam)));
    return 0;
}

// Moved onto a monitor of another density (sent to a DPI-aware window
// only): the scale of that monitor, at the place the system suggests.
static LRESULT on_dpi_changed(HWND, UINT, WPARAM, LPARAM lparam) {
    const RECT& suggested = *reinterpret_cast<const RECT*>(lparam);
    rescale_window(MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST), suggested.left, suggested.top);
    return 0;
}

static constexpr std::array<MessageRow, 10> MESSAGE_TABLE = {{
    {WM_DESTROY, on_destroy},
    {WM_PAINT, on_paint},
    {WM_DRAWITEM, on_draw_item},
    {WM_KEYDOWN, on_key_down},
    {WM_COMMAND, on_command},
    {WM_TIMER, on_timer},
    {WM_CTLCOLORSTATIC, on_ctl_color_static},
    {WM_MOUSEMOVE, on_mouse_move},
    {WM_LBUTTONDOWN, on_left_button_down},
    {WM_DPICHANGED, on_dpi_changed},
}};

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    for (const MessageRow& row : MESSAGE_TABLE)
        if (row.message == message) return row.handler(window, message, wparam, lparam);
    return DefWindowProcA(window, message, wparam, lparam);
}

// The platform's push-button procedure, which every button hands on to.
static WNDPROC platform_button_procedure = nullptr;

// A press takes the keyboard focus to the button, and a press released off
// the button runs no command, so on_command never takes it back: the arrow
// keys went to the button until the next press on the field. Every end of
// a press (released on or off the button, or the capture taken away) ends
// the button's mouse capture, and there the main window takes the focus
// back, before any command of the release runs.
static LRESULT CALLBACK button_procedure(HWND button, UINT message, WPARAM wparam, LPARAM lparam) {
    const LRESULT result = CallWindowProcA(platform_button_procedure, button, message, wparam, lparam);
    if (message == WM_CAPTURECHANGED && GetFocus() == button) SetFocus(main_window);
    return result;
}

void subclass_button(HWND button) {
    platform_button_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(button_procedure)));
}

void draw_button(int control_id, const DRAWITEMSTRUCT& request) {
    const int image = button_image(control_id, (request.itemState & ODS_SELECTED) != 0);
    const RECT& item = request.rcItem;
    // Made at the button's own size, so that the stretch is one to one.
    HBITMAP bitmap = load_picture(image, item.right - item.left, item.bottom - item.top);
    BITMAP size{};
    GetObjectA(bitmap, sizeof size, &size);

    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ kept = SelectObject(memory, bitmap);
    StretchBlt(request.hDC, item.left, item.top, item.right - item.left, item.bottom - item.top, memory, 0, 0,
               size.bmWidth, size.bmHeight, SRCCOPY);
    SelectObject(memory, kept);
    DeleteDC(memory);
    DeleteObject(bitmap);
}
