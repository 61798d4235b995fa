// The four owner-drawn buttons: the picture each shows, up or held down.
#pragma once

#include <array>

#include "game/model/bitmaps.h"
#include "game/model/elements.h"

struct ButtonImages {
    int control_id;
    int normal;
    int pressed;
};

inline constexpr std::array BUTTON_IMAGES = {
    ButtonImages{MINIMIZE_BUTTON_ID, bmp_minimize, bmp_minimize_pressed},
    ButtonImages{CLOSE_BUTTON_ID, bmp_close, bmp_close_pressed},
    ButtonImages{START_BUTTON_ID, bmp_start, bmp_start_pressed},
    ButtonImages{CANCEL_BUTTON_ID, bmp_cancel, bmp_cancel_pressed},
};

namespace buttons_detail {
// Every button of the scene has its pair of pictures.
constexpr bool every_button_has_images() {
    int buttons = 0;
    for (const ElementRow& row : ELEMENT_TABLE) {
        if (row.kind != ElementKind::button) continue;
        ++buttons;
        bool found = false;
        for (const ButtonImages& b : BUTTON_IMAGES) found = found || b.control_id == row.id;
        if (!found) return false;
    }
    return buttons == static_cast<int>(BUTTON_IMAGES.size());
}
}  // namespace buttons_detail
static_assert(buttons_detail::every_button_has_images());

// The bitmap a button shows in a state, or 0 for an unknown control.
constexpr int button_image(int control_id, bool pressed) {
    for (const ButtonImages& b : BUTTON_IMAGES)
        if (b.control_id == control_id) return pressed ? b.pressed : b.normal;
    return 0;
}
