// The scene's child windows, kept in step with the scene model. The model
// is the truth the rules and hit tests read; each change to an element is
// copied onto its window here, the window being created on the first one.
// Rectangles and pictures are the model's at the window's scale.
#include <array>
#include <string>

#include "game/edge/view_fit.h"
#include "game/model/bitmaps.h"
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

// The model's rectangle in device pixels of the main window's client area.
static RECT device_rect(const SceneElement& model) {
    return RECT{to_device(model.x), to_device(model.y), to_device(model.x + model.w), to_device(model.y + model.h)};
}

static void set_font(Element e) {
    HFONT font = ELEMENT_TABLE[e].font == Font::large ? large_font : small_font;
    SendMessageA(element_windows[e].window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

static void create_element_window(Element e) {
    const ElementRow& row = ELEMENT_TABLE[e];
    const SceneElement& model = scene[e];
    const KindStyle& kind = KIND_STYLES[static_cast<int>(row.kind)];
    ElementWindow& ew = element_windows[e];
    // Each new child goes below the ones created before it, so creating
    // them in table order stacks earlier rows on top.
    const RECT r = device_rect(model);
    ew.window = CreateWindowExA(0, kind.window_class, model.text.c_str(), kind.style, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, main_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                GetModuleHandleA(nullptr), nullptr);
    ew.visible = true;
    ew.text = model.text;
    if (row.kind == ElementKind::button) subclass_button(ew.window);
    if (row.kind == ElementKind::label) set_font(e);
}

static void show_image(ElementWindow& ew, int image) {
    HBITMAP fresh = nullptr;
    // Scaled, a picture big enough for its element wherever it stands;
    // the element's rectangle cuts off what is left over.
    if (const BitmapInfo* b = image ? find_bitmap(image) : nullptr)
        fresh = load_picture(image, device_length(b->width, window_scale), device_length(b->height, window_scale));
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
    const RECT want = device_rect(model);
    return r.left == want.left && r.top == want.top && r.right == want.right && r.bottom == want.bottom;
}

static void move_to_model(HWND window, const SceneElement& model) {
    const RECT r = device_rect(model);
    MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
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
    if (!rectangle_matches(ew.window, model)) move_to_model(ew.window, model);
    if (model.visible != ew.visible) {
        ShowWindow(ew.window, model.visible ? SW_SHOW : SW_HIDE);
        ew.visible = model.visible;
    }
}

void rescale_scene() {
    for (Element e = 0; e < ELEMENT_COUNT; ++e) {
        ElementWindow& ew = element_windows[e];
        if (!ew.window) continue;
        if (ELEMENT_TABLE[e].kind == ElementKind::label) set_font(e);
        if (ew.image) show_image(ew, ew.image);
        move_to_model(ew.window, scene[e]);
    }
}
