// The rules of the field that hold after every command, read from the game
// record and the scene alone: the rodents, the cartridge row, the cow, the
// spider, the lizards, the crow, the banners and the sprites. The referee
// checks the rest (the record's own numbers, and what it remembers between
// commands) and reports a broken rule.
#pragma once

#include "game/model/elements.h"
#include "game/model/scene.h"

// Ends the run with a report of the rule and the command that broke it.
[[noreturn]] void rule_broken(const char* rule);

inline void require(bool ok, const char* rule) {
    if (!ok) rule_broken(rule);
}

inline bool visible(Element e) { return scene[e].visible; }

// Every rule of the field; `started`: a START was accepted since the
// program started (before it, nothing moves); `row_start`: the shots fired
// before the current cartridge row.
void check_field(bool started, int row_start);
