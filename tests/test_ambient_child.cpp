// The Linux game's hold on its Ambient companion: where it is found, and
// that starting and stopping it leave no process behind. Stand-in
// companions are small shell scripts in a fresh folder.
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

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
    // It had half a second to go, and not much more.
    const auto asked = std::chrono::steady_clock::now();
    stop_companion(child);
    const auto waited = std::chrono::steady_clock::now() - asked;
    EXPECT_TRUE(gone(pid));
    EXPECT_GE(waited, std::chrono::milliseconds(450));
    EXPECT_LT(waited, std::chrono::seconds(3));
}

TEST_F(CompanionTest, StopAsksWithSigtermBeforeItKills) {
    // Deaf to its input, so that only the signal can end it; it notes the
    // signal and leaves.
    const std::string script =
        "#!/bin/sh\ntrap 'echo term >\"$0.got\"; exit 0' TERM\necho ready >\"$0.ready\"\n"
        "while :; do sleep 0.05; done\n";
    CompanionProcess child;
    ASSERT_TRUE(spawn_companion(file("polite", script, true), child));
    const pid_t pid = child.pid;
    ASSERT_TRUE(eventually([&] { return read("polite.ready") == "ready\n"; }));
    stop_companion(child);
    EXPECT_TRUE(gone(pid));
    EXPECT_EQ(read("polite.got"), "term\n") << "killed without being asked";
}

TEST_F(CompanionTest, StopClosesTheLifelineSoTheCompanionReadsEndOfFile) {
    // Deaf to SIGTERM: only the end of its input lets it finish its work.
    const std::string script =
        "#!/bin/sh\ntrap '' TERM\necho ready >\"$0.ready\"\ncat >/dev/null\necho eof >\"$0.eof\"\n";
    CompanionProcess child;
    ASSERT_TRUE(spawn_companion(file("reader", script, true), child));
    const pid_t pid = child.pid;
    ASSERT_TRUE(eventually([&] { return read("reader.ready") == "ready\n"; }));
    stop_companion(child);
    EXPECT_TRUE(gone(pid));
    EXPECT_EQ(read("reader.eof"), "eof\n") << "its input never ended before the kill";
}

// The descriptors this process holds, by count.
std::size_t open_descriptors() {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

TEST_F(CompanionTest, NoDescriptorOutlivesTheCompanion) {
    const std::string sleeper = file("sleeper", "#!/bin/sh\nexec sleep 1000\n", true);
    const std::string brief = file("brief", "#!/bin/sh\nexit 0\n", true);
    const std::string plain = file("plain", "#!/bin/sh\nexec sleep 1000\n", false);
    const std::size_t before = open_descriptors();
    for (int round = 0; round < 3; ++round) {
        CompanionProcess child;
        EXPECT_FALSE(spawn_companion(dir + "/missing", child));
        EXPECT_EQ(open_descriptors(), before) << "a start that found nothing";
        EXPECT_FALSE(spawn_companion(plain, child));
        EXPECT_EQ(open_descriptors(), before) << "a start of a file that is not a program";

        ASSERT_TRUE(spawn_companion(sleeper, child));
        EXPECT_EQ(open_descriptors(), before + 1) << "our end of the pipe, and only that";
        stop_companion(child);
        EXPECT_EQ(open_descriptors(), before) << "a stopped companion";

        ASSERT_TRUE(spawn_companion(brief, child));
        ASSERT_TRUE(eventually([&] { return companion_ended(child); }));
        EXPECT_EQ(open_descriptors(), before) << "a companion that ended on its own";
    }
}

// The companion's own descriptors, once it runs `sleep`.
std::vector<int> descriptors_of(pid_t pid) {
    std::vector<int> fds;
    for (const auto& entry : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd"))
        fds.push_back(std::stoi(entry.path().filename().string()));
    std::sort(fds.begin(), fds.end());
    return fds;
}

bool runs_sleep(pid_t pid) {
    std::ifstream cmd("/proc/" + std::to_string(pid) + "/cmdline");
    std::string text;
    std::getline(cmd, text, '\0');
    return text == "sleep";
}

TEST_F(CompanionTest, TheCompanionGetsItsInputAndNothingElseOfTheGames) {
    // A file of the game's that would be inherited by any plain exec.
    const int leaky = open(file("game-file", "x", false).c_str(), O_RDONLY);
    ASSERT_GE(leaky, 0);
    CompanionProcess child;
    ASSERT_TRUE(spawn_companion(file("sleeper", "#!/bin/sh\nexec sleep 1000\n", true), child));
    const pid_t pid = child.pid;
    ASSERT_TRUE(eventually([&] { return runs_sleep(pid); }));
    // Just after the exec, sleep's loader may still hold a library open on
    // the next free descriptor; one inherited from the game never goes.
    const std::vector<int> own{0, 1, 2};
    eventually([&] { return descriptors_of(pid) == own; });
    EXPECT_EQ(descriptors_of(pid), own);
    EXPECT_EQ(fs::read_symlink("/proc/" + std::to_string(pid) + "/fd/0").string().rfind("pipe:", 0), 0u);
    stop_companion(child);
    close(leaky);
}

// The bits of a signal set as /proc/<pid>/status shows it, by its label.
unsigned long long signal_bits(pid_t pid, const std::string& label) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(label + ":", 0) == 0) return std::stoull(line.substr(label.size() + 1), nullptr, 16);
    ADD_FAILURE() << "no " << label << " in the status of " << pid;
    return ~0ull;
}

