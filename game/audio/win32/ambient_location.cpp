#include "game/audio/win32/ambient_location.h"

std::string module_dir;
std::string ambient_path;

void locate_ambient(const std::string& program_path) {
    module_dir.clear();
    module_dir += program_path;
    std::size_t slash = module_dir.rfind('\\');
    // Without a backslash the path is bare and resolves against the
    // current directory when it is launched.
    module_dir.erase(slash == std::string::npos ? 0 : slash + 1);
    ambient_path = module_dir + AMBIENT_RELATIVE_PATH;
}
