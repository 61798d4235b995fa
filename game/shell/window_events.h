// What the main window's procedure does with each message, free of any
// platform: a backend turns its events into these calls and nothing else.
#pragma once

#include <array>
#include <cstdint>

// WM_COMMAND: by control identifier; the notification code is not looked
// at, so a double click on a button runs its command too.
void dispatch_command(int control_id);

// WM_LBUTTONDOWN at a client point: the drag strip, the shot, the bonus
// click and one tick, in that order.
void handle_press(std::uint16_t x, std::uint16_t y);

// WM_MOUSEMOVE: records the cursor and moves the marker of the stage.
void follow_cursor(std::uint16_t x, std::uint16_t y);

// WM_KEYDOWN: the arrow keys move the window by 2 pixels.
void nudge_window(int virtual_key);

// WM_DESTROY, however the window is being destroyed.
void handle_destroy();

struct CommandRow {
    int control_id;
    void (*command)();
};

struct NudgeRow {
    int virtual_key;
    int dx, dy;
};

inline constexpr int VK_LEFT_ARROW = 37;
inline constexpr int VK_UP_ARROW = 38;
inline constexpr int VK_RIGHT_ARROW = 39;
inline constexpr int VK_DOWN_ARROW = 40;

inline constexpr std::array<NudgeRow, 4> NUDGE_TABLE = {{
    {VK_LEFT_ARROW, -2, 0},
    {VK_UP_ARROW, 0, -2},
    {VK_RIGHT_ARROW, 2, 0},
    {VK_DOWN_ARROW, 0, 2},
}};
