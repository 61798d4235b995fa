#include "game_state.h"

GameState game;
