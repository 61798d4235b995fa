// A strict JSON check for the simulator's output: one value per line, every
// string well-formed UTF-8 without raw control characters. Written apart
// from the code that prints, so that one cannot excuse the other.
#pragma once

#include <string>
#include <string_view>

// "" when `line` is exactly one JSON object; otherwise what is wrong.
std::string json_object_fault(std::string_view line);

// Whether `line` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing past U+10FFFF), decoded here code point by code point.
bool is_utf8(std::string_view line);
