// The game state and the scene model as JSON, free of any platform. The
// simulator prints them; a native build dumps them for its end-to-end tests.
#pragma once

#include <string>

// A JSON string literal: quotes and backslashes escaped, control
// characters dropped (none of the game's texts has any).
std::string json_string(const std::string& s);

// Every field of GameState, in the record's order, as one JSON object.
std::string state_object();
// All 83 scene elements in table order, as one JSON array.
std::string scene_array();

// One line each: {"state":{...}} and {"scene":[...]}.
std::string state_json();
std::string scene_json();

// Writes an integer field of GameState by name ("hole_hittable[3]" for an
// indexed flag); false with a reason when there is no such field.
bool set_field(const std::string& field, int value, std::string& why);
