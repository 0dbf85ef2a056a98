// Language rules of the script machine: conversions, the order in which
// operators convert their operands, comparisons, and which built-ins a
// movie's version sees. Scripts are assembled with ActionWriter and run
// on a plain object standing in for a timeline.
#include "flash/avm1/vm.h"
#include "flash/swf_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace flash::avm1 {
namespace {

// Runs actions as a movie of the given version and returns what they traced.
std::vector<std::string> RunScript(Vm& vm, const ActionWriter& actions, int version) {
    std::vector<std::string> traced;
    vm.on_trace = [&](const std::string& line) { traced.push_back(line); };
    Code code;
    auto bytes = std::make_shared<std::vector<uint8_t>>(actions.Bytes());
    code.owner = bytes;
    code.data = bytes->data();
    code.size = bytes->size();
    code.version = version;
    vm.RunActions(code, vm.MakeObject());
    vm.on_trace = nullptr;
    return traced;
}

// name = {valueOf: function () { trace(name); return result; }}
ActionWriter& MakeValueOf(ActionWriter& w, const std::string& name, const std::string& method, double result) {
    w.Push(name).Push(method)
        .Function("", ActionWriter().Push(name).Trace().Push(result).Op(0x3E))
        .Push(1.0).Op(0x43).SetVariable();
    return w;
}

TEST(Avm1Language, StringsReadAsNumbers) {
    EXPECT_EQ(StringToNumber("010", false), 8);
    EXPECT_EQ(StringToNumber("-010", false), -8);
    EXPECT_EQ(StringToNumber(" 010", false), 10);        // blanks first: decimal
    EXPECT_EQ(StringToNumber("010.5", false), 10.5);
    EXPECT_EQ(StringToNumber("037777777777", false), -1);   // kept to 32 bits
    EXPECT_EQ(StringToNumber("0x-10", false), -16);
    EXPECT_EQ(StringToNumber("0x1999999981ffffff", false), -2113929217);
    EXPECT_EQ(StringToNumber("\t\r12", false), 12);
    EXPECT_TRUE(std::isnan(StringToNumber("12 ", false)));   // nothing may follow
    EXPECT_TRUE(std::isnan(StringToNumber("0x10.5", false)));
    EXPECT_TRUE(std::isnan(StringToNumber("Infinity", false)));
    EXPECT_EQ(StringToNumber("2e", false), 2);             // an exponent mark without digits
    EXPECT_EQ(StringToNumber("-56e+", false), -56);
    EXPECT_TRUE(std::isnan(StringToNumber("-56eu", false)));
    EXPECT_TRUE(std::isnan(StringToNumber(" 0x2", false)));
    EXPECT_EQ(StringToNumber("\n  2", false), 2);
    EXPECT_EQ(StringToNumber("12abc", true), 12);          // SWF 4 reads what it can
}

TEST(Avm1Language, ToStringWantsAStringFromToString) {
    Vm vm(7);
    // o = {toString: function () { return 4; }}; trace(o); trace("x" + o)
    ActionWriter w;
    w.Push("o").Push("toString").Function("", ActionWriter().Push(4.0).Op(0x3E)).Push(1.0).Op(0x43).SetVariable();
    w.Push("o").GetVariable().Trace();
    w.Push("o").Push(0.0).Push("Object").CallFunction().SetVariable();   // Object() has no prototype
    w.Push("o").GetVariable().Trace();
    w.Push(5.0).Push(1.0).Push("Object").CallFunction().Op(0x44).Trace();   // typeof Object(5)
    EXPECT_EQ(RunScript(vm, w, 7), (std::vector<std::string>{"[type Object]", "[type Object]", "object"}));
}

TEST(Avm1Language, OperandsConvertInThePlayersOrder) {
    Vm vm(7);
    ActionWriter w;
    MakeValueOf(w, "a", "valueOf", 1);
    MakeValueOf(w, "b", "valueOf", 2);
    auto both = [&](uint8_t op) {
        w.Push("a").GetVariable().Push("b").GetVariable().Op(op).Trace();
    };
    both(0x47);   // Add2: b first
    both(0x0A);   // Add: a first
    both(0x0B);   // Subtract: b first
    both(0x48);   // Less2: a first
    EXPECT_EQ(RunScript(vm, w, 7), (std::vector<std::string>{"b", "a", "3", "a", "b", "3", "b", "a", "-1", "a", "b",
                                                       "true"}));
}

TEST(Avm1Language, ComparisonsWithObjectsAndNaN) {
    Vm vm(7);
    ActionWriter w;
    MakeValueOf(w, "a", "valueOf", 1);
    // {} < a: {}'s valueOf answers itself, so false without asking a.
    w.Push(0.0).Op(0x43).Push("a").GetVariable().Op(0x48).Trace();
    // NaN == NaN and NaN === NaN
    w.Push(0.0).Push(0.0).Op(0x0D).Op(0x4C).Op(0x49).Trace();
    w.Push(0.0).Push(0.0).Op(0x0D).Op(0x4C).Op(0x66).Trace();
    // 1 < "x" is undefined: NaN compares to nothing.
    w.Push(1.0).Push("x").Op(0x48).Trace();
    // U+FF61 < U+10002 written as two surrogate halves: characters compare.
    w.Push("\xEF\xBD\xA1").Push("\xED\xA0\x80\xED\xB0\x82").Op(0x48).Trace();
    EXPECT_EQ(RunScript(vm, w, 7), (std::vector<std::string>{"false", "true", "true", "undefined", "true"}));
}

TEST(Avm1Language, Swf4ComparisonsAreBooleansPrintedAsDigits) {
    Vm vm(4);
    ActionWriter w;
    w.Push(1.0).Push(1.0).Op(0x0E).Op(0x4C).Trace().Op(0x44).Trace();   // 1 == 1, typeof
    w.Push(4.0).Push(0.0).Op(0x0D).Trace();
    // A function in an SWF 4 movie runs by SWF 5 rules.
    w.Function("f", ActionWriter().Push(1.0).Push(1.0).Op(0x0E).Trace().Push(4.0).Push(0.0).Op(0x0D).Trace());
    w.Push(0.0).Push("f").CallFunction().Pop();
    EXPECT_EQ(RunScript(vm, w, 4), (std::vector<std::string>{"1", "boolean", "#ERROR#", "true", "Infinity"}));
}

TEST(Avm1Language, VersionBitsHideProperties) {
    struct Case {
        uint16_t bit;
        int first_version;
    };
    for (Case c : {Case{kVersion6, 6}, Case{kVersion7, 7}, Case{kVersion8, 8}, Case{kVersion9, 9},
                   Case{kVersion10, 10}}) {
        for (int version = 5; version <= 10; ++version) {
            Vm vm(version);
            Object* o = vm.MakeObject();
            o->Define("p", Value(1), 0);
            o->FindOwn("p", true)->version_flags = c.bit;
            EXPECT_EQ(vm.Get(o, "p").IsUndefined(), version < c.first_version) << c.bit << " " << version;
        }
    }
    Vm swf5(5);
    EXPECT_TRUE(swf5.GetMember(swf5.Get(swf5.global, "Accessibility"), "isActive").IsUndefined());
    // Built-in classes hold their prototype link and constructor as their own.
    Object* number = swf5.Get(swf5.global, "Number").object;
    EXPECT_TRUE(number->FindOwn("__proto__", true) && number->FindOwn("constructor", true));
    Vm swf6(6);
    EXPECT_TRUE(swf6.GetMember(swf6.Get(swf6.global, "Accessibility"), "isActive").IsObject());
}

// Action bytes written by hand (for actions ActionWriter does not make),
// joined with writers' bytes; the list's end is added once.
std::vector<uint8_t> Join(const std::vector<std::vector<uint8_t>>& parts) {
    std::vector<uint8_t> out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    out.push_back(0);
    return out;
}

std::vector<uint8_t> Body(const ActionWriter& w) {
    std::vector<uint8_t> bytes = w.Bytes();
    bytes.pop_back();
    return bytes;
}

std::vector<std::string> RunBytes(Vm& vm, std::vector<uint8_t> bytes, int version) {
    std::vector<std::string> traced;
    vm.on_trace = [&](const std::string& line) { traced.push_back(line); };
    Code code;
    auto owned = std::make_shared<std::vector<uint8_t>>(std::move(bytes));
    code.owner = owned;
    code.data = owned->data();
    code.size = owned->size();
    code.version = version;
    vm.RunActions(code, vm.MakeObject());
    vm.on_trace = nullptr;
    return traced;
}

TEST(Avm1Language, ReturnInsideTryRunsFinallyFirst) {
    // function f() { try { return "r"; } finally { trace("finally"); } } trace(f());
    std::vector<uint8_t> try_body = Body(ActionWriter().Push("r").Op(0x3E));
    std::vector<uint8_t> finally_body = Body(ActionWriter().Push("finally").Trace());
    std::vector<uint8_t> body = {0x8F, 8, 0, 2, static_cast<uint8_t>(try_body.size()), 0, 0, 0,
                                 static_cast<uint8_t>(finally_body.size()), 0, 0};
    body.insert(body.end(), try_body.begin(), try_body.end());
    body.insert(body.end(), finally_body.begin(), finally_body.end());
    std::vector<uint8_t> define = {0x9B, 6, 0, 'f', 0, 0, 0, static_cast<uint8_t>(body.size()), 0};
    define.insert(define.end(), body.begin(), body.end());
    Vm vm(7);
    auto traced = RunBytes(vm, Join({define, Body(ActionWriter().Push(0.0).Push("f").CallFunction().Trace())}), 7);
    EXPECT_EQ(traced, (std::vector<std::string>{"finally", "r"}));
}

TEST(Avm1Language, PreloadedRegistersAndSuppression) {
    // DefineFunction2 f with this, arguments and super both preloaded and
    // suppressed: this and super keep empty registers, arguments is loaded.
    std::vector<uint8_t> body;   // trace(r1); trace(r2); trace(r3)
    for (uint8_t reg : {1, 2, 3}) {
        std::vector<uint8_t> push = {0x96, 2, 0, 4, reg, 0x26};
        body.insert(body.end(), push.begin(), push.end());
    }
    std::vector<uint8_t> define = {0x8E, 9, 0, 'f', 0, 0, 0, 4, 0x3F, 0, static_cast<uint8_t>(body.size()), 0};
    define.insert(define.end(), body.begin(), body.end());
    Vm vm(7);
    auto traced = RunBytes(vm, Join({define, Body(ActionWriter().Push(7.0).Push(1.0).Push("f").CallFunction().Pop())}), 7);
    EXPECT_EQ(traced, (std::vector<std::string>{"undefined", "7", "undefined"}));
}

TEST(Avm1Language, CallerIsTheCallingFunction) {
    Vm vm(7);
    ActionWriter w;
    w.Function("f1", ActionWriter().Push("arguments").GetVariable().Push("caller").GetMember()
                         .Push("f2").GetVariable().Op(0x66).Trace());
    w.Function("f2", ActionWriter().Push(0.0).Push("f1").CallFunction().Pop());
    w.Push(0.0).Push("f2").CallFunction().Pop();
    w.Push(0.0).Push("f1").CallFunction().Pop();
    EXPECT_EQ(RunScript(vm, w, 7), (std::vector<std::string>{"true", "false"}));
}

TEST(Avm1Language, ForInListsOwnNamesThenInheritedFromTheEnd) {
    Vm vm(6);
    Object* a = vm.MakeObject();
    for (const char* name : {"c", "b", "a", "d"}) vm.Set(a, name, Value(1));
    Object* b = vm.MakeObject();
    vm.Set(b, "__proto__", Value(a));
    vm.Set(b, "c", Value(2));
    vm.Set(b, "e", Value(3));
    EXPECT_EQ(vm.EnumerableKeys(b), (std::vector<std::string>{"d", "a", "b", "e", "c"}));
}

TEST(Avm1Language, AsNativeNumbersNameBuiltIns) {
    Vm vm(7);
    auto native = [&](Args args) { return vm.Call(vm.Get(vm.global, "ASnative"), Value(), std::move(args)); };
    EXPECT_EQ(native({Value(100), Value(0)}).object, vm.Get(vm.global, "escape").object);
    EXPECT_EQ(native({Value(101), Value(5)}).object, vm.Get(vm.object_proto, "hasOwnProperty").object);
    EXPECT_EQ(native({Value(100), Value(4294967296.0 + 1)}).object, vm.Get(vm.global, "unescape").object);
    EXPECT_TRUE(native({Value(100)}).IsUndefined());
    EXPECT_TRUE(native({Value(100), Value(0), Value(0)}).IsUndefined());
    EXPECT_TRUE(native({Value("onehundred"), Value(0)}).IsUndefined());
    Value missing = native({Value(200), Value(50)});
    ASSERT_TRUE(missing.IsObject());
    EXPECT_TRUE(std::isnan(vm.ToNumber(vm.Call(missing, Value(), {}))));
}

TEST(Avm1Language, StringActionsCountCharactersFromSwf6) {
    Vm vm(6);
    std::string emoji = "\xF0\x9F\x98\x8B";
    ActionWriter w;
    w.Push(emoji + "ab").Op(0x14).Trace();                                 // length: 4 units
    w.Push(emoji).Op(0x32).Trace();                                        // ord: beyond 16 bits
    w.Push("abcdefgh").Push(4294967303.0).Push(-4294967294.0).Op(0x15).Trace();   // substring(s, 7, 2)
    EXPECT_EQ(RunScript(vm, w, 6), (std::vector<std::string>{"4", "65533", "gh"}));
    Vm swf5(5);
    EXPECT_EQ(RunScript(swf5, ActionWriter().Push(emoji).Op(0x14).Trace().Push("a\xC5\rb").Trace(), 5),
              (std::vector<std::string>{"4", "a\xC3\x85\nb"}));
}

TEST(Avm1Language, WatchersSeeTheStoredValue) {
    static std::vector<std::string> seen;
    seen.clear();
    Vm vm(7);
    NativeFn getter = [](Vm&, Object*, Args&) -> Value {
        seen.push_back("getter");
        return Value(99);
    };
    NativeFn watcher = [](Vm& vm, Object*, Args& args) -> Value {
        seen.push_back("old " + vm.ToString(args[1]));
        return args[2];
    };
    // p.x = 3, then a getter added over it; o inherits x from p.
    Object* p = vm.MakeObject();
    vm.Set(p, "x", Value(3));
    vm.CallMethod(Value(p), "addProperty", {Value("x"), Value(vm.MakeNative("get", getter)), Value::Null()});
    Object* o = vm.MakeObject();
    vm.Set(o, "__proto__", Value(p));
    vm.CallMethod(Value(o), "watch", {Value("x"), Value(vm.MakeNative("watch", watcher))});
    vm.Set(o, "x", Value(4));
    EXPECT_EQ(seen, (std::vector<std::string>{"old 3"}));
}

TEST(Avm1Language, ArrayElementsSetToUndefinedAreListed) {
    Vm vm(7);
    ArrayObject* array = vm.MakeArray({Value(1), Value(), Value(3)});
    array->SetLength(5);                          // two holes
    vm.Set(array, "4", Value());
    EXPECT_EQ(vm.EnumerableKeys(array), (std::vector<std::string>{"4", "2", "1", "0"}));
    vm.Delete(array, "1");
    EXPECT_EQ(vm.EnumerableKeys(array), (std::vector<std::string>{"4", "2", "0"}));
}

TEST(Avm1Language, ArrayLengthIsKeptApartFromElements) {
    Vm vm(7);
    ArrayObject* array = vm.MakeArray({Value("a"), Value("b")});
    vm.Set(array, "x", Value(1));
    vm.Set(array, "5", Value("f"));
    EXPECT_EQ(array->length, 6);
    // Elements are properties: listed newest first, with the named ones.
    EXPECT_EQ(vm.EnumerableKeys(array), (std::vector<std::string>{"5", "x", "1", "0"}));
    // A lower length deletes the elements past it, but not other names.
    vm.Set(array, "length", Value(1));
    EXPECT_EQ(vm.EnumerableKeys(array), (std::vector<std::string>{"x", "0"}));
    // Indices wrap as 32-bit integers; the last one wraps the length.
    vm.Set(array, "-5", Value(1));
    EXPECT_EQ(array->length, 1);
    vm.Set(array, "2147483647", Value(1));
    EXPECT_EQ(vm.ToNumber(vm.Get(array, "length")), -2147483648.0);
    EXPECT_EQ(vm.EnumerableKeys(array), (std::vector<std::string>{"2147483647", "-5", "x"}));
    vm.Set(array, "4294967296", Value(1));   // wraps to 0
    EXPECT_EQ(array->length, 1);
    // A negative length joins to nothing.
    vm.Set(array, "length", Value(-1));
    EXPECT_EQ(vm.ToString(vm.CallMethod(Value(array), "join", {})), "");
    ArrayObject* counted = vm.Construct(vm.Get(vm.global, "Array"), {Value(-1)}).object->AsArray();
    EXPECT_EQ(counted->length, -1);
}

TEST(Avm1Language, ArrayMethodsReadOnlyStoredOwnElementsOfOtherObjects) {
    Vm vm(7);
    Object* o = vm.MakeObject();
    vm.Set(o, "__proto__", Value(vm.MakeArray({Value("a"), Value("b"), Value("c")})));
    vm.Set(o, "length", Value(3));
    vm.Set(o, "1", Value("own"));
    Value join = vm.Get(vm.array_proto, "join");
    EXPECT_EQ(vm.ToString(vm.Call(join, Value(o), {})), "undefined,own,undefined");
}

TEST(Avm1Language, SettersNestOnlySoDeep) {
    static int calls;
    calls = 0;
    Vm vm(7);
    // A setter that assigns its own property again.
    NativeFn setter = [](Vm& vm, Object* self, Args&) -> Value {
        ++calls;
        vm.Set(self, "x", Value(1));
        return Value();
    };
    NativeFn getter = [](Vm&, Object*, Args&) -> Value { return Value(); };
    Object* o = vm.MakeObject();
    vm.CallMethod(Value(o), "addProperty",
                  {Value("x"), Value(vm.MakeNative("get", getter)), Value(vm.MakeNative("set", setter))});
    vm.Set(o, "x", Value(1));
    EXPECT_EQ(calls, Vm::kMaxAccessorDepth);
    EXPECT_EQ(vm.accessor_depth, 0);
}

TEST(Avm1Language, SpliceWithAnUndefinedOrNegativeCountDoesNothing) {
    Vm vm(7);
    for (Value count : {Value(), Value(-2)}) {
        Value array = Value(vm.MakeArray({Value("a"), Value("b"), Value("c")}));
        EXPECT_TRUE(vm.CallMethod(array, "splice", {Value(1), count}).IsUndefined());
        EXPECT_EQ(vm.ToString(array), "a,b,c");
    }
}

}  // namespace
}  // namespace flash::avm1

#include "flash/avm1/level_names.h"

namespace flash::avm1 {
namespace {

TEST(Avm1Language, LevelNamesReadTheirNumberAsFarAsItGoes) {
    int32_t level = -7;
    EXPECT_TRUE(LevelNumber("_level", true, &level));
    EXPECT_EQ(level, 0);
    EXPECT_TRUE(LevelNumber("_flash3a", true, &level));
    EXPECT_EQ(level, 3);
    EXPECT_TRUE(LevelNumber("_level-1", true, &level));
    EXPECT_EQ(level, -1);
    EXPECT_TRUE(LevelNumber("_level4294967297", true, &level));   // wraps to 32 bits
    EXPECT_EQ(level, 1);
    EXPECT_TRUE(LevelNumber("_level2147483648", true, &level));
    EXPECT_LT(level, 0);
    EXPECT_FALSE(LevelNumber("_LEVEL0", true, &level));
    EXPECT_TRUE(LevelNumber("_LEVEL0", false, &level));
    EXPECT_FALSE(LevelNumber("_leve", false, &level));
    EXPECT_FALSE(LevelNumber("level0", false, &level));
}

}  // namespace
}  // namespace flash::avm1
