// The table of the ten best games: how games rank, its text read back
// (damaged and foreign lines kept out, and kept), two tables merged.
#include "game/edge/score_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

ScoreEntry entry(int score, int level, std::int64_t when, const std::string& id) {
    return {score, level, 10 * level, 3, when, id};
}

std::vector<std::string> ids(const ScoreTable& t) {
    std::vector<std::string> out;
    for (const ScoreEntry& e : t.entries) out.push_back(e.id);
    return out;
}

constexpr std::int64_t DEC_8 = 1796724902;  // 2026-12-08T10:15:02Z

TEST(ScoreTable, GamesRankByScoreThenLevelThenTheEarlierGameAndTheTenBestAreKept) {
    ScoreTable t;
    const std::vector<ScoreEntry> games = {
        entry(1500, 2, DEC_8 + 50, "later"),        // ties with "earlier" in score and level
        entry(1500, 2, DEC_8, "earlier"),
        entry(1500, 3, DEC_8 + 90, "higher-level"), // same score, a level further
        entry(2400, 2, DEC_8 + 10, "best"),
        entry(1500, 2, DEC_8, "twin-b"),            // alike in all three: by id
        entry(1500, 2, DEC_8, "twin-a"),
        entry(0, 1, DEC_8, "nothing"),
    };
    for (const ScoreEntry& g : games) t = merged_tables(t, ScoreTable{{g}, {}});
    EXPECT_EQ(ids(t), (std::vector<std::string>{"best", "higher-level", "earlier", "twin-a", "twin-b", "later",
                                                "nothing"}));
    EXPECT_EQ(rank_in(t, "later"), 6);
    EXPECT_EQ(rank_in(t, "nobody"), 0);

    // Nine, then three more at once: the two worst go, and are named.
    t = merged_tables(t, ScoreTable{{entry(100, 1, DEC_8, "m100"), entry(105, 1, DEC_8, "m105")}, {}});
    std::vector<ScoreEntry> dropped;
    const ScoreTable three{{entry(110, 1, DEC_8, "m110"), entry(5, 1, DEC_8 - 1, "five"), entry(115, 1, DEC_8, "m115")}, {}};
    t = merged_tables(t, three, &dropped);
    ASSERT_EQ(t.entries.size(), SCORE_TABLE_SIZE);
    EXPECT_EQ(rank_in(t, "nothing"), 0);
    EXPECT_EQ(t.entries.back().id, "m100");
    ASSERT_EQ(dropped.size(), 2u);
    EXPECT_EQ(dropped[0].id, "five");
    EXPECT_EQ(dropped[1].id, "nothing");
}

TEST(ScoreTable, TheTextReadsBackAsItWasWritten) {
    ScoreTable t;
    t.entries = {entry(123456790, 40, 1835481599, "20280229-235959-a"),  // a leap day's last second
                 entry(25, 1, 0, "19700101-000000-0"), entry(0, 1, 4102444799, "x_y-Z")};
    t.kept_lines = {"# mine", "2 99999 9 future fields we know nothing of"};
    const std::string text = score_table_text(t);
    EXPECT_NE(text.find("\n1 123456790 40 400 3 2028-02-29T23:59:59Z 20280229-235959-a\n"), std::string::npos) << text;
    std::vector<TableFault> faults;
    const ScoreTable back = read_score_table(text, faults);
    EXPECT_EQ(back.entries, t.entries);
    EXPECT_EQ(back.kept_lines, t.kept_lines);
    ASSERT_EQ(faults.size(), 1u) << "the other version's line is foreign";
    EXPECT_EQ(faults[0].line, 6);
    EXPECT_EQ(score_table_text(back), text);
}

