// Math: the functions and constants. Every function reads its first two
// arguments as numbers (calling valueOf on each, in order) whether it uses
// them or not; a missing argument is NaN.
#include "flash/avm1/classes/classes.h"

#include <cmath>
#include <random>

namespace flash::avm1 {

namespace {

struct Pair {
    double a = NAN, b = NAN;
    size_t count = 0;
};

Pair Numbers(Vm& vm, Args& args) {
    Pair p;
    p.count = args.size();
    if (args.size() > 0) p.a = vm.ToNumber(args[0]);
    if (args.size() > 1) p.b = vm.ToNumber(args[1]);
    return p;
}

template <double (*F)(double)>
Value Unary(Vm& vm, Object*, Args& args) {
    return Value(F(Numbers(vm, args).a));
}

double Abs(double x) { return std::fabs(x); }
double Acos(double x) { return std::acos(x); }
double Asin(double x) { return std::asin(x); }
double Atan(double x) { return std::atan(x); }
double Ceil(double x) { return std::ceil(x); }
double Cos(double x) { return std::cos(x); }
double Exp(double x) { return std::exp(x); }
double Floor(double x) { return std::floor(x); }
double Log(double x) { return std::log(x); }
double Sin(double x) { return std::sin(x); }
double Sqrt(double x) { return std::sqrt(x); }
double Tan(double x) { return std::tan(x); }
// Halves round up: -12.5 gives -12.
double Round(double x) { return std::floor(x + 0.5); }

Value Atan2(Vm& vm, Object*, Args& args) {
    Pair p = Numbers(vm, args);
    return Value(std::atan2(p.a, p.b));
}

Value Pow(Vm& vm, Object*, Args& args) {
    Pair p = Numbers(vm, args);
    return Value(std::pow(p.a, p.b));
}

Value Min(Vm& vm, Object*, Args& args) {
    Pair p = Numbers(vm, args);
    if (p.count == 0) return Value(INFINITY);
    if (std::isnan(p.a) || std::isnan(p.b)) return Value(NAN);
    return Value(p.b < p.a ? p.b : p.a);
}

Value Max(Vm& vm, Object*, Args& args) {
    Pair p = Numbers(vm, args);
    if (p.count == 0) return Value(-INFINITY);
    if (std::isnan(p.a) || std::isnan(p.b)) return Value(NAN);
    return Value(p.b > p.a ? p.b : p.a);
}

// Like every Math function, random reads its first two arguments as
// numbers, though it uses neither.
Value Random(Vm& vm, Object*, Args& args) {
    for (size_t i = 0; i < args.size() && i < 2; ++i) vm.ToNumber(args[i]);
    static std::mt19937 engine{std::random_device{}()};
    return Value(std::uniform_real_distribution<double>(0.0, 1.0)(engine));
}

}  // namespace

void InstallMathClass(Vm& vm) {
    Object* math = vm.MakeObject();
    struct Entry {
        const char* name;
        NativeFn fn;
    };
    const Entry functions[] = {
        {"abs", Unary<Abs>},   {"acos", Unary<Acos>}, {"asin", Unary<Asin>},   {"atan", Unary<Atan>},
        {"atan2", Atan2},      {"ceil", Unary<Ceil>}, {"cos", Unary<Cos>},     {"exp", Unary<Exp>},
        {"floor", Unary<Floor>}, {"log", Unary<Log>}, {"max", Max},            {"min", Min},
        {"pow", Pow},          {"random", Random},    {"round", Unary<Round>}, {"sin", Unary<Sin>},
        {"sqrt", Unary<Sqrt>}, {"tan", Unary<Tan>},
    };
    for (const Entry& e : functions) vm.AddMethod(math, e.name, e.fn);
    constexpr uint8_t kConstant = kDontEnum | kDontDelete | kReadOnly;
    math->Define("E", Value(2.718281828459045), kConstant);
    math->Define("LN10", Value(2.302585092994046), kConstant);
    math->Define("LN2", Value(0.6931471805599453), kConstant);
    math->Define("LOG10E", Value(0.4342944819032518), kConstant);
    math->Define("LOG2E", Value(1.4426950408889634), kConstant);
    math->Define("PI", Value(3.141592653589793), kConstant);
    math->Define("SQRT1_2", Value(0.7071067811865476), kConstant);
    math->Define("SQRT2", Value(1.4142135623730951), kConstant);
    vm.global->Define("Math", Value(math));
}

}  // namespace flash::avm1
