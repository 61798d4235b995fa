// The game state and the scene model as JSON, free of any platform. The
// simulator prints them; a native build dumps them for its end-to-end tests.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A JSON string literal, valid whatever the bytes: quotes and backslashes
// escaped, control characters written as \u00XX, and every byte that is not
// part of well-formed UTF-8 replaced by U+FFFD.
std::string json_string(std::string_view s);

// The length of the well-formed UTF-8 sequence that starts s, or 0 when it
// starts with none: no overlong forms, no surrogates, nothing past U+10FFFF.
std::size_t utf8_sequence(std::string_view s);

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