// Lines a hand, a crash of another program or another version left: each
// kept out of the ranking by its line, every good line kept, and all of
// them written back as they came.
TEST(ScoreTable, DamagedAndForeignLinesAreKeptOutByLineAndWrittenBackAsTheyCame) {
    const std::string text =
        "# plinkfield best games: version score level hits misses date recording\n"  // 1
        "1 1250 2 30 20 2026-12-08T10:15:02Z good-1\n"                               // 2
        "1 900 1 20 5 2026-02-30T10:00:00Z bad-date\n"                               // 3
        "\n"                                                                         // 4
        "1 -5 1 0 25 2026-12-08T10:15:02Z negative\n"                                // 5
        "1 300 1 6 19 2026-12-08T10:15:02Z ../../etc/passwd\n"                       // 6
        "2 5000 3 60 15 2026-12-08T10:15:02Z from-a-newer-game extra\n"              // 7
        "1 700 1 14 11 2026-12-08T10:15:02Z\n"                                       // 8: cut short
        "1 450 1 9 16 2026-12-07T21:03:00Z good-2\r\n"                               // 9: CRLF
        "\xff\xfe 1 2 3\n"                                                           // 10
        "best game ever\n"                                                           // 11
        "# a note of the player's\n"                                                 // 12
        "1 1250 2 30 20 2026-12-08T10:15:02Z good-1\n"                               // 13: again
        "1 600 0 12 13 2026-12-08T10:15:02Z level-0\n"                               // 14
        "1 600 1 12 13 2026-12-08T10:15:02Z good-3";                                 // 15: no newline
    std::vector<TableFault> faults;
    const ScoreTable t = read_score_table(text, faults);
    EXPECT_EQ(ids(t), (std::vector<std::string>{"good-1", "good-3", "good-2"}));
    std::vector<long> lines;
    for (const TableFault& f : faults) lines.push_back(f.line);
    EXPECT_EQ(lines, (std::vector<long>{3, 5, 6, 7, 8, 10, 11, 13, 14}));
    const std::string told = faults_text(faults);
    for (const char* why : {"line 3: bad date '2026-02-30T10:00:00Z'", "line 5: bad score '-5'",
                            "line 6: bad recording name '../../etc/passwd'", "line 7: a line of version 2",
                            "line 8: a score line has 7 fields, this one 6", "line 10: not text: not UTF-8 at byte 1",
                            "line 11: not a score line", "line 13: the same game again", "line 14: bad level '0'"})
        EXPECT_NE(told.find(why), std::string::npos) << why << " in: " << told;

    // Written back: the good lines first, then every other line as it was.
    const std::string again = score_table_text(t);
    std::vector<TableFault> faults_again;
    const ScoreTable back = read_score_table(again, faults_again);
    EXPECT_EQ(back.entries, t.entries);
    EXPECT_EQ(back.kept_lines, t.kept_lines);
    EXPECT_EQ(faults_again.size(), faults.size());
    for (const char* line : {"\n1 900 1 20 5 2026-02-30T10:00:00Z bad-date\n", "\n\xff\xfe 1 2 3\n",
                             "\n# a note of the player's\n", "\n2 5000 3 60 15 2026-12-08T10:15:02Z from-a-newer-game extra\n"})
        EXPECT_NE(again.find(line), std::string::npos) << line;
    EXPECT_EQ(again.find("\n\n"), std::string::npos) << "blank lines go";
}

// Two windows, each with its games: merged, every game once, nothing of
// either's kept lines lost.
TEST(ScoreTable, TwoWindowsTablesMergeIntoOne) {
    ScoreTable a, b;
    a.entries = {entry(900, 1, DEC_8, "a-1"), entry(300, 1, DEC_8 + 5, "shared")};
    a.kept_lines = {"# a"};
    b.entries = {entry(300, 1, DEC_8 + 5, "shared"), entry(1200, 2, DEC_8 + 9, "b-1")};
    b.kept_lines = {"# a", "# b"};
    const ScoreTable m = merged_tables(a, b);
    EXPECT_EQ(ids(m), (std::vector<std::string>{"b-1", "a-1", "shared"}));
    EXPECT_EQ(m.kept_lines, (std::vector<std::string>{"# a", "# b"}));
    EXPECT_EQ(ids(merged_tables(b, a)), ids(m)) << "in whichever order";
}

TEST(ScoreTable, ColumnsLineUpUnderTheirHeads) {
    setenv("TZ", "UTC", 1);
    tzset();
    ScoreTable t;
    t.entries = {entry(123450, 12, DEC_8, "a"), entry(5, 1, DEC_8 + 3600 * 24, "b")};
    EXPECT_EQ(score_columns(t),
              "rank   score  level  hits  misses  date\n"
              "   1  123450     12   120       3  2026-12-08 10:15\n"
              "   2       5      1    10       3  2026-12-09 10:15\n");
}

}  // namespace
