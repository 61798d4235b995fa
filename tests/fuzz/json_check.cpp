#include "tests/fuzz/json_check.h"

#include <cstdint>

bool is_utf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        auto b = static_cast<std::uint8_t>(s[i]);
        int extra;
        std::uint32_t cp;
        if (b < 0x80) {
            extra = 0, cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1, cp = b & 0x1Fu;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, cp = b & 0x0Fu;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, cp = b & 0x07u;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(extra) >= s.size()) return false;  // cut short
        for (int k = 1; k <= extra; ++k) {
            auto c = static_cast<std::uint8_t>(s[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        static constexpr std::uint32_t SMALLEST[] = {0, 0x80, 0x800, 0x10000};
        if (cp < SMALLEST[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

namespace {

class Parser {
public:
    explicit Parser(std::string_view s) : s_(s) {}

    std::string object_line() {
        space();
        if (peek() != '{') return "not an object";
        if (!value()) return why_;
        space();
        if (i_ != s_.size()) return "text after the value at byte " + std::to_string(i_ + 1);
        return "";
    }

private:
    std::string_view s_;
    std::size_t i_ = 0;
    int depth_ = 0;
    std::string why_;

    char peek() const { return i_ < s_.size() ? s_[i_] : '\0'; }
    bool fail(const std::string& why) {
        why_ = why + " at byte " + std::to_string(i_ + 1);
        return false;
    }
    void space() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r' || s_[i_] == '\n')) ++i_;
    }
    bool literal(std::string_view word) {
        if (s_.substr(i_, word.size()) != word) return fail("bad literal");
        i_ += word.size();
        return true;
    }
    bool value() {
        if (++depth_ > 64) return fail("nested too deep");
        space();
        bool ok;
        switch (peek()) {
            case '{': ok = object(); break;
            case '[': ok = array(); break;
            case '"': ok = string(); break;
            case 't': ok = literal("true"); break;
            case 'f': ok = literal("false"); break;
            case 'n': ok = literal("null"); break;
            default: ok = number(); break;
        }
        --depth_;
        return ok;
    }
    bool object() {
        ++i_;
        space();
        if (peek() == '}') return ++i_, true;
        for (;;) {
            space();
            if (peek() != '"') return fail("expected a name");
            if (!string()) return false;
            space();
            if (peek() != ':') return fail("expected ':'");
            ++i_;
            if (!value()) return false;
            space();
            if (peek() == ',') {
                ++i_;
                continue;
            }
            if (peek() == '}') return ++i_, true;
            return fail("expected ',' or '}'");
        }
    }
    bool array() {
        ++i_;
        space();
        if (peek() == ']') return ++i_, true;
        for (;;) {
            if (!value()) return false;
            space();
            if (peek() == ',') {
                ++i_;
                continue;
            }
            if (peek() == ']') return ++i_, true;
            return fail("expected ',' or ']'");
        }
    }
    static bool hex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
    bool string() {
        std::size_t start = ++i_;
        for (;;) {
            if (i_ >= s_.size()) return fail("unterminated string");
            auto c = static_cast<std::uint8_t>(s_[i_]);
            if (c == '"') break;
            if (c < 0x20) return fail("raw control character in a string");
            if (c == '\\') {
                ++i_;
                char e = peek();
                if (e == 'u') {
                    for (int k = 1; k <= 4; ++k)
                        if (i_ + static_cast<std::size_t>(k) >= s_.size() || !hex(s_[i_ + static_cast<std::size_t>(k)]))
                            return fail("bad \\u escape");
                    i_ += 5;
                    continue;
                }
                if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos || e == '\0')
                    return fail("bad escape");
            }
            ++i_;
        }
        if (!is_utf8(s_.substr(start, i_ - start))) return fail("string not UTF-8");
        ++i_;
        return true;
    }
    static bool digit(char c) { return c >= '0' && c <= '9'; }
    bool number() {
        if (peek() == '-') ++i_;
        if (peek() == '0') {
            ++i_;
        } else if (digit(peek())) {
            while (digit(peek())) ++i_;
        } else {
            return fail("expected a value");
        }
        if (peek() == '.') {
            ++i_;
            if (!digit(peek())) return fail("bad fraction");
            while (digit(peek())) ++i_;
        }
        if (peek() == 'e' || peek() == 'E') {
            ++i_;
            if (peek() == '+' || peek() == '-') ++i_;
            if (!digit(peek())) return fail("bad exponent");
            while (digit(peek())) ++i_;
        }
        return true;
    }
};

}  // namespace

std::string json_object_fault(std::string_view line) { return Parser(line).object_line(); }
