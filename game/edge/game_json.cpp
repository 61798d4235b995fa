// The game state and the scene model as JSON: what the simulator prints
// and what a native build writes for its end-to-end tests. One field table
// serves reading and writing, so the two cannot disagree on a name.
#include "game/edge/game_json.h"

#include <array>

#include "game/model/scene.h"
#include "game/rules/game_state.h"

namespace {

struct Field {
    enum Kind { number, flags, text, strip } kind;
    const char* name;
    int* value = nullptr;  // number; or index 0 of an array of flags
    int first = 0, last = 0;
    std::string* str = nullptr;
};

constexpr Field num(const char* name, int& v) { return {Field::number, name, &v}; }
template <std::size_t N>
constexpr Field flags(const char* name, std::array<int, N>& a, int first) {
    return {Field::flags, name, &a[0], first, static_cast<int>(N) - 1};
}
constexpr Field text(const char* name, std::string& s) { return {Field::text, name, nullptr, 0, 0, &s}; }

// Every field of the record, in the record's order.
constexpr Field FIELDS[] = {
    num("level", game.level),
    num("ammo_window_end", game.ammo_window_end),
    num("hole_count", game.hole_count),
    num("fail_below", game.fail_below),
    num("advance_above", game.advance_above),
    num("shot_limit", game.shot_limit),
    num("cue_shot_hit", game.cue_shot_hit),
    num("cue_shot_miss_a", game.cue_shot_miss_a),
    num("cue_shot_miss_b", game.cue_shot_miss_b),
    num("cue_shot_miss_c", game.cue_shot_miss_c),
    {Field::strip, "drag_strip"},
    num("stage", game.stage),
    num("shots_fired", game.shots_fired),
    num("spawn_count", game.spawn_count),
    num("popup_tick", game.popup_tick),
    num("cow_tick", game.cow_tick),
    num("spider_tick", game.spider_tick),
    num("lizard_tick", game.lizard_tick),
    num("splat_tick", game.splat_tick),
    num("bonus_tick", game.bonus_tick),
    num("score", game.score),
    num("hits", game.hits),
    num("misses", game.misses),
    num("pending_points", game.pending_points),
    num("pending_hit", game.pending_hit),
    num("pending_miss", game.pending_miss),
    text("score_text", game.score_text),
    text("hits_text", game.hits_text),
    text("misses_text", game.misses_text),
    num("active_hole", game.active_hole),
    num("popup_cue", game.popup_cue),
    flags("hole_hittable", game.hole_hittable, 1),
    num("cow_hittable", game.cow_hittable),
    num("cow_down", game.cow_down),
    num("spider_top_hittable", game.spider_top_hittable),
    num("spider_bottom_hittable", game.spider_bottom_hittable),
    num("spider_down", game.spider_down),
    flags("climber_hittable", game.climber_hittable, 1),
    flags("descender_hittable", game.descender_hittable, 2),
    num("splat_active", game.splat_active),
    num("lizard_busy", game.lizard_busy),
    flags("bird_hittable", game.bird_hittable, 1),
    num("shot_hit", game.shot_hit),
    num("cow_shot_now", game.cow_shot_now),
    num("lizard_shot_now", game.lizard_shot_now),
    num("spider_shot_now", game.spider_shot_now),
    num("canceled_shown", game.canceled_shown),
    num("cursor_x", game.cursor_x),
    num("cursor_y", game.cursor_y),
};

}  // namespace

std::size_t utf8_sequence(std::string_view s) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    auto continuation = [&](std::size_t i, unsigned lo = 0x80, unsigned hi = 0xBF) {
        return i < s.size() && byte(i) >= lo && byte(i) <= hi;
    };
    if (s.empty()) return 0;
    unsigned b = byte(0);
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) return continuation(1) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        unsigned lo = b == 0xE0 ? 0xA0 : 0x80, hi = b == 0xED ? 0x9F : 0xBF;
        return continuation(1, lo, hi) && continuation(2) ? 3 : 0;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        unsigned lo = b == 0xF0 ? 0x90 : 0x80, hi = b == 0xF4 ? 0x8F : 0xBF;
        return continuation(1, lo, hi) && continuation(2) && continuation(3) ? 4 : 0;
    }
    return 0;
}