TEST_F(CompanionTest, TheCompanionStartsWithEverySignalAtItsDefault) {
    // As the game runs: SIGPIPE and SIGHUP ignored, SIGINT and SIGTERM
    // blocked. Ignored signals and the mask survive an exec.
    struct sigaction ignore{}, old_pipe{}, old_hup{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &old_pipe);
    sigaction(SIGHUP, &ignore, &old_hup);
    sigset_t blocked, old_mask;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &blocked, &old_mask);

    CompanionProcess child;
    const bool started = spawn_companion(file("sleeper", "#!/bin/sh\nexec sleep 1000\n", true), child);
    pthread_sigmask(SIG_SETMASK, &old_mask, nullptr);
    sigaction(SIGPIPE, &old_pipe, nullptr);
    sigaction(SIGHUP, &old_hup, nullptr);
    ASSERT_TRUE(started);
    const pid_t pid = child.pid;
    ASSERT_TRUE(eventually([&] { return runs_sleep(pid); }));
    auto bit = [](int signal) { return 1ull << (signal - 1); };
    const unsigned long long ours = bit(SIGPIPE) | bit(SIGHUP) | bit(SIGINT) | bit(SIGTERM) | bit(SIGQUIT);
    EXPECT_EQ(signal_bits(pid, "SigIgn") & ours, 0u);
    EXPECT_EQ(signal_bits(pid, "SigBlk") & ours, 0u);
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
    // A stand-in game in a child process starts the companion, then another
    // program the plain way (as a library might), which inherits whatever
    // the game holds and outlives it; the game is then killed outright. The
    // companion must still read end-of-file and end.
    const std::string companion =
        file("waiter", "#!/bin/sh\ncat >/dev/null\necho ended >\"$0.ended\"\n", true);
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const pid_t game = fork();
    ASSERT_GE(game, 0);
    if (game == 0) {
        close(report[0]);
        CompanionProcess child;
        pid_t pids[2] = {spawn_companion(companion, child) ? child.pid : -1, fork()};
        if (pids[1] == 0) {
            execl("/bin/sleep", "sleep", "60", static_cast<char*>(nullptr));
            _exit(1);
        }
        if (write(report[1], pids, sizeof pids) != sizeof pids) _exit(1);
        for (;;) pause();
    }
    close(report[1]);
    pid_t pids[2] = {-1, -1};
    ASSERT_EQ(::read(report[0], pids, sizeof pids), static_cast<ssize_t>(sizeof pids));
    close(report[0]);
    ASSERT_GT(pids[0], 0);
    ASSERT_GT(pids[1], 0);
    EXPECT_EQ(read("waiter.ended"), "");  // still waiting while the game lives
    kill(game, SIGKILL);
    waitpid(game, nullptr, 0);
    EXPECT_TRUE(eventually([&] { return read("waiter.ended") == "ended\n"; }));
    kill(pids[1], SIGKILL);
}

}  // namespace
