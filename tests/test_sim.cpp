// The simulator's interpreter under input that is not a well-formed command
// line: each such line prints one {"error":"line N: ..."} that is valid JSON,
// and changes nothing of the game.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "game/model/scene.h"
#include "game/rules/game_state.h"
#include "game/shell/record/record.h"
#include "sim/sim.h"
#include "tests/fuzz/json_check.h"

namespace {

class SimInput : public ::testing::Test {
protected:
    void SetUp() override {
        start_simulation();
        recorder.seed = 1;
    }

    // Runs one line; returns what it printed.
    std::string run(const std::string& line, LineResult* result = nullptr) {
        std::string out;
        LineResult r = run_line(line, ++line_number_, out);
        if (result) *result = r;
        return out;
    }

    // The line is refused with this reason, in one line of valid JSON, and
    // the game, the scene and the window are as they were.
    void expect_refused(const std::string& line, const std::string& why) {
        const GameState game_before = game;
        const auto scene_before = scene;
        const int x = recorder.window_x, y = recorder.window_y;
        LineResult r;
        std::string out = run(line, &r);
        EXPECT_EQ(r, LineResult::error);
        EXPECT_EQ(out, "{\"error\":\"line " + std::to_string(line_number_) + ": " + why + "\"}\n");
        ASSERT_FALSE(out.empty());
        EXPECT_EQ(json_object_fault(out.substr(0, out.size() - 1)), "") << out;
        EXPECT_TRUE(game == game_before);
        EXPECT_TRUE(scene == scene_before);
        EXPECT_EQ(recorder.window_x, x);
        EXPECT_EQ(recorder.window_y, y);
    }

