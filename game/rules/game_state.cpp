#include "game/rules/game_state.h"

GameState game;
