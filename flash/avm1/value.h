// The one value type of the script machine: undefined, null, a boolean, a
// number (double), a string (bytes as the movie wrote them: UTF-8 from
// SWF 6 on) or an object. Objects live in the machine's heap and are
// referred to by plain pointers; the heap's collector frees them.
#pragma once

#include <string>
#include <vector>

namespace flash::avm1 {

class Object;

enum class Type : unsigned char { Undefined, Null, Boolean, Number, String, Object };

struct Value {
    Type type = Type::Undefined;
    bool boolean = false;
    double number = 0;
    std::string string;
    Object* object = nullptr;

    Value() = default;
    Value(bool b) : type(Type::Boolean), boolean(b) {}
    Value(double n) : type(Type::Number), number(n) {}
    Value(int n) : type(Type::Number), number(n) {}
    Value(std::string s) : type(Type::String), string(std::move(s)) {}
    Value(const char* s) : type(Type::String), string(s) {}
    Value(Object* o) : type(o ? Type::Object : Type::Null), object(o) {}

    static Value Null() {
        Value v;
        v.type = Type::Null;
        return v;
    }

    bool IsUndefined() const { return type == Type::Undefined; }
    bool IsNull() const { return type == Type::Null; }
    bool IsNullish() const { return type == Type::Undefined || type == Type::Null; }
    bool IsNumber() const { return type == Type::Number; }
    bool IsString() const { return type == Type::String; }
    bool IsObject() const { return type == Type::Object; }
    bool IsBoolean() const { return type == Type::Boolean; }
};

using Args = std::vector<Value>;

// A number as the reference player prints it: 15 significant digits, the
// exponent form outside 1e-5..1e15, "NaN", "Infinity", "-Infinity".
std::string NumberToString(double n);
// Numbers in another base, as Number.prototype.toString(radix) prints them.
std::string NumberToRadix(double n, int radix);

// A string read as a number by the rules of SWF 5 and later: blanks before
// it, decimal with fraction and exponent; anything else, blanks after it
// included, is NaN, and an empty string is NaN. With swf4 set, text that is
// not a number reads as 0 and a leading number is read as far as it goes.
// hex (SWF 6 and later): "0x" numbers, a sign allowed after the prefix, and
// numbers with a leading 0 and only octal digits (with no blanks before),
// both kept to 32 bits.
double StringToNumber(const std::string& text, bool swf4, bool hex = true);

// The int32 that ToInt32 makes of a number (modulo 2^32), as bit operations use.
int32_t ToInt32(double n);
uint32_t ToUint32(double n);
// The 0-based frame a script's 1-based frame number names: the number wraps
// to 32 bits and the subtraction wraps too, so frame 0 and negative numbers
// give -1 (no goto) and -2^31 gives the largest index.
int32_t FrameIndex(double number);

// The length in UTF-16 units of a UTF-8 string, and conversions between
// UTF-8 and UTF-16 for the string methods that count in those units.
std::u16string Utf16FromUtf8(const std::string& text);
std::string Utf8FromUtf16(const std::u16string& text);

}  // namespace flash::avm1
