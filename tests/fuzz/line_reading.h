// A line of a script as the README describes the language, read by the
// referee on its own, apart from the interpreter it judges: whether its
// bytes are a line of text, its words, and a `tick` count.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Too long, not UTF-8, or a control character other than a tab (a final CR
// is the line's ending).
bool text_is_bad(std::string_view line);
// The words between spaces and tabs.
std::vector<std::string> words_of(std::string_view line);
// A decimal count as `tick N` reads it: digits only, 0 to
// MAX_TICK_COUNT (whether the line may run that many is another matter).
std::optional<long long> tick_count(const std::string& w);
// A `tick N` line past what one line may run.
bool too_many_ticks(const std::vector<std::string>& words);
