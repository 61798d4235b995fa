// The ten best games in the browser's own storage: the table's text under
// "plinkfield.scores" (the native game's scores.txt, line for line) and
// each game's recording under "plinkfield.game.ID". Read once the first
// frame is drawn, and again whenever another tab of the page writes it;
// written at a game's end, after a fresh read, so that two tabs keep each
// other's games. Storage refused or full is one console warning, and the
// page's own games are kept for as long as it is open.
//
// Under the field the table shows, folded to one line, each row with its
// Watch and Save recording. Watch loads the page afresh with ?watch=ID,
// which plays that game's recording on the canvas at its own pace, taking
// no input, until it ends or Stop watching loads the page again.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <ctime>
#include <sstream>
#include <string>

#include "game/edge/best_games.h"
#include "game/edge/game_json.h"
#include "game/edge/recording.h"
#include "game/edge/replay.h"
#include "game/shell/web/web_shell.h"

static const std::string TABLE_KEY = "plinkfield.scores";
static std::string recording_key(const std::string& id) { return "plinkfield.game." + id; }

// Each call answers false, and the first one that is refused warns, when the
// browser keeps nothing for the page (a private window, storage turned off
// or full).
EM_JS(int, js_storage_get, (const char* key), {
    try {
        const value = localStorage.getItem(UTF8ToString(key));
        Module.storageValue = value === null ? "" : value;
        return value === null ? 0 : 1;
    } catch (e) {
        Module.storageRefused(e);
        return -1;
    }
});

EM_JS(int, js_storage_value_size, (), { return new TextEncoder().encode(Module.storageValue).length + 1; });

EM_JS(void, js_storage_value_take, (char* out, int size), {
    stringToUTF8(Module.storageValue, out, size);
    Module.storageValue = "";
});

EM_JS(int, js_storage_set, (const char* key, const char* value), {
    try {
        localStorage.setItem(UTF8ToString(key), UTF8ToString(value));
        return 1;
    } catch (e) {
        Module.storageRefused(e);
        return 0;
    }
});

EM_JS(void, js_storage_remove, (const char* key), {
    try {
        localStorage.removeItem(UTF8ToString(key));
    } catch (e) {
        Module.storageRefused(e);
    }
});

EM_JS(void, js_warn, (const char* text), { console.warn(UTF8ToString(text)); });

// The table under the field, drawn from its rows as JSON; the recordings
// of this page's own games are kept beside it, for when storage keeps none.
EM_JS(void, js_best_open, (), {
    const best = {
        warned: false,
        here: new Map(),  // id -> recording, the games this page kept
        rows: [],
        running: false,
    };
    Module.best = best;
    Module.storageRefused = (e) => {
        if (best.warned) return;
        best.warned = true;
        console.warn("plinkfield: the best games cannot be kept in this browser's storage (" + e.name + ": " +
                     e.message + "); the game plays on and keeps them until the page is closed");
    };
    best.recording = (id) => {
        if (best.here.has(id)) return best.here.get(id);
        try {
            return localStorage.getItem("plinkfield.game." + id);
        } catch (e) {
            return null;
        }
    };
    document.getElementById("best-games").addEventListener("toggle", () => _web_window_changed());
    addEventListener("storage", (event) => {
        if (event.key === null || event.key === "plinkfield.scores") _web_best_storage_changed();
    });
});

