// The scene's child windows, kept in step with the scene model. The model
// is the truth the rules and hit tests read; each change to an element is
// copied onto its window here, the window being created on the first one.
#include <array>
#include <string>

#include "game/model/scene.h"
#include "game/shell/win32/win32_shell.h"

struct KindStyle {
    const char* window_class;
    DWORD style;
};

// By ElementKind. No border, sibling clipping or notification style: the
// statics let presses and moves through to the main window.
static constexpr std::array<KindStyle, 3> KIND_STYLES = {{
    {"STATIC", WS_CHILD | WS_VISIBLE | SS_BITMAP},    // sprite, 0x5000000E
    {"STATIC", WS_CHILD | WS_VISIBLE | SS_SIMPLE},    // label, 0x5000000B
    {"BUTTON", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW}, // button, 0x5000000B
}};
static_assert(KIND_STYLES[0].style == 0x5000000E && KIND_STYLES[1].style == 0x5000000B &&
              KIND_STYLES[2].style == 0x5000000B);

// What each window shows now, as far as the model has asked for it.
struct ElementWindow {
    HWND window = nullptr;
    bool visible = true;
    int image = 0;
    HBITMAP bitmap = nullptr;
    std::string text;
};

static std::array<ElementWindow, ELEMENT_COUNT> element_windows;

static void create_element_window(Element e) {
    const ElementRow& row = ELEMENT_TABLE[e];
    const SceneElement& model = scene[e];
    const KindStyle& kind = KIND_STYLES[static_cast<int>(row.kind)];
    ElementWindow& ew = element_windows[e];
    // Each new child goes below the ones created before it, so creating
    // them in table order stacks earlier rows on top.
    ew.window = CreateWindowExA(0, kind.window_class, model.text.c_str(), kind.style, model.x, model.y, model.w,
                                model.h, main_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                GetModuleHandleA(nullptr), nullptr);
    ew.visible = true;
    ew.text = model.text;
    if (row.kind == ElementKind::button) subclass_button(ew.window);
    if (row.kind == ElementKind::label)
        SendMessageA(ew.window, WM_SETFONT, reinterpret_cast<WPARAM>(row.font == Font::large ? large_font : small_font),
                     TRUE);
}

static void show_image(ElementWindow& ew, int image) {
    HBITMAP fresh = nullptr;
    if (image)
        fresh = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(image), IMAGE_BITMAP, 0, 0,
                                                LR_CREATEDIBSECTION));
    // The control sizes itself to the new bitmap, keeping its top-left.
    SendMessageA(ew.window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(fresh));
    if (ew.bitmap) DeleteObject(ew.bitmap);
    ew.bitmap = fresh;
    ew.image = image;
}

static bool rectangle_matches(HWND window, const SceneElement& model) {
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, main_window, reinterpret_cast<POINT*>(&r), 2);
    return r.left == model.x && r.top == model.y && r.right - r.left == model.w && r.bottom - r.top == model.h;
}

void platform_element_changed(int e) {
    ElementWindow& ew = element_windows[e];
    if (!ew.window) create_element_window(e);
    const SceneElement& model = scene[e];

    if (model.text != ew.text) {
        SetDlgItemTextA(main_window, ELEMENT_TABLE[e].id, model.text.c_str());
        ew.text = model.text;
    }
    if (model.image != ew.image) show_image(ew, model.image);
    if (!rectangle_matches(ew.window, model)) MoveWindow(ew.window, model.x, model.y, model.w, model.h, TRUE);
    if (model.visible != ew.visible) {
        ShowWindow(ew.window, model.visible ? SW_SHOW : SW_HIDE);
        ew.visible = model.visible;
    }
}
