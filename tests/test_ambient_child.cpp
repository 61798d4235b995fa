// The Linux game's hold on its Ambient companion: where it is found, and
// that starting and stopping it leave no process behind. Stand-in
// companions are small shell scripts in a fresh folder.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "game/audio/sdl/ambient_child.h"

namespace fs = std::filesystem;

namespace {

class CompanionTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/plinkfield-companion.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string file(const std::string& relative, const std::string& text, bool executable) {
        const fs::path p = fs::path(dir) / relative;
        fs::create_directories(p.parent_path());
        std::ofstream(p) << text;
        chmod(p.c_str(), executable ? 0755 : 0644);
        return p.string();
    }

    std::string read(const std::string& relative) {
        std::ifstream in(fs::path(dir) / relative);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // Waits up to ten seconds (a loaded machine) for a condition.
    template <class Condition>
    static bool eventually(Condition done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }

    // Gone and reaped: no such process, not even a zombie of ours.
    static bool gone(pid_t pid) { return kill(pid, 0) != 0 && errno == ESRCH; }

    std::string dir;
};

TEST_F(CompanionTest, FoundBesideTheGameInTheBuildTree) {
    const std::string companion = file("build/plinkfield-ambient", "#!/bin/sh\n", true);
    file("lib/plinkfield/plinkfield-ambient", "#!/bin/sh\n", true);
    EXPECT_EQ(locate_companion(dir + "/build/plinkfield", "plinkfield-ambient"), companion);
}

TEST_F(CompanionTest, FoundInLibPlinkfieldWhenInstalled) {
    file("games/plinkfield", "", true);
    file("lib/plinkfield/plinkfield-ambient", "#!/bin/sh\n", true);
    EXPECT_EQ(locate_companion(dir + "/games/plinkfield", "plinkfield-ambient"),
              dir + "/games/../lib/plinkfield/plinkfield-ambient");
}

TEST_F(CompanionTest, ANonExecutableFileBesideTheGameIsPassedOver) {
    file("games/plinkfield-ambient", "#!/bin/sh\n", false);
    file("lib/plinkfield/plinkfield-ambient", "#!/bin/sh\n", true);
    EXPECT_EQ(locate_companion(dir + "/games/plinkfield", "plinkfield-ambient"),
              dir + "/games/../lib/plinkfield/plinkfield-ambient");
}

TEST_F(CompanionTest, NoneToBeFoundCannotBeStarted) {
    const std::string where = locate_companion(dir + "/games/plinkfield", "plinkfield-ambient");
    EXPECT_EQ(where, dir + "/games/plinkfield-ambient");
    CompanionProcess child;
    EXPECT_FALSE(spawn_companion(where, child));
    EXPECT_EQ(child.pid, -1);
    EXPECT_EQ(child.pipe, -1);
}

TEST_F(CompanionTest, ANonExecutableCompanionCannotBeStarted) {
    CompanionProcess child;
    EXPECT_FALSE(spawn_companion(file("plinkfield-ambient", "#!/bin/sh\nsleep 100\n", false), child));
    EXPECT_EQ(child.pid, -1);
}

TEST_F(CompanionTest, LinesArriveOnTheCompanionsInputAndStopEndsIt) {
    const std::string script = "#!/bin/sh\nwhile read line; do echo \"$line\" >>\"$0.heard\"; done\n";
    CompanionProcess child;
    ASSERT_TRUE(spawn_companion(file("listener", script, true), child));
    const pid_t pid = child.pid;
    EXPECT_TRUE(tell_companion(child, "mute"));
    EXPECT_TRUE(tell_companion(child, "unmute"));
    EXPECT_TRUE(eventually([&] { return read("listener.heard") == "mute\nunmute\n"; })) << read("listener.heard");
    EXPECT_FALSE(companion_ended(child));
    stop_companion(child);
    EXPECT_TRUE(gone(pid));
    EXPECT_EQ(child.pid, -1);
    EXPECT_FALSE(tell_companion(child, "mute"));
}

TEST_F(CompanionTest, AStopRightAfterTheStartEndsAndReapsIt) {
    for (int i = 0; i < 20; ++i) {
        CompanionProcess child;
        ASSERT_TRUE(spawn_companion(file("sleeper", "#!/bin/sh\nexec sleep 1000\n", true), child));
        const pid_t pid = child.pid;
        stop_companion(child);
        EXPECT_TRUE(gone(pid)) << "round " << i;
    }
}

TEST_F(CompanionTest, ACompanionDeafToSigtermAndItsInputIsKilled) {
    CompanionProcess child;
    ASSERT_TRUE(spawn_companion(file("stubborn", "#!/bin/sh\ntrap '' TERM\nexec sleep 1000 </dev/null\n", true), child));
    const pid_t pid = child.pid;
    // Until the script has set its trap, SIGTERM would simply end it; make
    // sure the stubborn part runs.
    EXPECT_TRUE(eventually([&] {
        std::ifstream cmd("/proc/" + std::to_string(pid) + "/cmdline");
        std::string text;
        std::getline(cmd, text, '\0');
        return text == "sleep";
    }));
    stop_companion(child);
    EXPECT_TRUE(gone(pid));
}

TEST_F(CompanionTest, ACompanionEndedOnItsOwnIsReapedAndForgotten) {
    CompanionProcess child;
    ASSERT_TRUE(spawn_companion(file("brief", "#!/bin/sh\nexit 0\n", true), child));
    const pid_t pid = child.pid;
    EXPECT_TRUE(eventually([&] { return companion_ended(child); }));
    EXPECT_TRUE(gone(pid));
    EXPECT_EQ(child.pipe, -1);
}

TEST_F(CompanionTest, TheCompanionEndsWhenTheGameIsKilled) {
    // A stand-in game in a child process starts the companion and is then
    // killed outright; the companion must read end-of-file and end.
    const std::string companion =
        file("waiter", "#!/bin/sh\ncat >/dev/null\necho ended >\"$0.ended\"\n", true);
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const pid_t game = fork();
    ASSERT_GE(game, 0);
    if (game == 0) {
        close(report[0]);
        CompanionProcess child;
        const pid_t pid = spawn_companion(companion, child) ? child.pid : -1;
        if (write(report[1], &pid, sizeof pid) != sizeof pid) _exit(1);
        for (;;) pause();
    }
    close(report[1]);
    pid_t companion_pid = -1;
    ASSERT_EQ(::read(report[0], &companion_pid, sizeof companion_pid), static_cast<ssize_t>(sizeof companion_pid));
    close(report[0]);
    ASSERT_GT(companion_pid, 0);
    EXPECT_EQ(read("waiter.ended"), "");  // still waiting while the game lives
    kill(game, SIGKILL);
    waitpid(game, nullptr, 0);
    EXPECT_TRUE(eventually([&] { return read("waiter.ended") == "ended\n"; }));
}

}  // namespace
