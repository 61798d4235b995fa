#include "game/edge/score_table.h"

#include <algorithm>
#include <climits>
#include <ctime>

#include "game/edge/script.h"

namespace {

constexpr std::string_view HEADER = "# plinkfield best games: version score level hits misses date recording";

// ------------------------------------------------------------ the calendar

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and
// back (the civil-date algorithms of H. Hinnant): no time zone, no library.
std::int64_t days_from_civil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civil_from_days(std::int64_t z, std::int64_t& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2);
}

// Two digits. (Not "0" + to_string: GCC 12 at -O3 takes that concatenation
// for an overlapping copy, a false -Wrestrict.)
std::string two(long long v) {
    std::string s = std::to_string(v);
    if (s.size() < 2) s.insert(s.begin(), '0');
    return s;
}

// Digits only: the table's numbers carry no sign.
bool count(std::string_view word, long long lo, long long hi, int& out) {
    long long v = 0;
    if (word.empty() || word.find_first_not_of("0123456789") != std::string_view::npos) return false;
    if (!whole_number(word, lo, hi, v)) return false;
    out = static_cast<int>(v);
    return true;
}

// Why a line that starts with version 1 is no entry, or "".
std::string read_entry(const std::vector<std::string>& w, ScoreEntry& e) {
    if (w.size() != 7) return "a score line has 7 fields, this one " + std::to_string(w.size());
    if (!count(w[1], 0, INT_MAX, e.score)) return "bad score " + quoted(w[1]);
    if (!count(w[2], 1, INT_MAX, e.level)) return "bad level " + quoted(w[2]);
    if (!count(w[3], 0, INT_MAX, e.hits)) return "bad hits " + quoted(w[3]);
    if (!count(w[4], 0, INT_MAX, e.misses)) return "bad misses " + quoted(w[4]);
    if (!read_utc_date(w[5], e.when)) return "bad date " + quoted(w[5]);
    if (!valid_entry_id(w[6])) return "bad recording name " + quoted(w[6]);
    e.id = w[6];
    return "";
}

void rank(std::vector<ScoreEntry>& entries) { std::stable_sort(entries.begin(), entries.end(), ranks_above); }

}  // namespace

bool ranks_above(const ScoreEntry& a, const ScoreEntry& b) {
    if (a.score != b.score) return a.score > b.score;
    if (a.level != b.level) return a.level > b.level;
    if (a.when != b.when) return a.when < b.when;
    return a.id < b.id;
}

ScoreTable read_score_table(std::string_view text, std::vector<TableFault>& faults) {
    ScoreTable table;
    long number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        const std::string_view line = without_line_ending(raw);
        std::string why = text_fault(line);
        const std::vector<std::string> words = why.empty() ? split_words(line) : std::vector<std::string>{};
        if (why.empty() && words.empty()) continue;
        if (why.empty() && words[0][0] == '#') {
            if (line != HEADER) table.kept_lines.emplace_back(raw);
            continue;
        }
        ScoreEntry e;
        int version = 0;
        if (!why.empty())
            why = "not text: " + why;
        else if (!count(words[0], 0, INT_MAX, version))
            why = "not a score line";
        else if (version != SCORE_LINE_VERSION)
            why = "a line of version " + words[0] + ", which this game does not read";
        else
            why = read_entry(words, e);
        if (why.empty()) {
            const bool again = std::any_of(table.entries.begin(), table.entries.end(),
                                           [&](const ScoreEntry& other) { return other.id == e.id; });
            if (again) why = "the same game again, " + quoted(e.id);
        }
        if (why.empty()) {
            table.entries.push_back(e);
        } else {
            table.kept_lines.emplace_back(raw);
            faults.push_back({number, why});
        }
    }
    rank(table.entries);
    return table;
}

std::string faults_text(const std::vector<TableFault>& faults) {
    std::string out;
    for (const TableFault& f : faults) {
        if (!out.empty()) out += "; ";
        out += "line " + std::to_string(f.line) + ": " + f.why;
    }
    return out;
}

std::string score_line(const ScoreEntry& e) {
    return std::to_string(SCORE_LINE_VERSION) + " " + std::to_string(e.score) + " " + std::to_string(e.level) + " " +
           std::to_string(e.hits) + " " + std::to_string(e.misses) + " " + utc_date(e.when) + " " + e.id;
}

std::string score_table_text(const ScoreTable& table) {
    std::string out(HEADER);
    out += '\n';
    for (const ScoreEntry& e : table.entries) out.append(score_line(e)).push_back('\n');
    for (const std::string& line : table.kept_lines) out.append(line).push_back('\n');
    return out;
}

