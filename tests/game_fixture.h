// A fresh process for every test: program-start GameState, the scene built,
// the recorder empty and the generator's seed fixed.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/model/scene.h"
#include "game/rules/game_state.h"
#include "game/rules/tick.h"
#include "game/rules/window_events.h"
#include "game/shell/record/record.h"

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        game = GameState{};
        reset_recorder();
        recorder.seed = 1;
        create_scene();
        take_events();
    }

    // Runs a command, a press or ticks and returns what they did outside.
    std::vector<std::string> command(int id) {
        dispatch_command(id);
        return take_events();
    }
    std::vector<std::string> start() { return command(START_BUTTON_ID); }
    std::vector<std::string> click(int x, int y) {
        handle_press(x, y);
        return take_events();
    }
    std::vector<std::string> tick(int n = 1) {
        for (int i = 0; i < n; ++i) game_tick();
        return take_events();
    }

    // A point inside an element, one pixel in from its top-left corner.
    static std::pair<int, int> inside(Element e) { return {scene[e].x + 1, scene[e].y + 1}; }
    std::vector<std::string> click_on(Element e) {
        auto [x, y] = inside(e);
        return click(x, y);
    }
    // A press that hits nothing: open meadow, clear of every target.
    std::vector<std::string> miss() { return click(60, 600); }

    static bool visible(Element e) { return scene[e].visible; }
    static std::string label(Element e) { return scene[e].text; }
};

inline std::string cue(const char* name) { return std::string("{\"cue\":\"") + name + "\"}"; }
inline const std::string TIMER_ON = R"({"timer":"on"})";
inline const std::string TIMER_OFF = R"({"timer":"off"})";
inline const std::string AMBIENT_START = R"({"ambient":"start"})";
inline const std::string AMBIENT_STOP = R"({"ambient":"stop"})";
inline const std::string BEEP = R"({"beep":0})";

using Events = std::vector<std::string>;
