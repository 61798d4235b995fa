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

// The best score, in the panel between CANCEL and the scoreboard: drawn by
// the native game and the page over the scene, from their table of best
// games (the Windows build keeps none and shows nothing here). A piece of
// the panel painted with the caption "BEST" over a sunken box, as the
// scoreboard's captions and box are painted, carried beside the Windows
// resources; the number drawn in the box as a label is, in the large face.
struct PanelPlace {
    int x, y, w, h;
};
inline constexpr int BEST_PLATE_PICTURE = 12000;
inline constexpr PanelPlace BEST_PLATE = {318, 702, 138, 72};   // the painted piece, in field pixels
inline constexpr PanelPlace BEST_BOX = {323, 713, 128, 58};     // its sunken box
inline constexpr PanelPlace BEST_NUMBER = {332, 722, 110, 36};  // the number: as score_label, in the box
static_assert(BEST_PLATE.x + BEST_PLATE.w < ELEMENT_TABLE[hits_label].x &&
              BEST_PLATE.x > ELEMENT_TABLE[cancel_button].x + ELEMENT_TABLE[cancel_button].w);
static_assert(BEST_NUMBER.w == ELEMENT_TABLE[score_label].w && BEST_NUMBER.y == ELEMENT_TABLE[score_label].y);
static_assert(find_bitmap(BEST_PLATE_PICTURE) == nullptr);

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
