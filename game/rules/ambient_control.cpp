#include "game/rules/ambient_control.h"

#include "game/seam/audio.h"
#include "game/seam/platform.h"

void start_ambient() {
    if (!platform_ambient_start()) platform_message_box("Bkgnd Ambient failed.", "Plinkfield - Error");
}

void stop_ambient() { platform_ambient_stop(); }
