#include "ambient_control.h"

#include "../shell/platform.h"
#include "audio_platform.h"

std::string module_dir;
std::string ambient_path;

void locate_ambient() {
    module_dir.clear();
    module_dir += platform_program_path();
    std::size_t slash = module_dir.rfind('\\');
    // Without a backslash the path is bare and resolves against the
    // current directory when it is launched.
    module_dir.erase(slash == std::string::npos ? 0 : slash + 1);
    ambient_path = module_dir + AMBIENT_RELATIVE_PATH;
}

void start_ambient() {
    if (!platform_launch_program(ambient_path))
        platform_message_box("Bkgnd Ambient failed.", "Plinkfield - Error");
}

void stop_ambient() { platform_close_windows_titled(AMBIENT_TITLE); }