    long long line_number_ = 0;
};

TEST_F(SimInput, TrailingCrIsPartOfTheLineEnding) {
    std::string plain = run("start");
    SetUp();
    EXPECT_EQ(run("start\r"), plain);
    EXPECT_EQ(game.stage, STAGE_SHOOTING);
    EXPECT_EQ(run("tick 2\r"), "{\"cue\":\"snd_popup_3\"}\n");
    LineResult r;
    EXPECT_EQ(run("\r", &r), "");
    EXPECT_EQ(r, LineResult::ignored);
    EXPECT_EQ(run("# a comment\r", &r), "");
    EXPECT_EQ(r, LineResult::ignored);
}

TEST_F(SimInput, OnlyOneCrEndsALineAndNoneInside) {
    expect_refused("start\r\r", "control character 0x0D at byte 6");
    expect_refused("tick\r3", "control character 0x0D at byte 5");
}

TEST_F(SimInput, ControlBytesAreRefusedWithTheirPlace) {
    expect_refused(std::string("st\0art", 6), "control character 0x00 at byte 3");
    expect_refused(std::string("\0", 1), "control character 0x00 at byte 1");
    expect_refused("tick\x0b" "3", "control character 0x0B at byte 5");
    expect_refused("\x1b[A", "control character 0x1B at byte 1");
    expect_refused("start\x7f", "control character 0x7F at byte 6");
    // Even in a comment: a script line is a line of text.
    expect_refused(std::string("# note\0", 7), "control character 0x00 at byte 7");
}

TEST_F(SimInput, TabSeparatesWordsLikeASpace) {
    run("start");
    EXPECT_EQ(run("tick\t2"), "{\"cue\":\"snd_popup_3\"}\n");
    EXPECT_EQ(game.popup_tick, 2);
}

TEST_F(SimInput, BytesThatAreNotUtf8AreRefused) {
    expect_refused("\xff", "not UTF-8 at byte 1");
    expect_refused("key \x80", "not UTF-8 at byte 5");             // a lone continuation byte
    expect_refused("key \xc0\xaf", "not UTF-8 at byte 5");         // overlong '/'
    expect_refused("key \xed\xa0\x80", "not UTF-8 at byte 5");     // a surrogate
    expect_refused("key \xf4\x90\x80\x80", "not UTF-8 at byte 5"); // past U+10FFFF
    expect_refused("key \xe2\x82", "not UTF-8 at byte 5");         // cut short
    expect_refused("# caf\xe9", "not UTF-8 at byte 6");            // Latin-1
}

TEST_F(SimInput, Utf8WordsAreWordsAndCommentsMayHoldAnyText) {
    expect_refused("caf\xc3\xa9", "unknown command 'caf\xc3\xa9'");
    expect_refused("key \xe2\x86\x90", "unknown key '\xe2\x86\x90'");
    LineResult r;
    run("# \xc3\x97 level, \xf0\x9f\x90\x80 and \xe2\x80\x94", &r);
    EXPECT_EQ(r, LineResult::ignored);
}

TEST_F(SimInput, OverLongLinesAreRefusedAndReadWithinBounds) {
    std::string megabyte(1 << 20, 'a');
    std::istringstream in("start\n" + megabyte + "\nstate\n# " + std::string(MAX_LINE_BYTES - 2, 'b') + "\r\n");
    std::string line;
    ASSERT_TRUE(read_line(in, line));
    EXPECT_EQ(line, "start");
    ASSERT_TRUE(read_line(in, line));
    EXPECT_LE(line.size(), MAX_LINE_BYTES + 2);  // the rest was dropped, not kept
    expect_refused(line, "longer than 4096 bytes");
    ASSERT_TRUE(read_line(in, line));
    EXPECT_EQ(line, "state");
    // Exactly at the limit, with a CRLF ending: taken.
    ASSERT_TRUE(read_line(in, line));
    LineResult r;
    EXPECT_EQ(run(line, &r), "");
    EXPECT_EQ(r, LineResult::ignored);
    EXPECT_FALSE(read_line(in, line));
    expect_refused("# " + std::string(MAX_LINE_BYTES - 1, 'b'), "longer than 4096 bytes");
}

TEST_F(SimInput, TheLastLineNeedsNoNewline) {
    std::istringstream in("tick\nstate");
    std::string line;
    ASSERT_TRUE(read_line(in, line));
    ASSERT_TRUE(read_line(in, line));
    EXPECT_EQ(line, "state");
    EXPECT_FALSE(read_line(in, line));
}

TEST_F(SimInput, NumbersOutOfRangeOrWithJunkAreRefused) {
    expect_refused("tick 1000000001", "bad number '1000000001'");
    expect_refused("tick 99999999999999999999999", "bad number '99999999999999999999999'");
    expect_refused("tick 3x", "bad number '3x'");
    expect_refused("tick +3", "bad number '+3'");
    expect_refused("tick 0x10", "bad number '0x10'");
    expect_refused("tick 1e3", "bad number '1e3'");
    expect_refused("click 65536 0", "bad number '65536'");
    expect_refused("click 0 -1", "bad number '-1'");
    expect_refused("move 1.5 2", "bad number '1.5'");
    expect_refused("seed 4294967296", "bad number '4294967296'");
    // A long word is shown cut short.
    expect_refused("tick " + std::string(40, '7'), "bad number '" + std::string(32, '7') + "...' (40 bytes)");
}

// One line runs at most 100 000 ticks, the limit the README and the manual
// page give; the limit itself runs, as that many ticks over two lines do.
TEST_F(SimInput, TickCountsPastTheLimitAreRefused) {
    run("start");
    run("tick 7");
    expect_refused("tick 100001", "'tick' runs at most 100000 ticks a line");
    expect_refused("tick 1000000000", "'tick' runs at most 100000 ticks a line");
    LineResult r;
    const std::string at_once = run("tick 100000", &r);
    EXPECT_EQ(r, LineResult::ok);
    const std::string after_once = state_json();
    SetUp();
    run("start");
    run("tick 7");
    std::string in_halves = run("tick 50000");
    in_halves += run("tick 50000");
    EXPECT_EQ(at_once, in_halves);
    EXPECT_EQ(after_once, state_json());
    EXPECT_NE(at_once.find("snd_popup"), std::string::npos) << "the ticks ran";
}

TEST_F(SimInput, MissingOrExtraArgumentsAreRefused) {
    expect_refused("start 1", "'start' takes no arguments");
    expect_refused("cancel now", "'cancel' takes no arguments");
    expect_refused("minimize x", "'minimize' takes no arguments");
    expect_refused("close please", "'close' takes no arguments");
    expect_refused("state x", "'state' takes no arguments");
    expect_refused("scene x", "'scene' takes no arguments");
    expect_refused("tick 1 2", "'tick' takes at most one argument");
    expect_refused("click", "'click' takes 2 arguments");
    expect_refused("click 1 2 3", "'click' takes 2 arguments");
    expect_refused("move 1", "'move' takes 2 arguments");
    expect_refused("key", "'key' takes 1 argument");
    expect_refused("key left right", "'key' takes 1 argument");
    expect_refused("seed", "'seed' takes 1 argument");
    expect_refused("ambient", "'ambient' takes 1 argument");
    expect_refused("set score", "'set' takes 2 arguments");
}

TEST_F(SimInput, RefusedLinesChangeNothingInTheMiddleOfAGame) {
    run("start");
    run("tick 5");
    run("click 60 600");
    expect_refused("click 60", "'click' takes 2 arguments");
    expect_refused("start\r\r", "control character 0x0D at byte 6");
    expect_refused("\xfe\xff", "not UTF-8 at byte 1");
    expect_refused("key up down", "'key' takes 1 argument");
    EXPECT_EQ(game.shots_fired, 1);
}

// Whatever single byte stands in a word, the answer is one line of JSON.
TEST_F(SimInput, EveryByteGivesValidJson) {
    for (int b = 0; b < 256; ++b) {
        for (std::string line : {std::string("key ") + char(b), std::string(1, char(b)) + "x",
                                 std::string("seed 1") + char(b)}) {
            std::string out = run(line);
            std::size_t start = 0;
            while (start < out.size()) {
                std::size_t end = out.find('\n', start);
                ASSERT_NE(end, std::string::npos) << "byte " << b;
                EXPECT_EQ(json_object_fault(out.substr(start, end - start)), "") << "byte " << b;
                start = end + 1;
            }
        }
    }
}

// Every control byte but tab, wherever it stands, is named with its place.
TEST_F(SimInput, EveryControlByteButTabIsRefusedWithItsPlace) {
    std::vector<int> controls;
    for (int b = 0x00; b <= 0x1F; ++b) controls.push_back(b);
    controls.push_back(0x7F);
    for (int b : controls) {
        SCOPED_TRACE(b);
        if (b == '\t') {
            EXPECT_EQ(text_fault("tick\t3"), "");
            continue;
        }
        char hex[5];
        std::snprintf(hex, sizeof hex, "0x%02X", b);
        const char c = static_cast<char>(b);
        expect_refused(std::string(1, c) + "start", std::string("control character ") + hex + " at byte 1");
        expect_refused(std::string("tick ") + c + "3", std::string("control character ") + hex + " at byte 6");
        // After a two-byte character: the place counts bytes, not characters.
        expect_refused(std::string("# caf\xc3\xa9") + c + "!", std::string("control character ") + hex + " at byte 8");
    }
}

// Each kind of malformed UTF-8, at byte 3 of a comment: the line is refused
// and the place is that of the sequence's first byte.
TEST_F(SimInput, EveryKindOfMalformedUtf8IsRefusedAtItsFirstByte) {
    const struct {
        const char* bytes;
        const char* what;
    } cases[] = {
        {"\x80", "a lone continuation byte"},
        {"\xbf", "a lone last continuation byte"},
        {"\xc0\x80", "overlong two-byte NUL"},
        {"\xc1\xbf", "overlong two-byte U+007F"},
        {"\xe0\x80\x80", "overlong three-byte NUL"},
        {"\xe0\x9f\xbf", "overlong three-byte U+07FF"},
        {"\xf0\x80\x80\x80", "overlong four-byte NUL"},
        {"\xf0\x8f\xbf\xbf", "overlong four-byte U+FFFF"},
        {"\xed\xa0\x80", "the first surrogate, U+D800"},
        {"\xed\xbf\xbf", "the last surrogate, U+DFFF"},
        {"\xf4\x90\x80\x80", "U+110000, past the last code point"},
        {"\xf5\x80\x80\x80", "lead byte 0xF5"},
        {"\xf7\xbf\xbf\xbf", "lead byte 0xF7"},
        {"\xf8\x88\x80\x80\x80", "lead byte 0xF8, a five-byte form"},
        {"\xfc\x84\x80\x80\x80\x80", "lead byte 0xFC, a six-byte form"},
        {"\xfe", "lead byte 0xFE"},
        {"\xff", "lead byte 0xFF"},
        {"\xc3", "a two-byte sequence cut off by the line's end"},
        {"\xe2\x82", "a three-byte sequence cut off by the line's end"},
        {"\xf0\x9f\x90", "a four-byte sequence cut off by the line's end"},
        {"\xc3" "a", "a two-byte sequence cut off by a letter"},
        {"\xe2\x82" "a", "a three-byte sequence cut off by a letter"},
        {"\xe2" "a\xa1", "a three-byte sequence broken after its lead"},
        {"\xf0\x9f\x90" "a", "a four-byte sequence cut off by a letter"},
        {"\xf0\x9f" " x", "a four-byte sequence cut off by a space"},
        {"\xc3\xc3\xa9", "a lead byte followed by another lead"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        expect_refused(std::string("# ") + c.bytes, "not UTF-8 at byte 3");
        // The same bytes inside a word are refused before the word is read.
        expect_refused(std::string("key ") + c.bytes, "not UTF-8 at byte 5");
    }
    expect_refused("# \xc3\xa9\x80", "not UTF-8 at byte 5");  // a continuation byte after a whole character
}

// Each class of well-formed character, the edges of every length included,
// is one sequence of its own length and a line of text.
TEST_F(SimInput, EveryClassOfWellFormedUtf8IsTaken) {
    const struct {
        const char* bytes;
        std::size_t length;
        const char* what;
    } cases[] = {
        {"!", 1, "U+0021"},
        {"~", 1, "U+007E"},
        {"\xc2\x80", 2, "U+0080, the first two-byte character"},
        {"\xc3\xa9", 2, "U+00E9"},
        {"\xdf\xbf", 2, "U+07FF, the last two-byte character"},
        {"\xe0\xa0\x80", 3, "U+0800, the first three-byte character"},
        {"\xe2\x82\xac", 3, "U+20AC"},
        {"\xed\x9f\xbf", 3, "U+D7FF, just below the surrogates"},
        {"\xee\x80\x80", 3, "U+E000, just above the surrogates"},
        {"\xef\xbf\xbd", 3, "U+FFFD"},
        {"\xef\xbf\xbf", 3, "U+FFFF, the last three-byte character"},
        {"\xf0\x90\x80\x80", 4, "U+10000, the first four-byte character"},
        {"\xf0\x9f\x90\x80", 4, "U+1F400"},
        {"\xf3\xbf\xbf\xbf", 4, "U+FFFFF"},
        {"\xf4\x80\x80\x80", 4, "U+100000"},
        {"\xf4\x8f\xbf\xbf", 4, "U+10FFFF, the last code point"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string bytes = c.bytes;
        EXPECT_EQ(utf8_sequence(bytes + "x"), c.length);
        LineResult r;
        EXPECT_EQ(run("# " + bytes + bytes + " " + bytes, &r), "");
        EXPECT_EQ(r, LineResult::ignored);
        expect_refused("key " + bytes, "unknown key '" + bytes + "'");
    }
    // U+007F is one well-formed byte, yet as DEL a control character.
    EXPECT_EQ(utf8_sequence("\x7f"), 1u);
    EXPECT_EQ(text_fault("\x7f"), "control character 0x7F at byte 1");
}

// `set` writes a field by name; every index it cannot take is one error
// line, however long the digits.
TEST_F(SimInput, SetTakesOnlyIndicesTheFieldHas) {
    LineResult r;
    EXPECT_EQ(run("set hole_hittable[9] 1", &r), "");
    EXPECT_EQ(r, LineResult::ok);
    EXPECT_EQ(game.hole_hittable[9], 1);
    run("set descender_hittable[02] 1");
    EXPECT_EQ(game.descender_hittable[2], 1);
    run("set score -5");
    EXPECT_EQ(game.score, -5);

    const struct {
        const char* line;
        const char* why;
    } refused[] = {
        {"set hole_hittable[99999999999999999999] 1", "bad index in 'hole_hittable[99999999999999999999]'"},
        {"set hole_hittable[100] 1", "bad index in 'hole_hittable[100]'"},
        {"set hole_hittable[-1] 1", "bad index in 'hole_hittable[-1]'"},
        {"set hole_hittable[+1] 1", "bad index in 'hole_hittable[+1]'"},
        {"set hole_hittable[1][2] 1", "bad index in 'hole_hittable[1][2]'"},
        {"set hole_hittable[] 1", "bad field 'hole_hittable[]'"},
        {"set hole_hittable[1 1", "bad field 'hole_hittable[1'"},
        {"set hole_hittable[1]x 1", "bad field 'hole_hittable[1]x'"},
        {"set hole_hittable[10] 1", "'hole_hittable' takes an index from 1 to 9"},
        {"set hole_hittable[0] 1", "'hole_hittable' takes an index from 1 to 9"},
        {"set hole_hittable 1", "'hole_hittable' takes an index from 1 to 9"},
        {"set descender_hittable[1] 1", "'descender_hittable' takes an index from 2 to 4"},
        {"set descender_hittable[5] 1", "'descender_hittable' takes an index from 2 to 4"},
        {"set bird_hittable[7] 1", "'bird_hittable' takes an index from 1 to 6"},
        {"set score[1] 1", "'score[1]' is not an integer field"},
        {"set score_text 1", "'score_text' is not an integer field"},
        {"set drag_strip 1", "'drag_strip' is not an integer field"},
        {"set holes[1] 1", "unknown field 'holes[1]'"},
        {"set [1] 1", "unknown field '[1]'"},
        {"set score 2147483648", "bad number '2147483648'"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.line);
        expect_refused(c.line, c.why);
    }
}

TEST(JsonString, EscapesControlsAndReplacesWhatIsNotUtf8) {
    EXPECT_EQ(json_string("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(json_string(std::string("a\0b\n\x1f", 5)), R"("a\u0000b\u000a\u001f")");
    EXPECT_EQ(json_string("caf\xc3\xa9"), "\"caf\xc3\xa9\"");
    EXPECT_EQ(json_string("x\xff\xc3y"), "\"x\xef\xbf\xbd\xef\xbf\xbdy\"");
    EXPECT_EQ(json_string("\xed\xa0\x80"), "\"\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\"");
}

}  // namespace
