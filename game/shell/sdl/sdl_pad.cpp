// Gamepads on SDL's game-controller API, mapped onto the edge's gamepad
// (game/edge/gamepad.h), and the pad's cross-hair drawn over the field.
// Pads come and go at any time; SDL reports each as added and removed.
//
// SDL reads a pad only when asked, and when left to itself it asks every
// millisecond while a pad is attached: SDL_WaitEvent turns into a loop of
// SDL_Delay(1), about 3 % of a core on a machine that does nothing. Here
// SDL is told not to (SDL_HINT_AUTO_UPDATE_JOYSTICKS), and the loop reads
// the pads itself, as seldom as will do: 60 times a second while a pad is
// in use, 20 times while one lies untouched (each wake costs some 70 us,
// so 60 a second would be 0.4 % of a core for nothing), twice a second
// while none is attached, to see one plugged in. SDL_WaitEvent still sleeps
// on the window's events in between.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "game/edge/gamepad.h"
#include "game/shell/sdl/sdl_shell.h"

namespace {

struct Pad {
    SDL_GameController* controller;
    SDL_JoystickID id;
    PadControls controls;
    bool south_down = false;
};

std::vector<Pad> pads;
bool opened = false;
double next_read_ms = 0;
double in_use_until_ms = 0;  // the fast reads go on this long after the last use
double open_ms = -1;  // how long opening the subsystem took

// How often the pads are read: in use, as often as the cross-hair steps (a
// press is seen at most 17 ms late); for a few seconds after the last use
// (aim, then fire); untouched, a press is seen at most 50 ms late; with no
// pad, often enough that one plugged in is there before its first press.
constexpr double READ_MS = PAD_STEP_MS;
constexpr double IN_USE_MS = 3000;
constexpr double RESTING_READ_MS = 50;
constexpr double LOOK_MS = 500;

struct ButtonRow {
    SDL_GameControllerButton sdl;
    PadButton button;
};

// By position on the pad: SDL is told to report the face buttons as
// though on an Xbox pad, whatever their labels.
constexpr ButtonRow PAD_BUTTONS[] = {
    {SDL_CONTROLLER_BUTTON_A, PadButton::south},
    {SDL_CONTROLLER_BUTTON_B, PadButton::east},
    {SDL_CONTROLLER_BUTTON_BACK, PadButton::back},
    {SDL_CONTROLLER_BUTTON_START, PadButton::start},
};

PadButton pad_button(Uint8 sdl) {
    for (const ButtonRow& row : PAD_BUTTONS)
        if (row.sdl == sdl) return row.button;
    return PadButton::other;
}

// The d-pad's directions, by SDL's button.
bool* dpad_direction(PadControls& k, Uint8 sdl) {
    switch (sdl) {
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return &k.left;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return &k.right;
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return &k.up;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return &k.down;
        default: return nullptr;
    }
}

Pad* pad_of(SDL_JoystickID id) {
    for (Pad& p : pads)
        if (p.id == id) return &p;
    return nullptr;
}

// Every pad together: the stick pushed furthest, each d-pad direction any
// pad holds.
PadControls all_controls() {
    PadControls all;
    long long furthest = -1;
    for (const Pad& p : pads) {
        const long long r = 1LL * p.controls.stick_x * p.controls.stick_x + 1LL * p.controls.stick_y * p.controls.stick_y;
        if (r > furthest) {
            furthest = r;
            all.stick_x = p.controls.stick_x;
            all.stick_y = p.controls.stick_y;
        }
        all.left |= p.controls.left;
        all.right |= p.controls.right;
        all.up |= p.controls.up;
        all.down |= p.controls.down;
    }
    return all;
}

// What was last drawn, and whether the system's pointer is hidden.
struct Shown {
    bool aiming = false;
    int x = -1, y = -1;
    friend bool operator==(const Shown&, const Shown&) = default;
};
Shown drawn;
SDL_Texture* crosshair = nullptr;

// After every change: the frame is redrawn when the cross-hair moved,
// appeared or went, and the system's pointer hides while the pad aims.
void follow_aim() {
    const Shown now{gamepad_aiming(), gamepad_x(), gamepad_y()};
    if (now.aiming != drawn.aiming) SDL_ShowCursor(now.aiming ? SDL_DISABLE : SDL_ENABLE);
    if (now.aiming != drawn.aiming || (now.aiming && now != drawn)) video_mark_dirty();
    drawn = now;
}

void added(int device_index) {
    if (!SDL_IsGameController(device_index)) return;
    SDL_GameController* c = SDL_GameControllerOpen(device_index);
    if (!c) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c));
    if (pad_of(id)) {  // reported twice
        SDL_GameControllerClose(c);
        return;
    }
    pads.push_back({c, id, {}});
}

