// CUE_TABLE: every sound effect of the game program, one WAVE resource each.
// All are PCM mono. A cue starts at once, never waits, and cuts off the cue
// that is still playing; the ambient loop is another program's and goes on.
#pragma once

#include <array>

enum class Cue {
    snd_start,
    snd_minimize,
    snd_hit,
    snd_shot,
    snd_popup_1,
    snd_popup_2,
    snd_popup_3,
    snd_miss_taunt,
    snd_miss_alt,
    snd_hit_special,
    snd_hit_special_9,
    snd_cow,
    snd_lizard,
    snd_bird_hit,
    snd_bonus_start,
    snd_cancel,
    gunshot_spare,  // the fourth gunshot mix: carried, never played
    COUNT
};

struct CueRow {
    Cue cue;
    const char* name;
    int wave_id;
    int sample_rate;
    int bits;
    int hundredths;  // length in hundredths of a second
};

inline constexpr std::array<CueRow, static_cast<int>(Cue::COUNT)> CUE_TABLE = {{
    {Cue::snd_start, "snd_start", 7750, 22050, 16, 3},
    {Cue::snd_minimize, "snd_minimize", 7800, 8000, 8, 28},
    {Cue::snd_hit, "snd_hit", 7850, 22050, 16, 66},
    {Cue::snd_shot, "snd_shot", 7900, 22050, 16, 66},
    {Cue::snd_popup_1, "snd_popup_1", 8000, 11025, 16, 34},
    {Cue::snd_popup_2, "snd_popup_2", 8100, 22050, 16, 75},
    {Cue::snd_popup_3, "snd_popup_3", 8900, 22050, 16, 60},
    {Cue::snd_miss_taunt, "snd_miss_taunt", 8200, 22050, 16, 178},
    {Cue::snd_miss_alt, "snd_miss_alt", 7700, 22050, 16, 255},
    {Cue::snd_hit_special, "snd_hit_special", 8300, 22050, 16, 209},
    {Cue::snd_hit_special_9, "snd_hit_special_9", 8800, 22050, 16, 217},
    {Cue::snd_cow, "snd_cow", 6100, 22050, 16, 138},
    {Cue::snd_lizard, "snd_lizard", 2550, 22050, 16, 100},
    {Cue::snd_bird_hit, "snd_bird_hit", 8400, 22050, 16, 66},
    {Cue::snd_bonus_start, "snd_bonus_start", 8600, 22050, 16, 93},
    {Cue::snd_cancel, "snd_cancel", 8700, 11025, 16, 210},
    {Cue::gunshot_spare, "", 8500, 22050, 16, 66},  // fourth gunshot mix, no event plays it
}};

namespace cues_detail {
constexpr bool rows_in_enum_order() {
    for (int i = 0; i < static_cast<int>(Cue::COUNT); ++i)
        if (static_cast<int>(CUE_TABLE[i].cue) != i) return false;
    return true;
}
}  // namespace cues_detail
static_assert(cues_detail::rows_in_enum_order());

constexpr const CueRow& cue_row(Cue c) { return CUE_TABLE[static_cast<int>(c)]; }
