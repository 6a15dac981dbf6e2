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

// The digits of a decimal number, without the ignored characters and the
// zeros before the first significant digit, as from_chars reads them.
struct Mantissa {
    std::string text;
    bool negative = false;
    bool nonZero = false;                // a digit other than 0 was read
    long long integerDigits = 0;         // significant digits before the point
    long long leadingFractionZeros = 0;  // zeros after the point before the first significant digit
};

// An optional sign, digits, and at most one full stop with more digits.
Mantissa ReadMantissa(Cursor& c) {
    Mantissa m;
    if (c.peek() == '+' || c.peek() == '-') {
        m.negative = c.peek() == '-';
        c.next();
    }
    while (IsDigit(c.peek())) {
        if (c.peek() != '0' || m.nonZero) { m.nonZero = true; ++m.integerDigits; m.text += c.peek(); }
        c.next();
    }
    if (c.peek() == '.') {
        m.text += '.';
        c.next();
        while (IsDigit(c.peek())) {
            if (!m.nonZero && c.peek() == '0') ++m.leadingFractionZeros;
            if (c.peek() != '0') m.nonZero = true;
            m.text += c.peek();
            c.next();
        }
    }
    return m;
}

// An optional E or D exponent with an optional sign; 0 when there is none.
long long ReadExponent(Cursor& c) {
    const char e = c.peek();
    if (e != 'E' && e != 'e' && e != 'D' && e != 'd') return 0;
    c.next();
    bool negative = false;
    if (c.peek() == '+' || c.peek() == '-') {
        negative = c.peek() == '-';
        c.next();
    }
    constexpr long long kFarOut = 1000000000;  // any exponent this large is out of range either way
    long long exponent = 0;
    while (IsDigit(c.peek())) {
        if (exponent < kFarOut) exponent = exponent * 10 + (c.peek() - '0');
        c.next();
    }
    return negative ? -exponent : exponent;
}

// The correctly rounded value of the digits times ten to the exponent. Far-out
// magnitudes are decided first, since from_chars cannot say which way it went
// out of range.
double Convert(Mantissa m, long long exponent) {
    const long long magnitude = (m.integerDigits > 0 ? m.integerDigits : -m.leadingFractionZeros) + exponent;
    const double inf = std::numeric_limits<double>::infinity();
    if (magnitude > 400) return m.negative ? -inf : inf;
    if (magnitude < -400) return m.negative ? -0.0 : 0.0;
    m.text += 'e';
    m.text += std::to_string(exponent);
    double value = 0;
    const auto [ptr, ec] = std::from_chars(m.text.data(), m.text.data() + m.text.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) value = magnitude > 0 ? inf : 0.0;
    return m.negative ? -value : value;
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
    const Mantissa m = ReadMantissa(c);
    if (!m.nonZero) return 0;  // no digits, or only zeros
    return Convert(m, ReadExponent(c));
}

std::optional<std::uint32_t> ToWholeInRange(double value, std::uint32_t max) {
    if (std::isnan(value)) return std::nullopt;
    const double whole = std::nearbyint(value);  // default rounding: half to even
    if (whole < 0 || whole > static_cast<double>(max)) return std::nullopt;
    return static_cast<std::uint32_t>(whole);
}

}  // namespace kestrane
