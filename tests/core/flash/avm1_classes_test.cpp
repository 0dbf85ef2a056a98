#include "flash/avm1/classes/array_sort.h"
#include "flash/avm1/classes/string_rules.h"
#include "flash/avm1/vm.h"

#include <gtest/gtest.h>

#include <cmath>

namespace flash::avm1 {
namespace {

Value Method(Vm& vm, const Value& target, const std::string& name, Args args = {}) {
    return vm.CallMethod(target, name, std::move(args));
}

Value Array(Vm& vm, std::vector<Value> elements) { return Value(vm.MakeArray(std::move(elements))); }

std::string Text(Vm& vm, const Value& v) { return vm.ToString(v); }

TEST(Avm1Classes, NumbersPrintAsThePlayerDoes) {
    EXPECT_EQ(NumberToString(0.1 + 0.2), "0.3");
    EXPECT_EQ(NumberToString(1e15), "1e+15");
    EXPECT_EQ(NumberToString(123456789012345), "123456789012345");
    EXPECT_EQ(NumberToString(0.0001), "0.0001");
    EXPECT_EQ(NumberToString(0.00001), "0.00001");
    EXPECT_EQ(NumberToString(1.23456789012346e-5), "0.0000123456789012346");
    EXPECT_EQ(NumberToString(5.4e-6), "5.4e-6");
    EXPECT_EQ(NumberToString(-1.5e-7), "-1.5e-7");
    EXPECT_EQ(NumberToString(-0.0), "0");
    // The scaling by powers of ten decides the last digit near a half.
    EXPECT_EQ(NumberToString(1.7976931348623157e308), "1.79769313486231e+308");
    EXPECT_EQ(NumberToString(-1.234567891234565e-308), "-1.23456789123457e-308");
    EXPECT_EQ(NumberToString(1.234567891234565e-6), "1.23456789123457e-6");
    EXPECT_EQ(NumberToString(9.999999999999995 / 10), "0.999999999999999");
    EXPECT_EQ(NumberToString(-0.001244567891234565), "-0.00124456789123456");
    EXPECT_EQ(NumberToString(0.001234567891234565), "0.00123456789123457");
    EXPECT_EQ(NumberToString(0.8414709848078965), "0.841470984807897");
    EXPECT_EQ(NumberToString(9.9999999999999999), "10");
    EXPECT_EQ(NumberToString(1e21), "1e+21");
    EXPECT_EQ(NumberToString(1234.5), "1234.5");
    EXPECT_EQ(NumberToRadix(255, 16), "ff");
    EXPECT_EQ(NumberToRadix(-255, 2), "-11111111");
    EXPECT_EQ(NumberToRadix(NAN, 16), "-(0000000");   // the smallest int32, digits below '0'
    EXPECT_EQ(NumberToRadix(INFINITY, 2), "-/" + std::string(31, '0'));
    Vm vm(8);
    Value number = vm.Construct(vm.Get(vm.global, "Number"), {Value(10)});
    EXPECT_EQ(Text(vm, Method(vm, number, "toString", {Value(36)})), "a");
    EXPECT_EQ(Text(vm, vm.Get(vm.Get(vm.global, "Number").object, "MIN_VALUE")), "4.94065645841247e-324");
}

TEST(Avm1Classes, BuiltInConstructorCalledOnAPlainObjectGivesItANativePart) {
    // What super() does in a class extending a built-in one.
    Vm vm(8);
    Value filters = vm.Get(vm.Get(vm.global, "flash").object, "filters");
    Value blur = vm.Get(filters.object, "BlurFilter");
    Object* self = vm.MakeObject();
    self->proto = vm.Get(blur.object, "prototype").object;
    vm.Set(vm.global, "probe", Value(self));   // kept through the collection below
    EXPECT_TRUE(vm.Get(self, "blurX").IsUndefined());
    vm.Call(blur, Value(self), {Value(10), Value(20), Value(4)});
    EXPECT_EQ(Text(vm, vm.Get(self, "blurX")), "10");
    // A second call leaves the first native part in place.
    vm.Call(blur, Value(self), {Value(1)});
    EXPECT_EQ(Text(vm, vm.Get(self, "blurX")), "10");
    vm.Set(self, "quality", Value(2));
    EXPECT_EQ(Text(vm, vm.Get(self, "quality")), "2");
    vm.Collect(nullptr);
    EXPECT_EQ(Text(vm, vm.Get(self, "blurY")), "20");
}

TEST(Avm1Classes, CaseMappingCoversTheBasicPlane) {
    Vm vm(8);
    auto lower = [&](const std::string& s) { return Text(vm, Method(vm, Value(s), "toLowerCase")); };
    auto upper = [&](const std::string& s) { return Text(vm, Method(vm, Value(s), "toUpperCase")); };
    EXPECT_EQ(lower("ABC\u00C0\u0130\u0181\u10A0\uFF21"), "abc\u00E0i\u0253\u10D0\uFF41");
    EXPECT_EQ(upper("abc\u00FF\u0131\u01C6\u1F80\u03C2"), "ABC\u0178I\u01C4\u1F88\u03A2");
    EXPECT_EQ(upper("\u00DF1!"), "\u00DF1!");   // no single-unit pair: unchanged
}

TEST(Avm1Classes, SubstrCountsANegativeLengthBackFromTheEnd) {
    auto substr = [](double size, double start, double length) {
        SubRange r = SubstrRange(size, start, true, length);
        return std::make_pair(r.begin, r.count);
    };
    // "hello world": (0,-1) "hello worl", (3,-5) "lo wor", ranges reaching the end are empty.
    EXPECT_EQ(substr(11, 0, -1), std::make_pair(size_t{0}, size_t{10}));
    EXPECT_EQ(substr(11, 3, -5), std::make_pair(size_t{3}, size_t{6}));
    EXPECT_EQ(substr(11, 3, -3).second, 0u);
    EXPECT_EQ(substr(11, 8, -4).second, 0u);
    EXPECT_EQ(substr(4, -5, -3), std::make_pair(size_t{0}, size_t{1}));
    EXPECT_EQ(substr(4, -3, 4), std::make_pair(size_t{1}, size_t{3}));
    EXPECT_EQ(SubstrRange(4, -2, false, 0).count, 2u);
    // substring swaps and clamps; slice counts negatives from the end.
    EXPECT_EQ(SubstringRange(5, 4, true, -1).count, 4u);
    SubRange slice = SliceRange(5, -3, true, -1);
    EXPECT_EQ(slice.begin, 2u);
    EXPECT_EQ(slice.count, 2u);
    EXPECT_EQ(SliceRange(5, 3, true, 1).count, 0u);
}

TEST(Avm1Classes, StringMethodsCountUtf16UnitsFromSwf6) {
    Vm vm(6);
    Value s("h\xC3\xA9llo");   // "héllo"
    EXPECT_EQ(vm.ToNumber(vm.GetMember(s, "length")), 5);
    EXPECT_EQ(Text(vm, Method(vm, s, "charAt", {Value(1)})), "\xC3\xA9");
    EXPECT_EQ(vm.ToNumber(Method(vm, s, "charCodeAt", {Value(1)})), 0xE9);
    EXPECT_EQ(Text(vm, Method(vm, s, "toUpperCase")), "H\xC3\x89LLO");
    EXPECT_EQ(Text(vm, Method(vm, Value("a,b,,c"), "split", {Value(","), Value(3)})), "a,b,");
    EXPECT_EQ(vm.ToNumber(Method(vm, Value("abcabc"), "lastIndexOf", {Value("bc"), Value(3)})), 1);
}

TEST(Avm1Classes, SortOptions) {
    Vm vm(7);
    Value a = Array(vm, {Value(10), Value(9), Value("b"), Value("B"), Value(1)});
    EXPECT_EQ(Text(vm, Method(vm, a, "sort")), "1,10,9,B,b");
    EXPECT_EQ(Text(vm, Method(vm, a, "sort", {Value(kNumeric | kDescending)})), "b,B,10,9,1");
    Value indexed = Method(vm, Array(vm, {Value("c"), Value("a"), Value("b")}), "sort", {Value(kReturnIndexedArray)});
    EXPECT_EQ(Text(vm, indexed), "1,2,0");
    Value twins = Array(vm, {Value("x"), Value("X"), Value("y")});
    EXPECT_EQ(Text(vm, Method(vm, twins, "sort", {Value(kUniqueSort | kCaseInsensitive)})), "0");
    EXPECT_EQ(Text(vm, twins), "x,X,y");   // untouched when not unique

    // sortOn by two fields, the second numeric and descending.
    auto row = [&](const char* name, double n) {
        Object* o = vm.MakeObject();
        vm.Set(o, "name", Value(name));
        vm.Set(o, "n", Value(n));
        return Value(o);
    };
    Value rows = Array(vm, {row("b", 1), row("a", 2), row("b", 10), row("a", 3)});
    Value order = Method(vm, rows, "sortOn",
                         {Array(vm, {Value("name"), Value("n")}), Array(vm, {Value(0), Value(kNumeric | kDescending)})});
    std::string seen;
    for (const Value& v : order.object->AsArray()->Elements())
        seen += Text(vm, vm.Get(v.object, "name")) + Text(vm, vm.Get(v.object, "n")) + " ";
    EXPECT_EQ(seen, "a3 a2 b10 b1 ");
}

TEST(Avm1Classes, SortFollowsThePlayersOrderAndIsSafeWithContradictoryCompares) {
    std::vector<int> keys(100000);
    for (size_t i = 0; i < keys.size(); ++i) keys[i] = static_cast<int>((i * 7919) % 1000);
    std::vector<size_t> order = SortPositions(keys.size(), [&](size_t a, size_t b) { return keys[a] - keys[b]; });
    for (size_t i = 1; i < order.size(); ++i) ASSERT_LE(keys[order[i - 1]], keys[order[i]]);
    // Equal items are not kept in order, and the comparisons come in the
    // player's sequence (the pivot first).
    const int small[] = {2, 1, 2, 1, 0};
    std::vector<std::pair<size_t, size_t>> asked;
    order = SortPositions(5, [&](size_t a, size_t b) {
        asked.push_back({a, b});
        return small[a] - small[b];
    });
    EXPECT_EQ(order, (std::vector<size_t>{4, 3, 1, 0, 2}));
    const std::vector<std::pair<size_t, size_t>> expected = {{0, 1}, {0, 2}, {0, 4}, {0, 4}, {0, 3}, {0, 2},
                                                             {0, 3}, {3, 1}, {3, 4}, {3, 4}, {3, 1}, {3, 4}};
    EXPECT_EQ(asked, expected);
    // A compare that answers "before" and "after" by turns still ends.
    int turn = 0;
    order = SortPositions(50, [&](size_t, size_t) { return ++turn % 2 ? -1 : 1; });
    EXPECT_EQ(order.size(), 50u);
    // Already in order: the worst case, which must not run deep.
    order = SortPositions(5000, [](size_t a, size_t b) { return a < b ? -1 : a > b ? 1 : 0; });
    EXPECT_EQ(order.back(), 4999u);
    unsigned state = 1;
    std::vector<size_t> random = SortPositions(1000, [&](size_t, size_t) {
        state = state * 1103515245 + 12345;
        return static_cast<int>((state >> 16) % 3) - 1;
    });
    std::vector<bool> seen(1000);
    for (size_t i : random) seen.at(i) = true;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 1000);
}

TEST(Avm1Classes, ParseIntRadixAndPrefixRules) {
    EXPECT_EQ(ParseIntText("0x123", 0), 291);
    EXPECT_EQ(ParseIntText("-0100", 0), -64);      // octal
    EXPECT_EQ(ParseIntText("-0100z", 0), -100);    // not all octal: decimal
    EXPECT_EQ(ParseIntText("  077", 0), 77);       // blanks first: decimal
    EXPECT_EQ(ParseIntText("0x-100", 0), -256);
    EXPECT_EQ(ParseIntText("0x100", 36), 1296);
    EXPECT_EQ(ParseIntText(" -0x100", 36), -1540944);
    EXPECT_EQ(ParseIntText("-0x100", 36), 1540944);
    EXPECT_TRUE(std::isnan(ParseIntText("-0x100", 0)));
    EXPECT_TRUE(std::isnan(ParseIntText("0x", 16)));
    EXPECT_EQ(ParseIntText("12aaa", 0), 12);
    EXPECT_EQ(ParseFloatText(" -1.5e3xyz"), -1500);
    EXPECT_TRUE(std::isnan(ParseFloatText(".e1")));
}

TEST(Avm1Classes, MathReadsTwoArgumentsAndRoundsHalvesUp) {
    Vm vm(8);
    Value math = vm.Get(vm.global, "Math");
    EXPECT_TRUE(std::isnan(vm.ToNumber(Method(vm, math, "min", {Value(1)}))));
    EXPECT_EQ(vm.ToNumber(Method(vm, math, "max")), -INFINITY);
    EXPECT_EQ(vm.ToNumber(Method(vm, math, "min", {Value("10"), Value("2")})), 2);
    EXPECT_EQ(vm.ToNumber(Method(vm, math, "round", {Value(-12.5)})), -12);
}

TEST(Avm1Classes, DateFieldsInLocalTimeAndUtc) {
    Vm vm(8);
    vm.utc_offset_minutes = 345;   // +05:45
    Value date_class = vm.Get(vm.global, "Date");
    Value d = vm.Construct(date_class, {Value(2001), Value(1), Value(3), Value(4), Value(5), Value(6)});
    EXPECT_EQ(Text(vm, Method(vm, d, "toString")), "Sat Feb 3 04:05:06 GMT+0545 2001");
    EXPECT_EQ(vm.ToNumber(Method(vm, d, "getUTCHours")), 22);
    EXPECT_EQ(vm.ToNumber(Method(vm, d, "getUTCDate")), 2);
    EXPECT_EQ(vm.ToNumber(Method(vm, d, "getTimezoneOffset")), -345);
    Method(vm, d, "setMonth", {Value(12)});   // rolls into the next year
    EXPECT_EQ(vm.ToNumber(Method(vm, d, "getFullYear")), 2002);
    EXPECT_EQ(vm.ToNumber(Method(vm, d, "getMonth")), 0);
    EXPECT_EQ(vm.ToNumber(Method(vm, date_class, "UTC", {Value(1970), Value(0), Value(2)})), 86400000);
}

}  // namespace
}  // namespace flash::avm1
