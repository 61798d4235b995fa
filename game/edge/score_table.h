// The table of the ten best games: how games rank, the table as text (one
// line a game, stored by each backend where it keeps things: a file, the
// browser's storage) and two tables merged into one, as when two windows
// each add their games to the same storage. No storage here: a backend
// hands the text in and takes it out.
//
// A line of the text, fields separated by one space:
//   1 SCORE LEVEL HITS MISSES DATE ID
// 1 is the line's version; DATE the game's end in UTC, as
// 2026-12-08T10:15:02Z; ID names the game's recording (letters, digits,
// "-" and "_"). Lines starting with "#" are comments.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t SCORE_TABLE_SIZE = 10;
inline constexpr int SCORE_LINE_VERSION = 1;

struct ScoreEntry {
    int score = 0, level = 1, hits = 0, misses = 0;
    std::int64_t when = 0;  // the game's end, in seconds since 1970 (UTC)
    std::string id;         // unique to the game; names its recording

    bool operator==(const ScoreEntry&) const = default;
};

// Score first, then the level reached, then the earlier game; two games
// alike in all three (two windows in one second) go by their ids, so that
// every copy of a table ranks them the same.
bool ranks_above(const ScoreEntry& a, const ScoreEntry& b);

struct ScoreTable {
    std::vector<ScoreEntry> entries;  // best first
    // Every line that is no entry this game ranks (another version's, a
    // damaged one, a comment): written back as it came, so that nothing of
    // it is lost.
    std::vector<std::string> kept_lines;
};

// A line that is kept out of the ranking, and why.
struct TableFault {
    long line;  // counted from 1
    std::string why;
};

// Reads a table's text. Every good line is an entry (best first; more than
// SCORE_TABLE_SIZE only if the text held more); every other line but blank
// ones and the header the table is written with is kept as it is, and each
// damaged or foreign one is a fault.
ScoreTable read_score_table(std::string_view text, std::vector<TableFault>& faults);
// The faults as one line for a warning: "line 3: why; line 5: why".
std::string faults_text(const std::vector<TableFault>& faults);

// The table as text: a header comment, the entries best first, then the
// kept lines.
std::string score_table_text(const ScoreTable& table);
std::string score_line(const ScoreEntry& entry);

// The entries of both, one of each game (by id), ranked and cut to the
// best SCORE_TABLE_SIZE; the kept lines of both. Entries cut off go into
// `dropped`, when given, so that their recordings can go too.
ScoreTable merged_tables(const ScoreTable& a, const ScoreTable& b, std::vector<ScoreEntry>* dropped = nullptr);
// An entry's place in the table, from 1; 0 when it is not in it.
int rank_in(const ScoreTable& table, const std::string& id);

// An id for a game that ended at `when`: its date and time, then `unique`,
// a number no other window's game of that second has (a process id and a
// count, a random number).
std::string entry_id(std::int64_t when, std::uint64_t unique);
bool valid_entry_id(std::string_view id);

// DATE as the table writes it, and back; false for anything else.
std::string utc_date(std::int64_t when);
bool read_utc_date(std::string_view text, std::int64_t& when);

// The best SCORE_TABLE_SIZE in aligned columns, a header first: rank,
// score, level, hits, misses and the date in local time.
std::string score_columns(const ScoreTable& table);
