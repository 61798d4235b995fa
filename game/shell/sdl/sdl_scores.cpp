// The table of best games on the disk: $XDG_DATA_HOME/plinkfield/ (by
// default ~/.local/share/plinkfield/), scores.txt and one recording a game
// in it, <id>.sim. The edge decides what the table holds (best_games.h);
// this file only reads and writes it, on a thread of its own, so that no
// tick ever waits for a disk: the loop hands the thread copies (a finished
// game's entry and recording) and hears back through an SDL event.
//
// Every write goes to a temporary file in the same folder, renamed over the
// old one, so that a crash or a full disk never leaves half a file; and it
// happens under an flock of scores.lock, after reading what is on the disk,
// so that two windows keep each other's games. A table this game cannot
// read whole is never written over; lines it cannot read are written back
// as they were.
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <fstream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "game/edge/best_games.h"
#include "game/edge/game_end.h"
#include "game/edge/script.h"
#include "game/shell/sdl/sdl_shell.h"

namespace {

constexpr const char* TABLE = "scores.txt";
constexpr const char* LOCK = "scores.lock";
// A table is a few hundred bytes; a file far larger is no table of ours.
constexpr long long LARGEST_TABLE = 1 << 20;

void warn(const std::string& what) { std::fprintf(stderr, "plinkfield: %s\n", what.c_str()); }

std::string error_text(int error) { return std::strerror(error); }

// $XDG_DATA_HOME/plinkfield, or ~/.local/share/plinkfield when that is not
// set (or not absolute, which the XDG rules say to ignore); "" when there
// is no home to be found.
std::string data_folder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/plinkfield";
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd* pw = getpwuid(getuid());
        home = pw ? pw->pw_dir : nullptr;
    }
    if (!home || home[0] != '/') return "";
    return std::string(home) + "/.local/share/plinkfield";
}

// ------------------------------------------------------------ the files

struct TableRead {
    bool readable = true;  // false: the file is there but cannot be read whole
    std::string why;
    ScoreTable table;
    std::vector<TableFault> faults;
};

TableRead read_table(const std::string& path) {
    TableRead r;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        r.readable = errno == ENOENT;  // no table yet: an empty one
        r.why = error_text(errno);
        return r;
    }
    struct stat st {};
    std::string text;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        r.why = "not a file";
    } else if (st.st_size > LARGEST_TABLE) {
        r.why = "larger than a table can be (" + std::to_string(st.st_size) + " bytes)";
    } else {
        char buffer[4096];
        ssize_t n = 0;
        while ((n = read(fd, buffer, sizeof buffer)) > 0 && static_cast<long long>(text.size()) <= LARGEST_TABLE)
            text.append(buffer, static_cast<std::size_t>(n));
        if (n < 0) r.why = error_text(errno);
    }
    close(fd);
    r.readable = r.why.empty();
    if (r.readable) r.table = read_score_table(text, r.faults);
    return r;
}

// Makes the folder and those above it that are missing, as the XDG rules
// ask: for this user alone.
bool make_folder(const std::string& folder, std::string& why) {
    for (std::size_t at = 1; at <= folder.size(); ++at) {
        if (at < folder.size() && folder[at] != '/') continue;
        const std::string part = folder.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            why = part + ": " + error_text(errno);
            return false;
        }
    }
    return true;
}

// Writes the file whole beside its place, on the disk, then renames it over
// the old one: a reader sees the old file or the new one, never half.
bool write_whole(const std::string& folder, const std::string& name, const std::string& text, std::string& why) {
    std::string aside = folder + "/." + name + ".XXXXXX";
    const int fd = mkostemp(aside.data(), O_CLOEXEC);
    if (fd < 0) {
        why = folder + ": " + error_text(errno);
        return false;
    }
    int error = fchmod(fd, 0644) == 0 ? 0 : errno;
    for (std::size_t done = 0; !error && done < text.size();) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0) error = errno;
        else done += static_cast<std::size_t>(n);
    }
    if (!error && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && !error) error = errno;
    if (!error && rename(aside.c_str(), (folder + "/" + name).c_str()) != 0) error = errno;
    if (!error) return true;
    why = folder + "/" + name + ": " + error_text(error);
    unlink(aside.c_str());
    return false;
}