ScoreTable merged_tables(const ScoreTable& a, const ScoreTable& b, std::vector<ScoreEntry>* dropped) {
    ScoreTable out = a;
    for (const ScoreEntry& e : b.entries)
        if (rank_in(out, e.id) == 0) out.entries.push_back(e);
    for (const std::string& line : b.kept_lines)
        if (std::find(out.kept_lines.begin(), out.kept_lines.end(), line) == out.kept_lines.end())
            out.kept_lines.push_back(line);
    rank(out.entries);
    if (out.entries.size() > SCORE_TABLE_SIZE) {
        const auto cut = out.entries.begin() + SCORE_TABLE_SIZE;
        if (dropped) dropped->insert(dropped->end(), cut, out.entries.end());
        out.entries.erase(cut, out.entries.end());
    }
    return out;
}

int rank_in(const ScoreTable& table, const std::string& id) {
    for (std::size_t i = 0; i < table.entries.size(); ++i)
        if (table.entries[i].id == id) return static_cast<int>(i) + 1;
    return 0;
}

std::string entry_id(std::int64_t when, std::uint64_t unique) {
    std::string stamp = utc_date(when);  // 2026-12-08T10:15:02Z
    stamp.erase(std::remove_if(stamp.begin(), stamp.end(), [](char c) { return c == '-' || c == ':' || c == 'Z'; }),
                stamp.end());
    std::replace(stamp.begin(), stamp.end(), 'T', '-');
    std::string tail;
    do {
        tail.insert(tail.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[unique % 36]);
        unique /= 36;
    } while (unique > 0);
    return stamp + "-" + tail;
}

bool valid_entry_id(std::string_view id) {
    // It names a file: no dots, no slashes, nothing that is not plain.
    if (id.empty() || id.size() > 64 || id[0] == '-' || id[0] == '_') return false;
    return std::all_of(id.begin(), id.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '_';
    });
}

std::string utc_date(std::int64_t when) {
    const std::int64_t days = (when >= 0 ? when : when - 86399) / 86400, secs = when - days * 86400;
    std::int64_t y = 0;
    int m = 0, d = 0;
    civil_from_days(days, y, m, d);
    return std::to_string(y) + "-" + two(m) + "-" + two(d) + "T" + two(secs / 3600) + ":" + two(secs / 60 % 60) +
           ":" + two(secs % 60) + "Z";
}

bool read_utc_date(std::string_view t, std::int64_t& when) {
    // 2026-12-08T10:15:02Z, exactly.
    constexpr std::string_view shape = "dddd-dd-ddTdd:dd:ddZ";
    if (t.size() != shape.size()) return false;
    for (std::size_t i = 0; i < t.size(); ++i)
        if (shape[i] == 'd' ? (t[i] < '0' || t[i] > '9') : t[i] != shape[i]) return false;
    auto field = [&](std::size_t at, std::size_t n) { return std::stoi(std::string(t.substr(at, n))); };
    const int y = field(0, 4), m = field(5, 2), d = field(8, 2), h = field(11, 2), min = field(14, 2),
              s = field(17, 2);
    if (y < 1970 || m < 1 || m > 12 || d < 1 || h > 23 || min > 59 || s > 59) return false;
    const std::int64_t days = days_from_civil(y, m, d);
    // The 30th of February comes back as a day of March.
    std::int64_t yy = 0;
    int mm = 0, dd = 0;
    civil_from_days(days, yy, mm, dd);
    if (mm != m || dd != d) return false;
    when = days * 86400 + h * 3600 + min * 60 + s;
    return true;
}

std::string score_columns(const ScoreTable& table) {
    const std::vector<std::string> heads = {"rank", "score", "level", "hits", "misses", "date"};
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < table.entries.size() && i < SCORE_TABLE_SIZE; ++i) {
        const ScoreEntry& e = table.entries[i];
        const std::time_t t = static_cast<std::time_t>(e.when);
        char date[32] = "";
        if (const std::tm* local = std::localtime(&t)) std::strftime(date, sizeof date, "%Y-%m-%d %H:%M", local);
        rows.push_back({std::to_string(i + 1), std::to_string(e.score), std::to_string(e.level),
                        std::to_string(e.hits), std::to_string(e.misses), date});
    }
    std::vector<std::size_t> width;
    for (std::size_t c = 0; c < heads.size(); ++c) {
        width.push_back(heads[c].size());
        for (const auto& row : rows) width[c] = std::max(width[c], row[c].size());
    }
    // Numbers to the right of their column, the date to the left.
    auto line = [&](const std::vector<std::string>& cells) {
        std::string out;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const std::string pad(width[c] - cells[c].size(), ' ');
            if (c > 0) out += "  ";
            out += c + 1 < cells.size() ? pad + cells[c] : cells[c];
        }
        return out + "\n";
    };
    std::string out = line(heads);
    for (const auto& row : rows) out += line(row);
    return out;
}
