// The field and the resources that every backend and the painter name: the
// one place each of them is written.
#pragma once

#include <array>

#include "game/model/bitmaps.h"
#include "game/model/elements.h"

// The main window's client area, which is the whole window and the whole
// painted scene: the game's own coordinates.
inline constexpr int FIELD_WIDTH = 1280;
inline constexpr int FIELD_HEIGHT = 786;
static_assert(find_bitmap(bmp_scene)->width == FIELD_WIDTH && find_bitmap(bmp_scene)->height == FIELD_HEIGHT);

// The window's background: the whole scene.
inline constexpr int SCENE_PICTURE = bmp_scene;
// The cursor: icon 32, a cross-hair whose lines meet at its centre.
inline constexpr int CROSSHAIR_ICON = 32;
// The window's own icon in the native programs: the desktop icon's 64-pixel
// drawing, carried beside the cursor (the Windows build uses the system's).
inline constexpr int WINDOW_ICON = 1;
// The beep of a refused command, where the platform has no beep of its own
// (the Windows build plays the system's default beep).
inline constexpr int REFUSAL_BEEP_WAVE = 1000;
// The labels' face, as the builds without Arial carry it.
inline constexpr int LABEL_FONT = 0;
// Ambient's own picture (its invisible window's background), its loop, and
// the chime it carries beside it.
inline constexpr int AMBIENT_PICTURE = 100;
inline constexpr int AMBIENT_LOOP_WAVE = 300;
inline constexpr int AMBIENT_CHIME_WAVE = 600;

// The game timer's period: every duration of the game is counted in its ticks.
inline constexpr int TICK_MS = 100;

// The labels' fonts, by the cell height the game asks for and the face the
// Windows build names. Other builds draw Liberation Sans, which has Arial's
// metrics: its cell (ascent 1854 + descent 434 units) is 2288/2048 of the em.
struct LabelFont {
    Font font;
    int cell_height;
    const char* face;
};

inline constexpr std::array<LabelFont, 2> LABEL_FONTS = {{
    {Font::large, 36, "Arial"},
    {Font::small, 24, "MS Sans Serif"},
}};

inline constexpr int CELL_UNITS = 2288;    // ascent + descent, in font units
inline constexpr int EM_UNITS = 2048;
inline constexpr int ASCENT_UNITS = 1854;

constexpr const LabelFont& label_font(Font f) { return f == Font::large ? LABEL_FONTS[0] : LABEL_FONTS[1]; }
