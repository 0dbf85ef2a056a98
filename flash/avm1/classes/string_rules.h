// The ranges substr, substring and slice take of a string of size units,
// from arguments already made whole numbers.
#pragma once

#include <cstddef>

namespace flash::avm1 {

struct SubRange {
    size_t begin = 0;
    size_t count = 0;
};

SubRange SubstrRange(double size, double start, bool has_length, double length);
SubRange SubstringRange(double size, double start, bool has_end, double end);
SubRange SliceRange(double size, double start, bool has_end, double end);

}  // namespace flash::avm1

#include <string>

namespace flash::avm1 {

// parseInt of a text; radix 0 means none was given (16 after "0x", 8 for
// a signed or plain run of octal digits starting with 0, else 10).
double ParseIntText(const std::string& text, int radix);
// parseFloat: the longest decimal number at the start, after blanks.
double ParseFloatText(const std::string& text);

}  // namespace flash::avm1