void removed(SDL_JoystickID id, double now_ms) {
    const auto it = std::find_if(pads.begin(), pads.end(), [&](const Pad& p) { return p.id == id; });
    if (it == pads.end()) return;
    if (it->south_down) gamepad_let_go();
    SDL_GameControllerClose(it->controller);
    pads.erase(it);
    gamepad_controls(all_controls(), now_ms);
    if (pads.empty()) gamepad_gone();
}

void button(Pad& p, Uint8 sdl, bool down, bool replaying, double now_ms) {
    if (bool* d = dpad_direction(p.controls, sdl)) {
        *d = down;
        if (!replaying) gamepad_controls(all_controls(), now_ms);
        return;
    }
    const PadButton b = pad_button(sdl);
    if (b == PadButton::south) {
        // A pad pulled out reports each of its buttons let go before it
        // reports itself gone: that is no release.
        if (!down && !SDL_GameControllerGetAttached(p.controller)) {
            if (p.south_down) gamepad_let_go();
            p.south_down = false;
            return;
        }
        p.south_down = down;
    }
    if (!replaying) gamepad_button(b, down);
}

}  // namespace

void pad_open() {
    const double t0 = timer_now_ms();
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "plinkfield: no gamepads: %s\n", SDL_GetError());
        return;
    }
    opened = true;
    // The pads already plugged in are reported as added, as later ones are.
    next_read_ms = timer_now_ms();
    open_ms = timer_now_ms() - t0;
}

void pad_close() {
    for (Pad& p : pads) SDL_GameControllerClose(p.controller);
    pads.clear();
    if (crosshair) SDL_DestroyTexture(crosshair);
    crosshair = nullptr;
    if (opened) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    opened = false;
}

int pad_wait_ms() {
    if (!opened) return -1;
    const double now = timer_now_ms();
    double wait = std::max(0.0, next_read_ms - now);
    if (const double step = gamepad_wait_ms(now); step >= 0) wait = std::min(wait, step);
    // Rounded up: a wake before it is due would only sleep again.
    return static_cast<int>(wait + 0.999);
}

void pad_read_due() {
    if (!opened) return;
    const double now = timer_now_ms();
    if (now < next_read_ms) return;
    dump_before_pad_read();
    SDL_GameControllerUpdate();  // its events join the queue
    // While the cross-hair moves, the stick's release must be seen at once.
    const bool in_use = now < in_use_until_ms || gamepad_wait_ms(now) >= 0;
    next_read_ms = now + (pads.empty() ? LOOK_MS : in_use ? READ_MS : RESTING_READ_MS);
}

void pad_run_due() {
    gamepad_run_due(timer_now_ms());
    follow_aim();
}

void pad_handle(const SDL_Event& event, bool replaying) {
    const double now = timer_now_ms();
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            added(event.cdevice.which);
            next_read_ms = std::min(next_read_ms, now + READ_MS);
            break;
        case SDL_CONTROLLERDEVICEREMOVED: removed(event.cdevice.which, now); break;
        case SDL_CONTROLLERAXISMOTION:
            if (Pad* p = pad_of(event.caxis.which)) {
                if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) p->controls.stick_x = event.caxis.value;
                if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) p->controls.stick_y = event.caxis.value;
                if (!replaying) gamepad_controls(all_controls(), now);
            }
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (Pad* p = pad_of(event.cbutton.which))
                button(*p, event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN, replaying, now);
            break;
        default: break;
    }
    // A button or a push is use; a stick trembling at rest is not.
    if (event.type == SDL_CONTROLLERBUTTONDOWN || gamepad_wait_ms(now) >= 0) in_use_until_ms = now + IN_USE_MS;
    follow_aim();
}

void pad_mouse_moved(int x, int y, bool on_field) {
    gamepad_mouse_moved(x, y, on_field);
    follow_aim();
}

void pad_draw(SDL_Renderer* renderer) {
    if (!drawn.aiming) return;
    if (!crosshair) {
        SDL_Surface* icon = load_game_icon(CROSSHAIR_ICON);
        if (!icon) return;
        crosshair = SDL_CreateTextureFromSurface(renderer, icon);
        SDL_FreeSurface(icon);
        if (!crosshair) return;
        SDL_SetTextureBlendMode(crosshair, SDL_BLENDMODE_BLEND);
    }
    // The size the mouse's cross-hair has on the screen, with its middle on
    // the point, as the pointer's hot spot is: the renderer draws in field
    // pixels, so a window drawn larger gets a smaller rectangle.
    float sx = 1, sy = 1;
    SDL_RenderGetScale(renderer, &sx, &sy);
    int w = 0, h = 0;
    SDL_QueryTexture(crosshair, nullptr, nullptr, &w, &h);
    const float fw = float(w) / sx, fh = float(h) / sy;
    const SDL_FRect place{float(drawn.x) - fw / 2, float(drawn.y) - fh / 2, fw, fh};
    SDL_RenderCopyF(renderer, crosshair, nullptr, &place);
}

int pad_count() { return static_cast<int>(pads.size()); }

bool pad_aiming() { return drawn.aiming; }

double pad_open_ms() { return open_ms; }
