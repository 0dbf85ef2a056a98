#include "flash/avm1/value.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace flash::avm1 {

namespace {

// Ten to the power k (k >= 0) by repeated squaring. The player scales
// numbers with powers made this way, and the roundings of that scaling
// decide the last printed digit.
double PowerOfTen(int k) {
    double result = 1, base = 10;
    for (; k > 0; k >>= 1) {
        if (k & 1) result *= base;
        base *= base;
    }
    return result;
}

// The 15 significant digits of a positive finite number, and the power of
// ten of the first one. The number is brought between 1 and 10: divided
// by 10^exponent, multiplied by ten from 0.1 to 1, and below that divided
// by one over the positive power (that inexact divisor decides the last
// digit of numbers such as 0.001244567891234565). Then its digits are taken
// one at a time, the remainder times ten giving the next; the sixteenth
// rounds the fifteenth half up.
std::string SignificantDigits(double x, int* exponent) {
    int e = static_cast<int>(std::floor(std::log10(x)));
    double m = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        // The smallest numbers are raised first so that the power stays finite.
        double scaled = x;
        int power = e;
        if (power < -300) {
            scaled *= 1e16;
            power += 16;
        }
        if (power >= 0) m = scaled / PowerOfTen(power);
        else if (power == -1) m = scaled * 10;
        else m = scaled / (1 / PowerOfTen(-power));
        if (m < 1) --e;
        else if (m >= 10) ++e;
        else break;
    }
    int digits[15];
    for (int& d : digits) {
        d = std::min(9, std::max(0, static_cast<int>(m)));
        m = (m - d) * 10;
    }
    if (m >= 5) {
        int i = 14;
        while (i >= 0 && ++digits[i] == 10) digits[i--] = 0;
        if (i < 0) {
            // 9.99...95 and up: 1 with the next power.
            digits[0] = 1;
            ++e;
        }
    }
    std::string text;
    for (int d : digits) text += static_cast<char>('0' + d);
    *exponent = e;
    return text;
}

}  // namespace

std::string NumberToString(double n) {
    if (std::isnan(n)) return "NaN";
    if (std::isinf(n)) return n > 0 ? "Infinity" : "-Infinity";
    if (n == 0) return "0";
    int e = 0;
    std::string digits = SignificantDigits(std::fabs(n), &e);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string text = n < 0 ? "-" : "";
    if (e < -5 || e >= 15) {
        // 1.5e+20, 1e-7: as many exponent digits as needed.
        text += digits.substr(0, 1);
        if (digits.size() > 1) text += "." + digits.substr(1);
        text += e > 0 ? "e+" : "e-";
        text += std::to_string(e > 0 ? e : -e);
    } else if (e < 0) {
        text += "0." + std::string(static_cast<size_t>(-e - 1), '0') + digits;
    } else if (digits.size() <= static_cast<size_t>(e) + 1) {
        text += digits + std::string(static_cast<size_t>(e) + 1 - digits.size(), '0');
    } else {
        text += digits.substr(0, static_cast<size_t>(e) + 1) + "." + digits.substr(static_cast<size_t>(e) + 1);
    }
    return text;
}

std::string NumberToRadix(double n, int radix) {
    if (radix == 10 || radix < 2 || radix > 36) return NumberToString(n);
    if (!std::isfinite(n)) {
        // NaN and the infinities become the smallest 32-bit integer, whose
        // negation overflows: its digits come out of negative remainders
        // as characters below '0', as the player prints them.
        int32_t v = INT32_MIN;
        std::string digits;
        do {
            int d = v % radix;
            digits.insert(digits.begin(), static_cast<char>(d < 10 ? '0' + d : 'a' + d - 10));
            v /= radix;
        } while (v != 0);
        return "-" + digits;
    }
    // Other bases print the integer part of the number as a 32-bit integer.
    int64_t value = ToInt32(n);
    bool negative = value < 0;
    uint64_t magnitude = negative ? static_cast<uint64_t>(-value) : static_cast<uint64_t>(value);
    std::string digits;
    do {
        digits.insert(digits.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[magnitude % radix]);
        magnitude /= radix;
    } while (magnitude);
    return negative ? "-" + digits : digits;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

}  // namespace

