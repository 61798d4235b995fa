// Ambient on Linux: the game starts plinkfield-ambient at START exactly
// where the Windows build starts Ambient.exe, and stops every one it
// started at each end of a game. Unlike the Windows build it knows its
// children, so a stop right after a start still finds the new one.
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "game/audio/sdl/ambient_child.h"
#include "game/audio/sdl/sdl_audio.h"
#include "game/seam/audio.h"

namespace {

std::string program;
std::vector<CompanionProcess> children;

void forget_ended() {
    std::erase_if(children, [](CompanionProcess& c) { return companion_ended(c); });
}

}  // namespace

void ambient_locate() {
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    self[n > 0 ? n : 0] = '\0';
    program = locate_companion(self, "plinkfield-ambient");
}

bool platform_ambient_start() {
    forget_ended();
    CompanionProcess child;
    if (!spawn_companion(program, child)) {
        std::fprintf(stderr, "plinkfield: cannot start %s: %s\n", program.c_str(), std::strerror(errno));
        return false;
    }
    if (sound_muted()) tell_companion(child, "mute");
    children.push_back(child);
    return true;
}

void platform_ambient_stop() {
    for (CompanionProcess& c : children) stop_companion(c);
    children.clear();
}

void ambient_tell_all(const std::string& line) {
    for (const CompanionProcess& c : children) tell_companion(c, line);
}

std::vector<int> ambient_pids() {
    forget_ended();
    std::vector<int> pids;
    for (const CompanionProcess& c : children) pids.push_back(c.pid);
    return pids;
}