std::string json_string(std::string_view s) {
    static constexpr char HEX[] = "0123456789abcdef";
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x20) {
            out += "\\u00";
            out += HEX[c >> 4];
            out += HEX[c & 15];
            ++i;
            continue;
        }
        if (c == '"' || c == '\\') out += '\\';
        std::size_t n = utf8_sequence(s.substr(i));
        if (n == 0) {
            out += "\xEF\xBF\xBD";  // U+FFFD for a byte that is not UTF-8
            ++i;
            continue;
        }
        out.append(s.substr(i, n));
        i += n;
    }
    return out + "\"";
}

std::string state_object() {
    std::string out = "{";
    bool first_field = true;
    for (const Field& f : FIELDS) {
        if (!first_field) out += ',';
        first_field = false;
        out += json_string(f.name) + ':';
        switch (f.kind) {
            case Field::number: out += std::to_string(*f.value); break;
            case Field::text: out += json_string(*f.str); break;
            case Field::strip: {
                const DragStrip& s = game.drag_strip;
                out += '[' + std::to_string(s.left) + ',' + std::to_string(s.top) + ',' + std::to_string(s.right) +
                       ',' + std::to_string(s.bottom) + ']';
                break;
            }
            case Field::flags:
                out += '[';
                for (int i = f.first; i <= f.last; ++i) {
                    if (i > f.first) out += ',';
                    out += std::to_string(f.value[i]);
                }
                out += ']';
                break;
        }
    }
    return out + "}";
}

std::string scene_array() {
    std::string out = "[";
    for (Element e = 0; e < ELEMENT_COUNT; ++e) {
        const SceneElement& s = scene[e];
        const ElementRow& row = ELEMENT_TABLE[e];
        if (e > 0) out += ',';
        out += "{\"name\":" + json_string(row.name) + ",\"visible\":" + (s.visible ? "true" : "false") +
               ",\"x\":" + std::to_string(s.x) + ",\"y\":" + std::to_string(s.y) + ",\"w\":" + std::to_string(s.w) +
               ",\"h\":" + std::to_string(s.h);
        if (row.kind == ElementKind::sprite) out += ",\"image\":" + std::to_string(s.image);
        if (row.kind == ElementKind::label) out += ",\"text\":" + json_string(s.text);
        out += '}';
    }
    return out + "]";
}

std::string state_json() { return "{\"state\":" + state_object() + "}\n"; }

std::string scene_json() { return "{\"scene\":" + scene_array() + "}\n"; }

bool set_field(const std::string& field, int value, std::string& why) {
    std::string name = field;
    int index = -1;
    std::size_t open = field.find('[');
    if (open != std::string::npos) {
        if (field.back() != ']' || open + 2 > field.size() - 1) {
            why = "bad field '" + field + "'";
            return false;
        }
        name = field.substr(0, open);
        std::string digits = field.substr(open + 1, field.size() - open - 2);
        if (digits.empty() || digits.size() > 2 || digits.find_first_not_of("0123456789") != std::string::npos) {
            why = "bad index in '" + field + "'";
            return false;
        }
        index = std::stoi(digits);
    }
    for (const Field& f : FIELDS) {
        if (name != f.name) continue;
        if (f.kind == Field::number && index < 0) {
            *f.value = value;
            return true;
        }
        if (f.kind == Field::flags && index >= f.first && index <= f.last) {
            f.value[index] = value;
            return true;
        }
        if (f.kind == Field::flags) {
            why = "'" + name + "' takes an index from " + std::to_string(f.first) + " to " + std::to_string(f.last);
            return false;
        }
        why = "'" + field + "' is not an integer field";
        return false;
    }
    why = "unknown field '" + field + "'";
    return false;
}
