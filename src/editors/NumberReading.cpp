#include "editors/NumberReading.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
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

// The digits of a decimal number, without the ignored characters, the full
// stop and the zeros before the first significant digit.
struct Mantissa {
    std::string digits;
    bool negative = false;
    bool nonZero = false;                // a digit other than 0 was read
    long long integerDigits = 0;         // significant digits before the point
    long long fractionDigits = 0;        // digits after the point, all kept in digits
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
        if (c.peek() != '0' || m.nonZero) { m.nonZero = true; ++m.integerDigits; m.digits += c.peek(); }
        c.next();
    }
    if (c.peek() == '.') {
        c.next();
        while (IsDigit(c.peek())) {
            if (!m.nonZero && c.peek() == '0') ++m.leadingFractionZeros;
            if (c.peek() != '0') m.nonZero = true;
            m.digits += c.peek();
            ++m.fractionDigits;
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
// magnitudes are decided first, so that no exponent strtod reads is near the
// limits of a long. strtod is correctly rounded in glibc and in musl (which
// WebAssembly builds use), and gives an infinity past the largest double and
// 0 or a subnormal below the smallest normal one. What it reads has no full
// stop, only digits and an exponent, so the locale cannot change the value.
double Convert(Mantissa m, long long exponent) {
    const long long magnitude = (m.integerDigits > 0 ? m.integerDigits : -m.leadingFractionZeros) + exponent;
    const double inf = std::numeric_limits<double>::infinity();
    if (magnitude > 400) return m.negative ? -inf : inf;
    if (magnitude < -400) return m.negative ? -0.0 : 0.0;
    m.digits += 'e';
    m.digits += std::to_string(exponent - m.fractionDigits);
    const double value = std::strtod(m.digits.c_str(), nullptr);
    return m.negative ? -value : value;
}

// A magnitude rounded to some significant digits as printf's %e rounds it:
// the digits alone, whatever full stop the locale writes between them, and
// the power of ten of the first.
struct Significand {
    std::string digits;
    int exponent = 0;
};

Significand Rounded(double magnitude, int precision) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*e", precision - 1, magnitude);
    Significand s;
    const char* p = text;
    for (; *p != 'e'; ++p)
        if (IsDigit(*p)) s.digits += *p;
    s.exponent = std::atoi(p + 1);
    return s;
}

// The next value up with as many significant digits ("129" after "128",
// "100" and a power more after "999").
Significand NextUp(Significand s) {
    std::size_t i = s.digits.size();
    while (i > 0 && s.digits[i - 1] == '9') s.digits[--i] = '0';
    if (i > 0) ++s.digits[i - 1];
    else s.digits.front() = '1', ++s.exponent;
    return s;
}

// The digits in fixed or scientific form, whichever is shorter (fixed on a
// tie), as std::to_chars writes the shortest form of a double. A whole number
// whose digits would end in padding zeros is written exactly instead: as
// short, and nearer the value.
std::string Layout(const Significand& s, double magnitude) {
    const long long count = static_cast<long long>(s.digits.size());
    const long long e = s.exponent;
    std::string power = std::to_string(e < 0 ? -e : e);
    if (power.size() < 2) power.insert(0, "0");
    const std::string scientific =
        s.digits.substr(0, 1) + (count > 1 ? "." + s.digits.substr(1) : "") + (e < 0 ? "e-" : "e+") + power;
    std::string fixed;
    if (e >= count - 1) {
        char whole[400];
        std::snprintf(whole, sizeof whole, "%.0f", magnitude);
        fixed = whole;
    } else if (e >= 0) {
        const auto point = static_cast<std::size_t>(e + 1);
        fixed = s.digits.substr(0, point) + "." + s.digits.substr(point);
    } else {
        fixed = "0." + std::string(static_cast<std::size_t>(-e - 1), '0') + s.digits;
    }
    return fixed.size() <= scientific.size() ? fixed : scientific;
}

}  // namespace

std::string NumberText(double value) {
    if (std::isnan(value)) return "nan";
    const std::string sign = std::signbit(value) ? "-" : "";
    if (std::isinf(value)) return sign + "inf";
    const double magnitude = std::fabs(value);
    // The nearest value with so many digits reads back if any does, but for
    // a power of two, whose next double down is nearer than its next up.
    for (int precision = 1;; ++precision) {
        const Significand nearest = Rounded(magnitude, precision);
        for (const Significand& digits : {nearest, NextUp(nearest)}) {
            const std::string text = Layout(digits, magnitude);
            if (precision == 17 || ReadNumber(text) == magnitude) return sign + text;
        }
    }
}

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
