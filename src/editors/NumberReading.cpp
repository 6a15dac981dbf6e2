#include "editors/NumberReading.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kestrane {

namespace {

// Walks the text skipping the characters that the rule ignores.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) { skip(); }
    bool done() const { return pos_ >= text_.size(); }
    char peek() const { return done() ? '\0' : text_[pos_]; }
    void next() { ++pos_; skip(); }

private:
    void skip() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n')) ++pos_;
    }
    std::string_view text_;
    std::size_t pos_ = 0;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// &H / &O: the value is read as signed 16-bit when it fits in 16 bits and as
// signed 32-bit when it fits in 32; anything wider is too large.
double ReadRadix(Cursor& c, int radix) {
    std::uint64_t value = 0;
    bool tooWide = false;
    while (!c.done() && DigitValue(c.peek()) < radix) {
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(DigitValue(c.peek()));
        if (value > 0xFFFFFFFFull) {
            tooWide = true;
            value = 0xFFFFFFFFull + 1;  // keeps the loop from overflowing
        }
        c.next();
    }
    if (tooWide) return std::numeric_limits<double>::infinity();
    if (value <= 0xFFFF) return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

}  // namespace

double ReadNumber(std::string_view text) {
    Cursor c(text);
    if (c.peek() == '&') {
        c.next();
        const char kind = c.peek();
        if (kind == 'H' || kind == 'h') { c.next(); return ReadRadix(c, 16); }
        if (kind == 'O' || kind == 'o') { c.next(); return ReadRadix(c, 8); }
        return 0;
    }

    // Gather the number without the ignored characters, then let from_chars
    // do the correctly rounded conversion.
    std::string number;
    bool negative = false;
    if (c.peek() == '+' || c.peek() == '-') {
        negative = c.peek() == '-';
        c.next();
    }
    long long integerDigits = 0;  // significant digits before the point
    bool anyDigit = false;
    bool nonZero = false;
    while (IsDigit(c.peek())) {
        if (c.peek() != '0' || nonZero) { nonZero = true; ++integerDigits; number += c.peek(); }
        anyDigit = true;
        c.next();
    }
    long long leadingFractionZeros = 0;
    if (c.peek() == '.') {
        number += '.';
        c.next();
        while (IsDigit(c.peek())) {
            if (!nonZero && c.peek() == '0') ++leadingFractionZeros;
            if (c.peek() != '0') nonZero = true;
            number += c.peek();
            anyDigit = true;
            c.next();
        }
    }
    if (!anyDigit) return 0;
    if (!nonZero) return 0;

    long long exponent = 0;
    const char e = c.peek();
    if (e == 'E' || e == 'e' || e == 'D' || e == 'd') {
        c.next();
        bool expNegative = false;
        if (c.peek() == '+' || c.peek() == '-') {
            expNegative = c.peek() == '-';
            c.next();
        }
        while (IsDigit(c.peek())) {
            if (exponent < 1'000'000'000) exponent = exponent * 10 + (c.peek() - '0');
            c.next();
        }
        if (expNegative) exponent = -exponent;
    }

    // Decide far-out magnitudes before from_chars, which cannot say which
    // way it went out of range.
    const long long magnitude = (integerDigits > 0 ? integerDigits : -leadingFractionZeros) + exponent;
    const double inf = std::numeric_limits<double>::infinity();
    if (magnitude > 400) return negative ? -inf : inf;
    if (magnitude < -400) return negative ? -0.0 : 0.0;

    number += 'e';
    number += std::to_string(exponent);
    double value = 0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) value = magnitude > 0 ? inf : 0.0;
    return negative ? -value : value;
}

std::optional<std::uint32_t> ToWholeInRange(double value, std::uint32_t max) {
    if (std::isnan(value)) return std::nullopt;
    const double whole = std::nearbyint(value);  // default rounding: half to even
    if (whole < 0 || whole > static_cast<double>(max)) return std::nullopt;
    return static_cast<std::uint32_t>(whole);
}

}  // namespace kestrane
