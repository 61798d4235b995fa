// The four owner-drawn buttons and the two window commands.
#pragma once

#include <array>

struct ButtonImages {
    int control_id;
    int normal;
    int pressed;
};

inline constexpr std::array<ButtonImages, 4> BUTTON_IMAGES = {{
    {400, 300, 350},  // minimize_button
    {450, 200, 250},  // close_button
    {700, 500, 550},  // start_button
    {800, 600, 650},  // cancel_button
}};

// The bitmap a button shows in a state, or 0 for an unknown control.
constexpr int button_image(int control_id, bool pressed) {
    for (const ButtonImages& b : BUTTON_IMAGES)
        if (b.control_id == control_id) return pressed ? b.pressed : b.normal;
    return 0;
}

// Command 400: minimize; the game goes on behind it.
void minimize_window();
// Command 450: stop the timer, close Ambient, destroy the main window.
void close_game_window();