// The folder's lock, held while a window reads, merges and writes; waited
// for at most a few seconds (another window holds it for milliseconds).
class FolderLock {
public:
    explicit FolderLock(const std::string& folder) {
        const std::string path = folder + "/" + LOCK;
        fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        const int error = errno;
        // A lock file that is there can be held read-only; the writes then
        // say why they fail.
        if (fd_ < 0) fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) {
            why_ = path + ": " + error_text(error);
            return;
        }
        for (int tries = 0; tries < 500; ++tries) {
            if (flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
            if (errno != EWOULDBLOCK && errno != EINTR) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        why_ = path + ": held by another window for too long";
        close(fd_);
        fd_ = -1;
    }
    ~FolderLock() {
        if (fd_ >= 0) close(fd_);  // and with it the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool held() const { return fd_ >= 0; }
    const std::string& why() const { return why_; }

private:
    int fd_ = -1;
    std::string why_;
};

// ------------------------------------------------------- the writer thread

std::string folder;
std::thread writer;
std::mutex mutex;
std::condition_variable wake;
std::deque<KeptGame> to_store;  // guarded by mutex
bool stopping = false;          // guarded by mutex
std::optional<ScoreTable> news;  // guarded by mutex: the table on the disk, for the loop
Uint32 news_event = 0;
std::atomic<bool> read_done{false};
std::atomic<int> games_done{0};    // handled by the thread, written or not
std::atomic<int> games_written{0};

// Each kind of trouble is told once a run, however many games meet it.
bool told_faults = false, told_unreadable = false, told_unwritable = false;

void tell_faults(const std::string& path, const TableRead& r) {
    if (!r.readable && !told_unreadable) {
        told_unreadable = true;
        warn("cannot read " + path + ": " + r.why + "; it is left as it is, and this window's games are not kept");
    }
    if (!r.faults.empty() && !told_faults) {
        told_faults = true;
        warn(path + ": " + faults_text(r.faults) + " (kept in the file as they are, left out of the table)");
    }
}

void tell_unwritable(const std::string& why) {
    if (told_unwritable) return;
    told_unwritable = true;
    warn("cannot write " + why + "; this window's games are not kept");
}

void tell_the_loop() {
    SDL_Event e{};
    e.type = news_event;
    SDL_PushEvent(&e);
}

void post(const ScoreTable& table) {
    {
        std::lock_guard<std::mutex> hold(mutex);
        news = table;
    }
    tell_the_loop();
}

std::string recording_name(const std::string& id) { return id + ".sim"; }

// The game merged into the table on the disk, with its recording, when it
// makes the ten best there; the recordings of the games it pushes out go.
void store(const KeptGame& game) {
    std::string why;
    if (!make_folder(folder, why)) return tell_unwritable(why);
    const FolderLock lock(folder);
    if (!lock.held()) return tell_unwritable(lock.why());
    const std::string path = folder + "/" + TABLE;
    const TableRead on_disk = read_table(path);
    tell_faults(path, on_disk);
    if (!on_disk.readable) return;
    std::vector<ScoreEntry> dropped;
    const ScoreTable merged = merged_tables(on_disk.table, ScoreTable{{game.entry}, {}}, &dropped);
    if (rank_in(merged, game.entry.id) > 0) {
        if (!write_whole(folder, recording_name(game.entry.id), game.recording, why)) return tell_unwritable(why);
        if (!write_whole(folder, TABLE, score_table_text(merged), why)) {
            unlink((folder + "/" + recording_name(game.entry.id)).c_str());
            return tell_unwritable(why);
        }
        for (const ScoreEntry& out : dropped)
            if (out.id != game.entry.id) unlink((folder + "/" + recording_name(out.id)).c_str());
        ++games_written;
    }
    post(merged);
}

void run_writer() {
    if (!folder.empty()) {
        const std::string path = folder + "/" + TABLE;
        TableRead first = read_table(path);
        tell_faults(path, first);
        std::lock_guard<std::mutex> hold(mutex);
        news = std::move(first.table);
    }
    read_done = true;
    tell_the_loop();
    for (;;) {
        std::unique_lock<std::mutex> hold(mutex);
        wake.wait(hold, [] { return stopping || !to_store.empty(); });
        if (to_store.empty()) return;  // stopping, and every game stored
        const KeptGame game = std::move(to_store.front());
        to_store.pop_front();
        hold.unlock();
        if (!folder.empty()) store(game);
        ++games_done;
    }
}

// A game of this window has ended: ranked by the edge at once (BEST and
// NEW BEST show it), stored by the thread.
void keep_game(const FinishedGame& g) {
    static std::uint64_t games = 0;
    const std::uint64_t unique = (static_cast<std::uint64_t>(getpid()) << 16) + ++games;
    std::optional<KeptGame> kept = rank_finished_game(g, std::time(nullptr), unique);
    video_mark_dirty();
    if (!kept) {
        ++games_done;
        return;
    }
    {
        std::lock_guard<std::mutex> hold(mutex);
        to_store.push_back(std::move(*kept));
    }
    wake.notify_one();
}

// The table for --scores and --replay best:N, read at once; its troubles
// on stderr. False when it cannot be read.
bool read_now(ScoreTable& table, std::string& path) {
    folder = data_folder();
    if (folder.empty()) {
        warn("no home folder: there is no table of best games");
        return false;
    }
    path = folder + "/" + TABLE;
    const TableRead r = read_table(path);
    tell_faults(path, r);
    table = merged_tables(r.table, {});
    return r.readable;
}

}  // namespace

void scores_open(bool keep_games) {
    folder = data_folder();
    news_event = SDL_RegisterEvents(1);
    if (folder.empty()) warn("no home folder: the best games are kept in this window only");
    if (news_event == Uint32(-1)) return;
    writer = std::thread(run_writer);
    // Xlib ends the program itself when the display goes away: the writer
    // is stopped, its games written, before exit destroys what it waits on
    // (a condition variable with a waiter would never be done destroying).
    std::atexit(scores_close);
    if (keep_games) on_game_end(keep_game);
}

void scores_close() {
    on_game_end(nullptr);
    if (!writer.joinable()) return;
    {
        std::lock_guard<std::mutex> hold(mutex);
        stopping = true;
    }
    wake.notify_one();
    writer.join();
}

void scores_handle(const SDL_Event& event) {
    if (!news_event || event.type != news_event) return;
    std::optional<ScoreTable> table;
    {
        std::lock_guard<std::mutex> hold(mutex);
        table.swap(news);
    }
    if (table) adopt_stored_table(*table);
    video_mark_dirty();
}

bool scores_read() { return read_done; }

std::string scores_json() {
    PanelPlace banner{};
    return "{\"read\":" + std::string(read_done ? "true" : "false") + ",\"text\":\"" + best_number_text() +
           "\",\"new_best\":" + (new_best_banner(banner) ? "true" : "false") +
           ",\"games\":" + std::to_string(games_done) + ",\"written\":" + std::to_string(games_written) + "}";
}

int scores_print() {
    ScoreTable table;
    std::string path;
    if (!read_now(table, path)) return 1;
    if (table.entries.empty())
        std::printf("No games kept yet (%s).\n", path.c_str());
    else
        std::printf("%s", score_columns(table).c_str());
    return 0;
}

bool scores_recording(const std::string& which, std::string& path) {
    long long rank = 0;
    const bool digits = !which.empty() && which.find_first_not_of("0123456789") == std::string::npos;
    if (!digits || !whole_number(which, 1, static_cast<long long>(SCORE_TABLE_SIZE), rank)) {
        warn("best:N takes a rank from 1 to " + std::to_string(SCORE_TABLE_SIZE) + ", not " + which);
        return false;
    }
    ScoreTable table;
    std::string table_path;
    if (!read_now(table, table_path)) return false;
    if (static_cast<std::size_t>(rank) > table.entries.size()) {
        warn("best:" + which + ": " + table_path + " holds " + std::to_string(table.entries.size()) +
             (table.entries.size() == 1 ? " game" : " games"));
        return false;
    }
    path = folder + "/" + recording_name(table.entries[static_cast<std::size_t>(rank) - 1].id);
    return true;
}