namespace {

// Digits in base 8 or 16 up to the end of the text, kept modulo 2^32 as
// the player keeps them; false when another character comes or none does.
bool ReadIntegerDigits(const char* p, int base, int32_t* out) {
    if (!*p) return false;
    uint32_t value = 0;
    for (; *p; ++p) {
        int d;
        if (*p >= '0' && *p <= '9') d = *p - '0';
        else if (*p >= 'a' && *p <= 'f') d = *p - 'a' + 10;
        else if (*p >= 'A' && *p <= 'F') d = *p - 'A' + 10;
        else return false;
        if (d >= base) return false;
        value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(d);
    }
    *out = static_cast<int32_t>(value);
    return true;
}

// "0x" numbers (a sign may follow the prefix) and numbers written with a
// leading 0 and only octal digits (a sign may come first); neither may
// have blanks before it (" 0x2" is NaN, " 010" is ten).
bool ReadPrefixedInteger(const char* p, bool leading_blanks, double* out) {
    int32_t value = 0;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        if (leading_blanks) {
            *out = NAN;
            return true;
        }
        const char* q = p + 2;
        bool negative = *q == '-';
        if (*q == '+' || *q == '-') ++q;
        *out = ReadIntegerDigits(q, 16, &value) ? (negative ? -static_cast<double>(value) : value) : NAN;
        return true;
    }
    if (leading_blanks) return false;
    bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    if (p[0] != '0' || !p[1] || !ReadIntegerDigits(p + 1, 8, &value)) return false;
    *out = negative ? -static_cast<double>(value) : value;
    return true;
}

}  // namespace

double StringToNumber(const std::string& text, bool swf4, bool hex) {
    const char* begin = text.c_str();
    const char* p = begin;
    while (IsBlank(*p)) ++p;
    if (!swf4) {
        if (*p == '\0') return NAN;
        double prefixed;
        if (hex && ReadPrefixedInteger(p, p != begin, &prefixed)) return prefixed;
    }
    // A decimal number: sign, digits, fraction, exponent.
    const char* q = p;
    if (*q == '+' || *q == '-') ++q;
    bool digits = false;
    while (*q >= '0' && *q <= '9') ++q, digits = true;
    if (*q == '.') {
        ++q;
        while (*q >= '0' && *q <= '9') ++q, digits = true;
    }
    if (!digits) return swf4 ? 0 : NAN;
    // An exponent mark with no digits after it ("2e", "-56e+") is passed over.
    const char* end = q;
    if (*q == 'e' || *q == 'E') {
        const char* r = q + 1;
        if (*r == '+' || *r == '-') ++r;
        bool exponent_digits = *r >= '0' && *r <= '9';
        while (*r >= '0' && *r <= '9') ++r;
        if (exponent_digits) end = r;
        if (!swf4) q = r;
        else q = end;
    }
    double value = std::strtod(std::string(p, end).c_str(), nullptr);
    // Nothing may follow the number, not even blanks.
    if (*q != '\0' && !swf4) return NAN;
    return value;
}

int32_t ToInt32(double n) {
    if (!std::isfinite(n)) return 0;
    double t = std::trunc(n);
    double m = std::fmod(t, 4294967296.0);
    if (m < 0) m += 4294967296.0;
    return static_cast<int32_t>(static_cast<uint32_t>(m));
}

uint32_t ToUint32(double n) { return static_cast<uint32_t>(ToInt32(n)); }

int32_t FrameIndex(double number) {
    uint32_t index = ToUint32(number) - 1u;
    return index > 0x7FFFFFFFu ? -1 : static_cast<int32_t>(index);
}

std::u16string Utf16FromUtf8(const std::string& text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        uint32_t code = c;
        int extra = 0;
        if (c >= 0xF0 && c < 0xF8) code = c & 0x07, extra = 3;
        else if (c >= 0xE0) code = c & 0x0F, extra = c < 0xF0 ? 2 : 0;
        else if (c >= 0xC0) code = c & 0x1F, extra = 1;
        bool ok = c < 0x80 || extra > 0;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) ok = false;
            else code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        if (!ok) {
            // A byte that is not UTF-8 stands for itself (Latin-1).
            out.push_back(c);
            ++i;
            continue;
        }
        i += 1 + extra;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
    return out;
}

std::string Utf8FromUtf16(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t code = text[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;   // a lone surrogate
        }
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return out;
}

}  // namespace flash::avm1
