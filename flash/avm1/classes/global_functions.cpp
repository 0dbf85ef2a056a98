// The global functions: parseInt, parseFloat, isNaN, isFinite, escape,
// unescape and updateAfterEvent.
#include "flash/avm1/classes/classes.h"
#include "flash/avm1/classes/string_rules.h"

#include <cmath>

namespace flash::avm1 {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

bool AllOctal(const std::string& text, size_t from) {
    for (size_t i = from; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '7') return false;
    return true;
}

Value ParseInt(Vm& vm, Object*, Args& args) {
    if (args.empty()) return Value();
    int radix = 0;
    if (args.size() > 1) {
        double r = std::trunc(vm.ToNumber(args[1]));
        if (std::isnan(r) || r < 2 || r > 36) return Value(NAN);
        radix = static_cast<int>(r);
    }
    return Value(ParseIntText(vm.ToString(args[0]), radix));
}

Value ParseFloat(Vm& vm, Object*, Args& args) {
    if (args.empty()) return Value(NAN);
    return Value(ParseFloatText(vm.ToString(args[0])));
}

Value IsNaN(Vm& vm, Object*, Args& args) {
    return Value(args.empty() ? true : std::isnan(vm.ToNumber(args[0])));
}

Value IsFinite(Vm& vm, Object*, Args& args) {
    return Value(args.empty() ? false : std::isfinite(vm.ToNumber(args[0])));
}

Value Escape(Vm& vm, Object*, Args& args) {
    if (args.empty()) return Value();
    std::string text = vm.ToString(args[0]), out;
    for (unsigned char c : text) {
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back('%');
            out.push_back("0123456789ABCDEF"[c >> 4]);
            out.push_back("0123456789ABCDEF"[c & 15]);
        }
    }
    return Value(out);
}

Value Unescape(Vm& vm, Object*, Args& args) {
    if (args.empty()) return Value();
    std::string text = vm.ToString(args[0]), out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && DigitValue(text[i + 1]) < 16 && DigitValue(text[i + 2]) < 16) {
            out.push_back(static_cast<char>(DigitValue(text[i + 1]) * 16 + DigitValue(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return Value(out);
}

Value Nothing(Vm&, Object*, Args&) { return Value(); }

}  // namespace

double ParseIntText(const std::string& text, int radix) {
    size_t i = 0;
    bool negative = false;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        // "0x" at the very start: hexadecimal unless a radix says otherwise;
        // blanks and a sign may follow it.
        i = 2;
        if (radix == 0) radix = 16;
        while (i < text.size() && IsBlank(text[i])) ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    } else if (text.size() >= 3 && (text[0] == '-' || text[0] == '+') && text[1] == '0' &&
               (text[2] == 'x' || text[2] == 'X')) {
        // A signed "0x" is not hexadecimal: reading starts at the x.
        i = 2;
        if (radix == 0) radix = 10;
    } else {
        if (radix == 0) {
            size_t digits = (text[0] == '-' || text[0] == '+') ? 1 : 0;
            radix = text.size() > digits && text[digits] == '0' && AllOctal(text, digits) ? 8 : 10;
        }
        while (i < text.size() && IsBlank(text[i])) ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    }
    double value = 0;
    bool any = false;
    for (; i < text.size(); ++i) {
        int d = DigitValue(text[i]);
        if (d >= radix) break;
        value = value * radix + d;
        any = true;
    }
    if (!any) return NAN;
    return negative ? -value : value;
}

double ParseFloatText(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    size_t start = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    bool digits = false;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, digits = true;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, digits = true;
    }
    if (!digits) return NAN;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) ++j;
        if (j < text.size() && text[j] >= '0' && text[j] <= '9') {
            while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
            i = j;
        }
    }
    return std::strtod(text.substr(start, i - start).c_str(), nullptr);
}

void InstallGlobalFunctions(Vm& vm) {
    vm.AddMethod(vm.global, "parseInt", ParseInt);
    vm.AddMethod(vm.global, "parseFloat", ParseFloat);
    vm.AddMethod(vm.global, "isNaN", IsNaN);
    vm.AddMethod(vm.global, "isFinite", IsFinite);
    vm.AddMethod(vm.global, "escape", Escape);
    vm.AddMethod(vm.global, "unescape", Unescape);
    vm.AddMethod(vm.global, "updateAfterEvent", Nothing);
    // SWF 4 movies have no such variables (they read as empty).
    if (vm.version() >= 5) {
        vm.global->Define("NaN", Value(NAN), kDontEnum);
        vm.global->Define("Infinity", Value(INFINITY), kDontEnum);
    }
}

}  // namespace flash::avm1