EM_JS(void, js_best_show, (const char* rows_json, int running), {
    const best = Module.best;
    best.rows = JSON.parse(UTF8ToString(rows_json));
    best.running = running !== 0;
    const section = document.getElementById("best");
    const body = section.querySelector("tbody");
    const two = (n) => String(n).padStart(2, "0");
    // Which recordings storage holds, by their keys alone (the recordings
    // themselves may be long).
    let keys = new Set();
    try {
        keys = new Set(Object.keys(localStorage));
    } catch (e) {
    }
    body.textContent = "";
    for (const row of best.rows) {
        const tr = document.createElement("tr");
        const when = new Date(row.when * 1000);
        const date = when.getFullYear() + "-" + two(when.getMonth() + 1) + "-" + two(when.getDate()) + " " +
                     two(when.getHours()) + ":" + two(when.getMinutes());
        for (const text of [row.rank, row.score, row.level, row.hits, row.misses, date]) {
            const td = document.createElement("td");
            td.textContent = text;
            tr.appendChild(td);
        }
        const watch = document.createElement("button");
        watch.type = "button";
        watch.textContent = "Watch";
        watch.className = "watch";
        // Only between games, and only a game the storage holds: the
        // page loads afresh to play it.
        watch.disabled = best.running || Module.watching || !keys.has("plinkfield.game." + row.id);
        watch.onclick = () => { location.search = "?watch=" + encodeURIComponent(row.id); };
        const save = document.createElement("a");
        save.href = "#";
        save.textContent = "Save recording";
        save.className = "save";
        save.onclick = () => {
            const text = best.recording(row.id);
            if (text === null) return false;
            save.href = URL.createObjectURL(new Blob([text], {type: "text/plain"}));
            save.download = "plinkfield-best-" + row.id + ".sim";
            return true;
        };
        for (const control of [watch, save]) {
            const td = document.createElement("td");
            td.appendChild(control);
            tr.appendChild(td);
        }
        body.appendChild(tr);
    }
    document.getElementById("best-count").textContent = best.rows.length;
    const shown = best.rows.length > 0 || Module.watching;
    if (section.hidden === shown) {
        section.hidden = !shown;
        _web_window_changed();  // the field makes room for it
    }
});

EM_JS(void, js_best_keep_here, (const char* id, const char* recording), {
    Module.best.here.set(UTF8ToString(id), UTF8ToString(recording));
});

EM_JS(void, js_unique, (std::uint32_t* high, std::uint32_t* low), {
    const words = crypto.getRandomValues(new Uint32Array(2));
    HEAPU32[high >> 2] = words[0];
    HEAPU32[low >> 2] = words[1];
});

EM_JS(int, js_watch_asked, (char* out, int size), {
    const id = new URLSearchParams(location.search).get("watch");
    if (id === null) return 0;
    stringToUTF8(id, out, size);
    return 1;
});

EM_JS(void, js_watch_begin, (), {
    Module.watching = true;
    const stop = document.getElementById("stop-watching");
    stop.hidden = false;
    stop.onclick = () => { location.search = ""; };
    document.getElementById("best-games").open = false;
});

EM_JS(void, js_watch_ended, (), {
    Module.watchEnded = true;
    document.getElementById("stop-watching").textContent = "Back to the game";
});

static bool opened = false;
static bool read = false;
static bool watching = false;
static bool faults_told = false;
static bool running_shown = false;

// -1 refused, 0 absent, 1 there (into value).
static int storage_get(const std::string& key, std::string& value) {
    const int got = js_storage_get(key.c_str());
    value.clear();
    if (got == 1) {
        value.resize(static_cast<std::size_t>(js_storage_value_size()));
        js_storage_value_take(value.data(), static_cast<int>(value.size()));
        value.resize(value.find('\0') == std::string::npos ? value.size() : value.find('\0'));
    }
    return got;
}

// What storage holds now: its faults told once a page.
static ScoreTable stored_table() {
    std::string text;
    storage_get(TABLE_KEY, text);
    std::vector<TableFault> faults;
    ScoreTable table = read_score_table(text, faults);
    if (!faults.empty() && !faults_told) {
        faults_told = true;
        js_warn(("plinkfield: localStorage " + TABLE_KEY + ": " + faults_text(faults) +
                 " (kept as they are, left out of the table)")
                    .c_str());
    }
    return table;
}

