// Date: a time in milliseconds since 1970 UTC, read and changed in local
// time (the machine's fixed offset from UTC) or in UTC.
#include "flash/avm1/classes/classes.h"

#include <cmath>
#include <cstdio>

namespace flash::avm1 {

namespace {

constexpr double kMsPerDay = 86400000.0;

// The parts of a time; setters change some and put the time together again.
struct Fields {
    double year = 1970, month = 0, date = 1, hours = 0, minutes = 0, seconds = 0, ms = 0;
    double& operator[](int i) {
        double* all[] = {&year, &month, &date, &hours, &minutes, &seconds, &ms};
        return *all[i];
    }
};

enum FieldIndex { kYear, kMonth, kDate, kHours, kMinutes, kSeconds, kMs };

// Days since 1970-01-01 of a civil date (month 0..11, any day count).
double DaysFromCivil(double year, double month, double day) {
    double y = year + std::floor(month / 12);
    double m = month - std::floor(month / 12) * 12;   // 0..11
    double yy = m < 2 ? y - 1 : y;
    double era = std::floor(yy / 400);
    double yoe = yy - era * 400;
    double mp = m < 2 ? m + 10 : m - 2;               // March first
    double doy = std::floor((153 * mp + 2) / 5);
    double doe = yoe * 365 + std::floor(yoe / 4) - std::floor(yoe / 100) + doy;
    return era * 146097 + doe - 719468 + (day - 1);
}

Fields Split(double t) {
    Fields f;
    double days = std::floor(t / kMsPerDay);
    double in_day = t - days * kMsPerDay;
    double z = days + 719468;
    double era = std::floor(z / 146097);
    double doe = z - era * 146097;
    double yoe = std::floor((doe - std::floor(doe / 1460) + std::floor(doe / 36524) - std::floor(doe / 146096)) / 365);
    double doy = doe - (365 * yoe + std::floor(yoe / 4) - std::floor(yoe / 100));
    double mp = std::floor((5 * doy + 2) / 153);
    f.date = doy - std::floor((153 * mp + 2) / 5) + 1;
    f.month = mp < 10 ? mp + 2 : mp - 10;
    f.year = yoe + era * 400 + (f.month < 2 ? 1 : 0);
    f.hours = std::floor(in_day / 3600000);
    f.minutes = std::floor(std::fmod(in_day, 3600000) / 60000);
    f.seconds = std::floor(std::fmod(in_day, 60000) / 1000);
    f.ms = std::fmod(in_day, 1000);
    return f;
}

double Join(const Fields& f) {
    for (double v : {f.year, f.month, f.date, f.hours, f.minutes, f.seconds, f.ms})
        if (!std::isfinite(v)) return NAN;
    double days = DaysFromCivil(std::trunc(f.year), std::trunc(f.month), std::trunc(f.date));
    double t = days * kMsPerDay + std::trunc(f.hours) * 3600000 + std::trunc(f.minutes) * 60000 +
               std::trunc(f.seconds) * 1000 + std::trunc(f.ms);
    if (std::fabs(t) > 8.64e15) return NAN;
    return t;
}

double Offset(Vm& vm, bool utc) { return utc ? 0 : vm.utc_offset_minutes * 60000.0; }

double TimeOf(Object* self) {
    return self && self->primitive.IsNumber() ? self->primitive.number : NAN;
}

Fields FieldsOf(Vm& vm, Object* self, bool utc) { return Split(TimeOf(self) + Offset(vm, utc)); }

// Fields from arguments starting at field first; a missing one keeps its value.
void ApplyArgs(Vm& vm, Fields& f, int first, const Args& args, size_t most) {
    for (size_t i = 0; i < args.size() && i < most && first + static_cast<int>(i) <= kMs; ++i)
        f[first + static_cast<int>(i)] = vm.ToNumber(args[i]);
}

double NowMs(Vm& vm) { return std::floor(vm.epoch_seconds * 1000 + vm.clock_ms); }

double TimeFromArgs(Vm& vm, const Args& args, bool utc) {
    Fields f;
    ApplyArgs(vm, f, kYear, args, 7);
    if (f.year >= 0 && f.year < 100) f.year += 1900;
    return Join(f) - Offset(vm, utc);
}

Value Construct(Vm& vm, Object*, Args& args) {
    Object* date = vm.heap.Make<Object>(vm.Proto("Date"));
    date->native_class = "Date";
    double t;
    if (args.empty() || args[0].IsUndefined()) t = NowMs(vm);
    else if (args.size() == 1) t = vm.ToNumber(args[0]);
    else t = TimeFromArgs(vm, args, false);
    date->primitive = Value(t);
    return Value(date);
}

Value CallDate(Vm& vm, Object* self, Args& args) {
    Args none;
    Value now = Construct(vm, self, none);
    return Value(vm.ToString(now));
    (void)args;
}

template <int F, bool Utc>
Value Getter(Vm& vm, Object* self, Args&) {
    if (std::isnan(TimeOf(self))) return Value(NAN);
    Fields f = FieldsOf(vm, self, Utc);
    return Value(f[F]);
}

template <bool Utc>
Value GetDay(Vm& vm, Object* self, Args&) {
    double t = TimeOf(self) + Offset(vm, Utc);
    if (std::isnan(t)) return Value(NAN);
    double day = std::fmod(std::floor(t / kMsPerDay) + 4, 7);
    return Value(day < 0 ? day + 7 : day);
}

Value GetYear(Vm& vm, Object* self, Args& args) {
    Value year = Getter<kYear, false>(vm, self, args);
    return Value(year.number - 1900);
}

Value GetTime(Vm&, Object* self, Args&) { return Value(TimeOf(self)); }

Value GetTimezoneOffset(Vm& vm, Object*, Args&) { return Value(static_cast<double>(-vm.utc_offset_minutes)); }

template <int F, bool Utc, int Most>
Value Setter(Vm& vm, Object* self, Args& args) {
    if (!self || !self->primitive.IsNumber()) return Value(NAN);
    double t = TimeOf(self);
    Fields f = std::isnan(t) ? Fields{} : FieldsOf(vm, self, Utc);
    if (args.empty()) f[F] = NAN;
    ApplyArgs(vm, f, F, args, Most);
    self->primitive = Value(Join(f) - Offset(vm, Utc));
    return self->primitive;
}

Value SetYear(Vm& vm, Object* self, Args& args) {
    if (!args.empty()) {
        double y = vm.ToNumber(args[0]);
        if (y >= 0 && y < 100) args[0] = Value(y + 1900);
    }
    return Setter<kYear, false, 3>(vm, self, args);
}

Value SetTime(Vm& vm, Object* self, Args& args) {
    if (!self) return Value(NAN);
    double t = args.empty() ? NAN : vm.ToNumber(args[0]);
    if (std::isfinite(t)) t = std::trunc(t);
    self->primitive = Value(t);
    return self->primitive;
}

Value ToStringMethod(Vm& vm, Object* self, Args&) {
    double t = TimeOf(self);
    if (std::isnan(t)) return Value("Invalid Date");
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    Args none;
    int day = static_cast<int>(GetDay<false>(vm, self, none).number);
    Fields f = FieldsOf(vm, self, false);
    int offset = vm.utc_offset_minutes;
    char text[96];
    std::snprintf(text, sizeof text, "%s %s %d %02d:%02d:%02d GMT%c%02d%02d %d", kDays[day],
                  kMonths[static_cast<int>(f.month)], static_cast<int>(f.date), static_cast<int>(f.hours),
                  static_cast<int>(f.minutes), static_cast<int>(f.seconds), offset < 0 ? '-' : '+',
                  std::abs(offset) / 60, std::abs(offset) % 60, static_cast<int>(f.year));
    return Value(text);
}

Value Utc(Vm& vm, Object*, Args& args) {
    if (args.size() < 2) return Value(NAN);
    return Value(TimeFromArgs(vm, args, true));
}

}  // namespace


void InstallDateClass(Vm& vm) {
    Object* proto = vm.MakeObject();
    Function* constructor = vm.MakeClass("Date", CallDate, Construct, proto);
    struct Entry {
        const char* name;
        NativeFn fn;
    };
    const Entry methods[] = {
        {"getFullYear", Getter<kYear, false>},       {"getUTCFullYear", Getter<kYear, true>},
        {"getYear", GetYear},                        {"getMonth", Getter<kMonth, false>},
        {"getUTCMonth", Getter<kMonth, true>},       {"getDate", Getter<kDate, false>},
        {"getUTCDate", Getter<kDate, true>},         {"getDay", GetDay<false>},
        {"getUTCDay", GetDay<true>},                 {"getHours", Getter<kHours, false>},
        {"getUTCHours", Getter<kHours, true>},       {"getMinutes", Getter<kMinutes, false>},
        {"getUTCMinutes", Getter<kMinutes, true>},   {"getSeconds", Getter<kSeconds, false>},
        {"getUTCSeconds", Getter<kSeconds, true>},   {"getMilliseconds", Getter<kMs, false>},
        {"getUTCMilliseconds", Getter<kMs, true>},   {"getTime", GetTime},
        {"valueOf", GetTime},                        {"getTimezoneOffset", GetTimezoneOffset},
        {"setFullYear", Setter<kYear, false, 3>},    {"setUTCFullYear", Setter<kYear, true, 3>},
        {"setYear", SetYear},                        {"setMonth", Setter<kMonth, false, 2>},
        {"setUTCMonth", Setter<kMonth, true, 2>},    {"setDate", Setter<kDate, false, 1>},
        {"setUTCDate", Setter<kDate, true, 1>},      {"setHours", Setter<kHours, false, 4>},
        {"setUTCHours", Setter<kHours, true, 4>},    {"setMinutes", Setter<kMinutes, false, 3>},
        {"setUTCMinutes", Setter<kMinutes, true, 3>}, {"setSeconds", Setter<kSeconds, false, 2>},
        {"setUTCSeconds", Setter<kSeconds, true, 2>}, {"setMilliseconds", Setter<kMs, false, 1>},
        {"setUTCMilliseconds", Setter<kMs, true, 1>}, {"setTime", SetTime},
        {"toString", ToStringMethod},
    };
    for (const Entry& e : methods) vm.AddMethod(proto, e.name, e.fn);
    vm.AddMethod(constructor, "UTC", Utc);
    vm.global->Define("Date", Value(constructor));
    vm.protos["Date"] = proto;
}

}  // namespace flash::avm1