static void show_table() {
    std::string rows = "[";
    int rank = 0;
    for (const ScoreEntry& e : known_best_games().entries) {
        if (rank > 0) rows += ',';
        rows += "{\"rank\":" + std::to_string(++rank) + ",\"score\":" + std::to_string(e.score) +
                ",\"level\":" + std::to_string(e.level) + ",\"hits\":" + std::to_string(e.hits) +
                ",\"misses\":" + std::to_string(e.misses) + ",\"when\":" + std::to_string(e.when) +
                ",\"id\":" + json_string(e.id) + "}";
    }
    rows += "]";
    running_shown = game_running();
    js_best_show(rows.c_str(), running_shown ? 1 : 0);
}

// A game that makes the ten: merged into what storage holds now, its
// recording written first, so that the table never names a recording that
// is not there; the recordings of the games it pushes out go.
static void store(const KeptGame& kept) {
    std::vector<ScoreEntry> dropped;
    const ScoreTable merged = merged_tables(stored_table(), ScoreTable{{kept.entry}, {}}, &dropped);
    adopt_stored_table(merged);
    if (rank_in(merged, kept.entry.id) == 0) return;  // another tab's games beat it meanwhile
    const std::string key = recording_key(kept.entry.id);
    if (!js_storage_set(key.c_str(), kept.recording.c_str())) return;
    if (!js_storage_set(TABLE_KEY.c_str(), score_table_text(merged).c_str())) {
        js_storage_remove(key.c_str());
        return;
    }
    for (const ScoreEntry& gone : dropped) js_storage_remove(recording_key(gone.id).c_str());
}

static void game_ended(const FinishedGame& game) {
    std::uint32_t high = 0, low = 0;
    js_unique(&high, &low);
    const auto kept = rank_finished_game(game, static_cast<std::int64_t>(std::time(nullptr)),
                                         (static_cast<std::uint64_t>(high) << 32) | low);
    if (kept) {
        js_best_keep_here(kept->entry.id.c_str(), kept->recording.c_str());
        store(*kept);
    }
    show_table();
    request_redraw();
}

extern "C" EMSCRIPTEN_KEEPALIVE void web_best_storage_changed() {
    if (!read) return;
    adopt_stored_table(stored_table());
    show_table();
    request_redraw();
}

void best_games_start() {
    js_best_open();
    opened = true;
    char id[128] = "";
    if (js_watch_asked(id, sizeof id)) {
        std::string recording;
        std::istringstream in;
        if (valid_entry_id(id) && storage_get(recording_key(id), recording) == 1) {
            in.str(recording);
            if (const std::string why = replay_load(in); why.empty()) {
                watching = true;
                js_watch_begin();
                return;
            } else {
                js_warn(("plinkfield: the best game " + std::string(id) + " cannot be watched: " + why).c_str());
            }
        } else {
            js_warn(("plinkfield: no best game " + std::string(id) + " is kept to watch").c_str());
        }
    }
    // Every game is kept in memory, with or without ?record, for the table.
    record_if_asked();
    if (!recording_on()) recording_start(nullptr, page_recording_header());
    on_game_end(game_ended);
}

void best_games_after_first_frame() {
    if (!opened || read) return;
    read = true;
    adopt_stored_table(stored_table());
    show_table();
    if (watching) start_watching();
}

bool best_games_read() { return read; }

bool best_games_watching() { return watching; }

void best_games_follow_game() {
    if (opened && !watching && game_running() != running_shown) show_table();
}

void watching_ended() { js_watch_ended(); }

std::string best_games_json() {
    std::string out = "{\"read\":" + std::string(read ? "true" : "false") +
                      ",\"watching\":" + (watching ? "true" : "false") +
                      ",\"watch_running\":" + (watching && replay_running() ? "true" : "false") +
                      ",\"text\":" + json_string(best_number_text()) + ",\"new_best\":";
    PanelPlace place{};
    out += new_best_banner(place) ? "true" : "false";
    out += ",\"entries\":[";
    bool first = true;
    for (const ScoreEntry& e : known_best_games().entries) {
        if (!first) out += ',';
        first = false;
        out += json_string(score_line(e));
    }
    return out + "]}";
}
