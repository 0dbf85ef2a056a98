// The byte-code interpreter: one loop over an action list, with the With
// and Try blocks it enters kept on a small block stack. Malformed code
// (a length past the end, a jump outside the list) ends the list.
#include "flash/avm1/vm.h"

#include "flash/avm1/super_object.h"
#include "flash/avm1/variables.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

namespace flash::avm1 {

namespace {

// Bounds-checked reads inside one action's body.
class Body {
public:
    Body(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Ok() const { return ok_; }
    size_t Position() const { return pos_; }
    uint8_t U8() {
        if (pos_ + 1 > size_) return Fail();
        return data_[pos_++];
    }
    uint16_t U16() {
        if (pos_ + 2 > size_) return Fail();
        uint16_t v = static_cast<uint16_t>(data_[pos_] | data_[pos_ + 1] << 8);
        pos_ += 2;
        return v;
    }
    uint32_t U32() {
        if (pos_ + 4 > size_) return Fail();
        uint32_t v = static_cast<uint32_t>(data_[pos_]) | static_cast<uint32_t>(data_[pos_ + 1]) << 8 |
                     static_cast<uint32_t>(data_[pos_ + 2]) << 16 | static_cast<uint32_t>(data_[pos_ + 3]) << 24;
        pos_ += 4;
        return v;
    }
    std::string String() {
        size_t end = pos_;
        while (end < size_ && data_[end] != 0) ++end;
        std::string text(reinterpret_cast<const char*>(data_ + pos_), end - pos_);
        pos_ = end < size_ ? end + 1 : end;
        return text;
    }
    bool AtEnd() const { return pos_ >= size_; }

private:
    uint8_t Fail() {
        ok_ = false;
        pos_ = size_;
        return 0;
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

// GetProperty/SetProperty numbers.
const char* const kPropertyNames[] = {
    "_x",        "_y",           "_xscale",   "_yscale",   "_currentframe", "_totalframes", "_alpha", "_visible",
    "_width",    "_height",      "_rotation", "_target",   "_framesloaded", "_name",        "_droptarget",
    "_url",      "_highquality", "_focusrect", "_soundbuftime", "_quality", "_xmouse",      "_ymouse",
};

struct Block {
    enum Kind { kWith, kTry } kind;
    size_t start = 0, end = 0;           // With: the body; Try: try body
    // Try only.
    size_t catch_end = 0, finally_end = 0;
    bool has_catch = false;
    bool catch_in_register = false;
    uint8_t catch_register = 0;
    std::string catch_name;
    enum State { kInTry, kInCatch, kInFinally } state = kInTry;
    bool pending = false;                // a throw waits for the finally block to end
    bool pending_return = false;         // a return waits for the finally block to end
    Value pending_value;
};

// The characters of a string as code points, for comparisons: surrogate
// halves written one by one are joined into the character they make.
std::vector<uint32_t> CodePoints(const std::string& text) {
    std::u16string units = Utf16FromUtf8(text);
    std::vector<uint32_t> points;
    points.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        uint32_t c = units[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        }
        points.push_back(c);
    }
    return points;
}

std::mt19937& Random() {
    static std::mt19937 generator(12345);
    return generator;
}

}  // namespace

class Interpreter {
public:
    Interpreter(Vm& vm, const Code& code, Context& context)
        : vm_(vm), code_(code), c_(context), base_(vm.stack.size()) {}

    Value Run();

private:
    // ---- stack ----
    void Push(Value v) { vm_.stack.push_back(std::move(v)); }
    Value Pop() {
        if (vm_.stack.size() <= base_floor_) return Value();
        Value v = std::move(vm_.stack.back());
        vm_.stack.pop_back();
        return v;
    }
    Value& Top() {
        static Value undefined;
        if (vm_.stack.size() <= base_floor_) {
            undefined = Value();
            return undefined;
        }
        return vm_.stack.back();
    }
    // Comparisons give booleans in every version; SWF 4 prints them as 1 and 0.
    Value Bool(bool b) { return Value(b); }
    // The two operands of a binary action, converted in the order the
    // player converts them (some actions convert the second one first).
    template <class T, class F>
    std::pair<T, T> Operands(bool second_first, F convert) {
        Value vb = Pop(), va = Pop();
        if (second_first) {
            T b = convert(vb);
            T a = convert(va);
            return {a, b};
        }
        T a = convert(va);
        T b = convert(vb);
        return {a, b};
    }
    std::pair<double, double> Numbers(bool second_first) {
        return Operands<double>(second_first, [&](const Value& v) { return vm_.ToNumber(v); });
    }
    std::pair<std::string, std::string> Strings(bool second_first) {
        return Operands<std::string>(second_first, [&](const Value& v) { return vm_.ToString(v); });
    }

    bool Step(uint8_t code, Body body, size_t next);
    void Throw(const Value& value);
    void LeaveBlocks();
    void HandleThrow(const Value& value);
    void Return(const Value& value);

    Object* Target() { return c_.target; }
    // A target taken off the display list gives way to the code's own
    // clip, and that one to the root.
    void KeepTargetLive() {
        if (!c_.target || !c_.target->IsRemoved()) return;
        Object* live = c_.base_clip && !c_.base_clip->IsRemoved() ? c_.base_clip : nullptr;
        if (!live && vm_.host) live = vm_.host->RootClip();
        if (!live) return;
        c_.target = live;
        if (!c_.activation && !c_.scope.empty()) c_.scope.front() = live;
    }
    void DefineFunction(Body& body, bool function2, size_t next);
    void SetTarget(const std::string& path);
    void GotoFrameValue(const Value& frame, bool play, int bias);
    bool FrameCanBeLoaded(const Value& given);
    void SkipActions(int count);
    Value CallNamed(const std::string& name, Args args);
    // Whether object was put on the scope chain by a with block.
    bool InWithScope(Object* object) const;
    Args PopArgs();
    Value Add2(const Value& a, const Value& b);
    Value Less2(const Value& a, const Value& b);
    bool Equals2(const Value& a, const Value& b);
    bool StrictEquals(const Value& a, const Value& b);

    Vm& vm_;
    const Code& code_;
    Context& c_;
    size_t base_;
    size_t base_floor_ = 0;              // timeline code shares the stack below
    size_t pc_ = 0;
    std::vector<Block> blocks_;
    bool returned_ = false;
    Value return_value_;
};

// A frame number (an integer, or a string of one) counts from 1 and wraps
// as a 32-bit integer; frames past the last a movie can have are never
// loaded. Anything else names a label and counts as loaded.
bool Interpreter::FrameCanBeLoaded(const Value& given) {
    constexpr int32_t kLastFrameIndex = 16000;
    // An object names its frame by its text, as a label would.
    const Value frame = given.IsObject() ? Value(vm_.ToString(given)) : given;
    double number = vm_.ToNumber(frame);
    bool integral = std::isfinite(number) && std::floor(number) == number;
    if (frame.IsString()) {
        const std::string& text = frame.string;
        size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
        integral = integral && digits < text.size() &&
                   text.find_first_not_of("0123456789", digits) == std::string::npos;
    } else if (!frame.IsNumber()) {
        integral = false;
    }
    if (!integral) return true;
    int32_t index = static_cast<int32_t>(static_cast<uint32_t>(ToInt32(number)) - 1u);
    return index <= kLastFrameIndex;
}

// Steps over the next count actions without running them.
void Interpreter::SkipActions(int count) {
    for (; count > 0 && pc_ < code_.size; --count) {
        uint8_t action = code_.data[pc_];
        if (action == 0) break;
        size_t length = 0;
        if (action >= 0x80 && pc_ + 3 <= code_.size)
            length = static_cast<size_t>(code_.data[pc_ + 1] | code_.data[pc_ + 2] << 8) + 2;
        pc_ += 1 + length;
    }
}

Value Interpreter::Run() {
    // A function sees the stack from its own start; timeline code shares
    // the whole frame's stack.
    base_floor_ = c_.activation ? base_ : 0;
    const uint8_t* data = code_.data;
    size_t size = code_.size;
    while (!returned_) {
        try {
            LeaveBlocks();
        } catch (ScriptThrow& thrown) {
            // A finally block ended with a throw still pending.
            HandleThrow(thrown.value);
            continue;
        }
        if (returned_ || pc_ >= size) break;
        if (++vm_.steps > vm_.max_steps) throw ScriptAbort{"too long"};
        KeepTargetLive();
        uint8_t action = data[pc_];
        size_t length = 0;
        size_t body_start = pc_ + 1;
        if (action == 0) break;
        if (action >= 0x80) {
            if (pc_ + 3 > size) break;
            length = static_cast<size_t>(data[pc_ + 1] | data[pc_ + 2] << 8);
            body_start = pc_ + 3;
            if (body_start + length > size) break;
        }
        size_t next = body_start + length;
        Body body(data + body_start, length);
        pc_ = next;
        // Code whose clip was taken off the display list stops at its next
        // call (a method of nothing is no call), or its next Call action.
        bool call = action == 0x3D || action == 0x40 || action == 0x9E;
        if ((action == 0x52 || action == 0x53) && vm_.stack.size() >= base_floor_ + 2)
            call = vm_.stack[vm_.stack.size() - 2].IsObject();
        try {
            if (!Step(action, body, next)) break;
        } catch (ScriptThrow& thrown) {
            HandleThrow(thrown.value);
        }
        if (call && c_.base_clip && c_.base_clip->IsRemoved()) break;
    }
    // What a function leaves on the stack stays there for its caller.
    return return_value_;
}

void Interpreter::LeaveBlocks() {
    while (!blocks_.empty()) {
        Block& b = blocks_.back();
        if (b.kind == Block::kWith) {
            if (pc_ >= b.start && pc_ < b.end) return;
            if (!c_.scope.empty()) c_.scope.pop_back();
            blocks_.pop_back();
            continue;
        }
        // Try block.
        if (b.state == Block::kInTry) {
            if (pc_ >= b.start && pc_ < b.end) return;
            // The try body ended normally (or jumped out): skip the catch.
            b.state = Block::kInFinally;
            if (pc_ == b.end) {
                pc_ = b.catch_end;
                continue;
            }
        }
        if (b.state == Block::kInCatch) {
            if (pc_ >= b.end && pc_ < b.catch_end) return;
            b.state = Block::kInFinally;
            if (pc_ == b.catch_end) continue;
        }
        if (b.state == Block::kInFinally) {
            if (pc_ >= b.catch_end && pc_ < b.finally_end) return;
            bool pending = b.pending;
            bool pending_return = b.pending_return;
            Value value = b.pending_value;
            blocks_.pop_back();
            if (pending) throw ScriptThrow{value};
            if (pending_return) {
                Return(value);
                if (returned_) return;
            }
            continue;
        }
    }
}

// A return inside a try block runs the finally blocks around it first;
// the last of them to end returns the value.
void Interpreter::Return(const Value& value) {
    while (!blocks_.empty()) {
        Block& b = blocks_.back();
        if (b.kind == Block::kTry && b.state != Block::kInFinally && b.catch_end < b.finally_end) {
            b.state = Block::kInFinally;
            b.pending = false;
            b.pending_return = true;
            b.pending_value = value;
            pc_ = b.catch_end;
            return;
        }
        if (b.kind == Block::kWith && !c_.scope.empty()) c_.scope.pop_back();
        blocks_.pop_back();
    }
    return_value_ = value;
    returned_ = true;
}

void Interpreter::HandleThrow(const Value& value) {
    while (!blocks_.empty()) {
        Block& b = blocks_.back();
        if (b.kind == Block::kWith) {
            if (!c_.scope.empty()) c_.scope.pop_back();
            blocks_.pop_back();
            continue;
        }
        if (b.state == Block::kInTry && b.has_catch) {
            b.state = Block::kInCatch;
            if (b.catch_in_register) {
                if (b.catch_register < c_.registers.size()) c_.registers[b.catch_register] = value;
            } else {
                SetVariable(vm_, c_, b.catch_name, value);
            }
            pc_ = b.end;
            return;
        }
        if (b.state != Block::kInFinally && b.catch_end < b.finally_end) {
            b.state = Block::kInFinally;
            b.pending = true;
            b.pending_value = value;
            pc_ = b.catch_end;
            return;
        }
        blocks_.pop_back();
    }
    throw ScriptThrow{value};
}

Args Interpreter::PopArgs() {
    double count = vm_.ToNumber(Pop());
    Args args;
    if (!(count > 0)) return args;
    size_t n = static_cast<size_t>(std::min(count, 65535.0));
    size_t available = vm_.stack.size() > base_floor_ ? vm_.stack.size() - base_floor_ : 0;
    n = std::min(n, available + 0);
    args.reserve(n);
    for (size_t i = 0; i < n; ++i) args.push_back(Pop());
    return args;
}

void Interpreter::SetTarget(const std::string& path) {
    Object* found = path.empty() ? c_.base_clip : (vm_.host ? vm_.host->ResolveTarget(c_.base_clip, path) : nullptr);
    c_.target = found;
    // Timeline code looks its variables up on the target; on the root when
    // there is no such target.
    Object* scope = found ? found : (path.empty() || !vm_.host ? c_.base_clip : vm_.host->RootClip());
    if (!c_.activation && !c_.scope.empty()) c_.scope.front() = scope;
}

void Interpreter::GotoFrameValue(const Value& frame, bool play, int bias) {
    if (!vm_.host) return;
    Object* clip = Target();
    // An object, undefined, null or a boolean names its frame by its text;
    // a number with a fraction names a label.
    bool fraction = frame.IsNumber() && std::isfinite(frame.number) && std::floor(frame.number) != frame.number;
    if (fraction) {
        if (clip) vm_.host->GotoLabel(clip, vm_.ToString(frame), play);
        return;
    }
    bool named = frame.IsString() || frame.IsUndefined() || frame.IsNull() || frame.IsBoolean();
    if (named || (frame.IsObject() && !frame.object->HasTargetPath())) {
        std::string text = vm_.ToString(frame);
        size_t colon = text.find_last_of(':');
        if (colon != std::string::npos) {
            clip = vm_.host->ResolveTarget(clip, text.substr(0, colon));
            text = text.substr(colon + 1);
        }
        if (!clip) return;
        double number = StringToNumber(text, false);
        if (!std::isnan(number)) {
            int32_t index = FrameIndex(number + bias);
            if (index >= 0) vm_.host->GotoFrame(clip, index, play);
        } else if (bias == 0) {
            vm_.host->GotoLabel(clip, text, play);
        } else {
            // A scene's bias counts from the label's frame too.
            int labelled = vm_.host->FindLabel(clip, text);
            if (labelled >= 0) vm_.host->GotoFrame(clip, labelled + bias, play);
        }
        return;
    }
    if (!clip) return;
    int32_t index = FrameIndex(vm_.ToNumber(frame) + bias);
    if (index >= 0) vm_.host->GotoFrame(clip, index, play);
}

Value Interpreter::CallNamed(const std::string& name, Args args) {
    Value function = GetVariable(vm_, c_, name);
    // super() called by name runs the constructor above this one.
    if (function.IsObject() && dynamic_cast<SuperObject*>(function.object))
        return CallMethodValue(vm_, c_, function, Value(), std::move(args));
    // A function found in a function's locals, a with object or at the end
    // of a path (a clip too) is called on that object; one found on a
    // timeline or _global on the target.
    Value self = c_.target ? Value(c_.target) : Value();
    Object* holder = VariableHolder(vm_, c_, name);
    bool path = name.find_first_of(":/.") != std::string::npos;
    if (holder && holder != vm_.global && (path || !holder->HasTargetPath() || InWithScope(holder)))
        self = Value(holder);
    if (!function.IsObject() || !function.object->AsFunction()) return Value();
    vm_.leftovers_to_caller = true;
    return vm_.Call(function, self, std::move(args));
}

bool Interpreter::InWithScope(Object* object) const {
    size_t with_blocks = 0;
    for (const Block& b : blocks_)
        if (b.kind == Block::kWith) ++with_blocks;
    size_t size = c_.scope.size();
    for (size_t i = size - std::min(with_blocks, size); i < size; ++i)
        if (c_.scope[i] == object) return true;
    return false;
}

void Interpreter::DefineFunction(Body& body, bool function2, size_t next) {
    Function* f = vm_.heap.Make<Function>(vm_.function_proto);
    f->name = body.String();
    uint16_t count = body.U16();
    if (function2) {
        f->function2 = true;
        f->register_count = body.U8();
        f->flags = body.U16();
        for (uint16_t i = 0; i < count && body.Ok(); ++i) {
            Parameter p;
            p.reg = body.U8();
            p.name = body.String();
            f->params.push_back(std::move(p));
        }
    } else {
        for (uint16_t i = 0; i < count && body.Ok(); ++i) f->params.push_back({body.String(), 0});
    }
    size_t code_size = body.U16();
    if (!body.Ok()) return;
    if (next + code_size > code_.size) code_size = code_.size - next;
    f->code = code_;
    f->code.data = code_.data + next;
    f->code.size = code_size;
    // Functions came with SWF 5: one in an older movie runs by SWF 5 rules.
    f->code.version = std::max(code_.version, 5);
    f->scope = c_.scope;
    f->constants = c_.constants;
    f->base_clip = c_.base_clip;
    Object* prototype = vm_.MakeObject();
    prototype->Define("constructor", Value(f), kDontEnum);
    f->Define("prototype", Value(prototype), kDontEnum | kDontDelete);
    f->Define("__proto__", Value(vm_.function_proto), kDontEnum);
    f->Define("constructor", vm_.Get(vm_.global, "Function"), kDontEnum);
    pc_ = next + code_size;
    if (f->name.empty()) {
        Push(Value(f));
    } else if (c_.activation) {
        vm_.Set(c_.activation, f->name, Value(f));
    } else if (c_.target) {
        vm_.Set(c_.target, f->name, Value(f));
    }
}

Value Interpreter::Add2(const Value& a, const Value& b) {
    // The second operand is converted first. Dates join as their text,
    // other objects as their valueOf; an object whose valueOf answers an
    // object is converted again as itself where text or a number is wanted.
    auto primitive = [&](const Value& v) {
        bool date = v.IsObject() && v.object->native_class && std::string(v.object->native_class) == "Date";
        Value p = vm_.ToPrimitive(v, date);
        return p.IsObject() ? v : p;
    };
    Value pb = primitive(b);
    Value pa = primitive(a);
    if (pa.IsString() || pb.IsString()) {
        std::string text = vm_.ToString(pa);
        return Value(text + vm_.ToString(pb));
    }
    double x = vm_.ToNumber(pa);
    return Value(x + vm_.ToNumber(pb));
}

Value Interpreter::Less2(const Value& a, const Value& b) {
    // An operand whose valueOf answers an object makes the comparison
    // false at once (the second is then not converted).
    // Display objects have no valueOf and compare as NaN.
    auto answered_object = [](const Value& v) { return v.IsObject() && !v.object->HasTargetPath(); };
    Value pa = vm_.ToPrimitive(a);
    if (answered_object(pa)) return Value(false);
    Value pb = vm_.ToPrimitive(b);
    if (answered_object(pb)) return Value(false);
    if (pa.IsString() && pb.IsString()) return Value(CodePoints(pa.string) < CodePoints(pb.string));
    double x = vm_.ToNumber(pa), y = vm_.ToNumber(pb);
    if (std::isnan(x) || std::isnan(y)) return Value();
    return Value(x < y);
}

bool Interpreter::StrictEquals(const Value& a, const Value& b) {
    if (a.type != b.type) return false;
    switch (a.type) {
    case Type::Undefined:
    case Type::Null:
        return true;
    case Type::Boolean:
        return a.boolean == b.boolean;
    case Type::Number:
        // NaN equals NaN here.
        return a.number == b.number || (std::isnan(a.number) && std::isnan(b.number));
    case Type::String:
        return a.string == b.string;
    case Type::Object:
        return a.object == b.object;
    }
    return false;
}

bool Interpreter::Equals2(const Value& a, const Value& b) {
    if (a.type == b.type) return StrictEquals(a, b);
    if (a.IsNullish() && b.IsNullish()) return true;
    // An object meets a primitive (undefined and null too) as its valueOf.
    if (a.IsObject() != b.IsObject()) {
        const Value& object = a.IsObject() ? a : b;
        const Value& other = a.IsObject() ? b : a;
        Value primitive = vm_.ToPrimitive(object);
        if (primitive.IsObject()) return false;
        return Equals2(primitive, other);
    }
    if (a.IsNullish() || b.IsNullish()) return false;
    if (a.IsNumber() && b.IsString()) return a.number == vm_.ToNumber(b);
    if (a.IsString() && b.IsNumber()) return vm_.ToNumber(a) == b.number;
    if (a.IsBoolean()) return Equals2(Value(a.boolean ? 1.0 : 0.0), b);
    if (b.IsBoolean()) return Equals2(a, Value(b.boolean ? 1.0 : 0.0));
    if (a.IsObject() && !b.IsObject()) {
        Value pa = vm_.ToPrimitive(a);
        if (pa.IsObject()) return false;
        return Equals2(pa, b);
    }
    if (b.IsObject() && !a.IsObject()) {
        Value pb = vm_.ToPrimitive(b);
        if (pb.IsObject()) return false;
        return Equals2(a, pb);
    }
    return false;
}

bool Interpreter::Step(uint8_t action, Body body, size_t next) {
    DisplayHost* host = vm_.host;
    switch (action) {
    // ---- SWF 3 timeline actions ----
    case 0x04:  // NextFrame
        if (host && Target()) host->GotoFrame(Target(), host->CurrentFrame(Target()) + 1, false);
        break;
    case 0x05:  // PreviousFrame
        if (host && Target()) host->GotoFrame(Target(), host->CurrentFrame(Target()) - 1, false);
        break;
    case 0x06:  // Play
        if (host && Target()) host->SetPlaying(Target(), true);
        break;
    case 0x07:  // Stop
        if (host && Target()) host->SetPlaying(Target(), false);
        break;
    case 0x08:  // ToggleQuality
        if (host) host->ToggleQuality();
        break;
    case 0x09:  // StopSounds
        if (host) host->StopSounds();
        break;
    case 0x81: {  // GotoFrame
        int frame = body.U16();
        if (!host || !Target() || !body.Ok()) break;
        // A frame past the end only stops the clip.
        if (frame < host->TotalFrames(Target())) host->GotoFrame(Target(), frame, false);
        else host->SetPlaying(Target(), false);
        break;
    }
    case 0x83: {  // GetURL
        std::string url = body.String();
        std::string target = body.String();
        if (host) host->GetUrl(c_.target, url, target, 0, false, false);
        break;
    }
    case 0x8A: {  // WaitForFrame: every frame is loaded
        body.U16();
        body.U8();
        break;
    }
    case 0x8B:  // SetTarget
        SetTarget(body.String());
        break;
    case 0x8C: {  // GoToLabel
        std::string label = body.String();
        if (host && Target()) host->GotoLabel(Target(), label, false);
        break;
    }

    // ---- SWF 4 arithmetic, comparison, strings ----
    case 0x0A: {  // Add
        auto [a, b] = Numbers(false);
        Push(Value(a + b));
        break;
    }
    case 0x0B: {  // Subtract
        auto [a, b] = Numbers(true);
        Push(Value(a - b));
        break;
    }
    case 0x0C: {  // Multiply
        auto [a, b] = Numbers(false);
        Push(Value(a * b));
        break;
    }
    case 0x0D: {  // Divide
        auto [a, b] = Numbers(true);
        if (b == 0 && c_.version < 5) Push(Value("#ERROR#"));
        else Push(Value(a / b));
        break;
    }
    case 0x0E: {  // Equals (numbers)
        auto [a, b] = Numbers(true);
        Push(Bool(a == b));
        break;
    }
    case 0x0F: {  // Less (numbers)
        auto [a, b] = Numbers(false);
        Push(Bool(a < b));
        break;
    }
    case 0x10: {  // And
        Value vb = Pop(), va = Pop();
        bool a = vm_.ToBoolean(va), b = vm_.ToBoolean(vb);
        Push(Bool(a && b));
        break;
    }
    case 0x11: {  // Or
        Value vb = Pop(), va = Pop();
        bool a = vm_.ToBoolean(va), b = vm_.ToBoolean(vb);
        Push(Bool(a || b));
        break;
    }
    case 0x12:  // Not
        Push(Bool(!vm_.ToBoolean(Pop())));
        break;
    case 0x13: {  // StringEquals
        auto [a, b] = Strings(true);
        Push(Bool(a == b));
        break;
    }
    case 0x14: {  // StringLength: bytes before SWF 6, characters after
        std::string text = vm_.ToString(Pop());
        size_t n = c_.version >= 6 ? Utf16FromUtf8(text).size() : text.size();
        Push(Value(static_cast<double>(n)));
        break;
    }
    case 0x31:  // MBStringLength (characters)
        Push(Value(static_cast<double>(Utf16FromUtf8(vm_.ToString(Pop())).size())));
        break;
    case 0x15:    // StringExtract
    case 0x35: {  // MBStringExtract
        // Index and count are 32-bit integers.
        int64_t count = ToInt32(vm_.ToNumber(Pop()));
        int64_t index = ToInt32(vm_.ToNumber(Pop()));
        std::u16string text = Utf16FromUtf8(vm_.ToString(Pop()));
        int64_t start = index - 1;
        if (start < 0) start = 0;
        int64_t n = count < 0 ? static_cast<int64_t>(text.size()) : count;
        if (start >= static_cast<int64_t>(text.size())) {
            Push(Value(""));
        } else {
            Push(Value(Utf8FromUtf16(text.substr(static_cast<size_t>(start), static_cast<size_t>(n)))));
        }
        break;
    }
    case 0x21: {  // StringAdd
        auto [a, b] = Strings(true);
        Push(Value(a + b));
        break;
    }
    case 0x29: {  // StringLess
        auto [a, b] = Strings(true);
        Push(Bool(a < b));
        break;
    }
    case 0x68: {  // StringGreater
        auto [a, b] = Strings(true);
        Push(Bool(a > b));
        break;
    }
    case 0x18: {  // ToInteger
        double n = vm_.ToNumber(Pop());
        Push(Value(std::isnan(n) ? 0.0 : std::trunc(n)));
        break;
    }
    case 0x32:    // CharToAscii
    case 0x36: {  // MBCharToAscii
        std::u16string text = Utf16FromUtf8(vm_.ToString(Pop()));
        // A character beyond 16 bits reads as the replacement character.
        bool beyond = !text.empty() && text[0] >= 0xD800 && text[0] < 0xDC00;
        if (text.empty()) Push(Value(c_.version < 5 ? 0.0 : NAN));
        else Push(Value(beyond ? 65533.0 : static_cast<double>(text[0])));
        break;
    }
    case 0x33:    // AsciiToChar
    case 0x37: {  // MBAsciiToChar
        uint32_t code = static_cast<uint32_t>(ToInt32(vm_.ToNumber(Pop()))) & 0xFFFF;
        if (code == 0) Push(Value(""));
        else Push(Value(Utf8FromUtf16(std::u16string(1, static_cast<char16_t>(code)))));
        break;
    }

    // ---- stack and flow ----
    case 0x96: {  // Push
        while (!body.AtEnd() && body.Ok()) {
            uint8_t type = body.U8();
            switch (type) {
            case 0: Push(Value(body.String())); break;
            case 1: {
                uint32_t bits = body.U32();
                float f;
                std::memcpy(&f, &bits, 4);
                Push(Value(static_cast<double>(f)));
                break;
            }
            case 2: Push(Value::Null()); break;
            case 3: Push(Value()); break;
            case 4: {
                uint8_t reg = body.U8();
                Push(reg < c_.registers.size() ? c_.registers[reg] : Value());
                break;
            }
            case 5: Push(Bool(body.U8() != 0)); break;
            case 6: {
                // High word first, each word little-endian.
                uint64_t high = body.U32(), low = body.U32();
                uint64_t bits = high << 32 | low;
                double d;
                std::memcpy(&d, &bits, 8);
                Push(Value(d));
                break;
            }
            case 7: Push(Value(static_cast<double>(static_cast<int32_t>(body.U32())))); break;
            case 8: {
                uint8_t i = body.U8();
                Push(i < c_.constants.size() ? Value(c_.constants[i]) : Value());
                break;
            }
            case 9: {
                uint16_t i = body.U16();
                Push(i < c_.constants.size() ? Value(c_.constants[i]) : Value());
                break;
            }
            default:
                return false;
            }
        }
        break;
    }
    case 0x17:  // Pop
        Pop();
        break;
    case 0x4C:  // PushDuplicate
        Push(Value(Top()));
        break;
    case 0x4D: {  // StackSwap
        Value a = Pop(), b = Pop();
        Push(a);
        Push(b);
        break;
    }
    case 0x99: {  // Jump
        int16_t offset = static_cast<int16_t>(body.U16());
        if (!body.Ok()) return false;
        int64_t to = static_cast<int64_t>(next) + offset;
        if (to < 0 || to > static_cast<int64_t>(code_.size)) return false;
        pc_ = static_cast<size_t>(to);
        break;
    }
    case 0x9D: {  // If
        int16_t offset = static_cast<int16_t>(body.U16());
        if (!body.Ok()) return false;
        if (vm_.ToBoolean(Pop())) {
            int64_t to = static_cast<int64_t>(next) + offset;
            if (to < 0 || to > static_cast<int64_t>(code_.size)) return false;
            pc_ = static_cast<size_t>(to);
        }
        break;
    }
    case 0x9E: {  // Call (a frame's actions)
        Value frame = Pop();
        // With a target that does not exist, the frame is the timeline's own.
        Object* clip = Target() ? Target() : c_.base_clip;
        if (!host || !clip) break;
        std::string text = vm_.ToString(frame);
        size_t colon = text.find_last_of(':');
        if (colon != std::string::npos) {
            clip = host->ResolveTarget(clip, text.substr(0, colon));
            text = text.substr(colon + 1);
        }
        if (!clip) break;
        double number = StringToNumber(text, false);
        int index = !std::isnan(number) ? FrameIndex(number) : host->FindLabel(clip, text);
        if (index >= 0) host->CallFrame(clip, index);
        break;
    }

    // ---- variables and properties ----
    case 0x1C: {  // GetVariable
        std::string name = vm_.ToString(Pop());
        Push(GetVariable(vm_, c_, name));
        break;
    }
    case 0x1D: {  // SetVariable
        Value value = Pop();
        std::string name = vm_.ToString(Pop());
        SetVariable(vm_, c_, name, value);
        break;
    }
    case 0x9A: {  // GetURL2
        uint8_t flags = body.U8();
        std::string target = vm_.ToString(Pop());
        std::string url = vm_.ToString(Pop());
        if (host) host->GetUrl(c_.target, url, target, flags & 3, (flags & 0x40) != 0, (flags & 0x80) != 0);
        break;
    }
    case 0x9F: {  // GotoFrame2
        uint8_t flags = body.U8();
        int bias = (flags & 2) ? body.U16() : 0;
        GotoFrameValue(Pop(), (flags & 1) != 0, bias);
        break;
    }
    case 0x20: {  // SetTarget2
        Value target = Pop();
        if (target.IsObject() && target.object->AsClip()) {
            c_.target = target.object;
            if (!c_.activation && !c_.scope.empty()) c_.scope.front() = target.object;
        } else {
            SetTarget(vm_.ToString(target));
        }
        break;
    }
    case 0x22: {  // GetProperty
        double index = vm_.ToNumber(Pop());
        Value target = Pop();
        Object* clip = ResolveClipValue(vm_, c_, target);
        int i = std::isnan(index) ? -1 : static_cast<int>(index);
        if (!clip || i < 0 || i >= static_cast<int>(std::size(kPropertyNames))) {
            Push(Value());
            break;
        }
        Value built_in;
        Push(clip->GetBuiltIn(vm_, kPropertyNames[i], &built_in) ? built_in : vm_.Get(clip, kPropertyNames[i]));
        break;
    }
    case 0x23: {  // SetProperty
        Value value = Pop();
        double index = vm_.ToNumber(Pop());
        Value target = Pop();
        Object* clip = ResolveClipValue(vm_, c_, target);
        int i = std::isnan(index) ? -1 : static_cast<int>(index);
        if (i < 0 || i >= static_cast<int>(std::size(kPropertyNames))) break;
        // The value is converted to the property's type whether or not the
        // target exists: text for _name and _quality, nothing for the
        // paths, a number for the rest.
        Value converted = value;
        if (i == 13 || i == 19) converted = Value(vm_.ToString(value));
        else if (i != 11 && i != 14 && i != 15) converted = Value(vm_.ToNumber(value));
        if (clip) vm_.Set(clip, kPropertyNames[i], converted);
        break;
    }
    case 0x24: {  // CloneSprite
        double depth = vm_.ToNumber(Pop());
        std::string name = vm_.ToString(Pop());
        Value source = Pop();
        Object* clip = ResolveClipValue(vm_, c_, source);
        int list_depth = std::isnan(depth) ? 0 : static_cast<int>(std::clamp(depth, -2147483648.0, 2147483647.0));
        if (host && clip) host->CloneClip(clip, name, list_depth);
        break;
    }
    case 0x25: {  // RemoveSprite
        Value target = Pop();
        // A text field given as itself is removed too.
        bool field = target.IsObject() && target.object->HasTargetPath() && !target.object->AsClip();
        Object* clip = field ? target.object : ResolveClipValue(vm_, c_, target);
        if (host && clip) host->RemoveClip(clip);
        break;
    }
    case 0x27: {  // StartDrag
        Object* clip = ResolveClipValue(vm_, c_, Pop());
        // The flags are read as numbers; only 1 (true) asks for the
        // rectangle.
        double lock_number = vm_.ToNumber(Pop());
        bool lock = lock_number != 0 && !std::isnan(lock_number);
        bool constrain = vm_.ToNumber(Pop()) == 1;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        if (constrain) {
            y2 = vm_.ToNumber(Pop());
            x2 = vm_.ToNumber(Pop());
            y1 = vm_.ToNumber(Pop());
            x1 = vm_.ToNumber(Pop());
        }
        if (host && clip) host->StartDrag(clip, lock, constrain, x1, y1, x2, y2);
        break;
    }
    case 0x28:  // EndDrag
        if (host) host->StopDrag();
        break;
    case 0x8D: {  // WaitForFrame2: every frame is loaded, up to the last frame a movie can have
        int count = body.U8();
        if (!FrameCanBeLoaded(Pop())) SkipActions(count);
        break;
    }
    case 0x26: {  // Trace
        Value v = Pop();
        std::string text = v.IsUndefined() ? "undefined" : vm_.ToString(v);
        // A carriage return ends a line of the output as a line feed does.
        for (char& c : text)
            if (c == '\r') c = '\n';
        // Movies before SWF 6 write their text in Latin-1; the output is UTF-8.
        if (c_.version < 6) {
            std::u16string latin1;
            for (char c : text) latin1.push_back(static_cast<unsigned char>(c));
            text = Utf8FromUtf16(latin1);
        }
        vm_.Trace(text);
        break;
    }
    case 0x34:  // GetTime
        Push(Value(std::floor(vm_.clock_ms)));
        break;
    case 0x30: {  // RandomNumber
        double max = vm_.ToNumber(Pop());
        int32_t n = std::isnan(max) ? 0 : ToInt32(max);
        if (n <= 0) Push(Value(0));
        else Push(Value(static_cast<double>(Random()() % static_cast<uint32_t>(n))));
        break;
    }

    // ---- SWF 5 ----
    case 0x88: {  // ConstantPool
        uint16_t count = body.U16();
        c_.constants.clear();
        for (uint16_t i = 0; i < count && body.Ok() && !body.AtEnd(); ++i) c_.constants.push_back(body.String());
        break;
    }
    case 0x9B:  // DefineFunction
        DefineFunction(body, false, next);
        break;
    case 0x8E:  // DefineFunction2
        DefineFunction(body, true, next);
        break;
    case 0x3C: {  // DefineLocal
        Value value = Pop();
        std::string name = vm_.ToString(Pop());
        DefineLocal(vm_, c_, name, value, true);
        break;
    }
    case 0x41: {  // DefineLocal2
        std::string name = vm_.ToString(Pop());
        DefineLocal(vm_, c_, name, Value(), false);
        break;
    }
    case 0x3D: {  // CallFunction
        std::string name = vm_.ToString(Pop());
        Args args = PopArgs();
        Push(CallNamed(name, std::move(args)));
        vm_.leftovers_to_caller = false;
        break;
    }
    case 0x52: {  // CallMethod
        Value name = Pop();
        Value object = Pop();
        Args args = PopArgs();
        Push(CallMethodValue(vm_, c_, object, name, std::move(args)));
        vm_.leftovers_to_caller = false;
        break;
    }
    case 0x40: {  // NewObject
        std::string name = vm_.ToString(Pop());
        Args args = PopArgs();
        Value constructor = GetVariable(vm_, c_, name);
        Push(ConstructValue(vm_, constructor, std::move(args)));
        break;
    }
    case 0x53: {  // NewMethod
        Value name = Pop();
        Value object = Pop();
        Args args = PopArgs();
        Value constructor = name.IsUndefined() || (name.IsString() && name.string.empty())
                                ? object
                                : vm_.GetMember(object, vm_.ToString(name));
        Push(ConstructValue(vm_, constructor, std::move(args)));
        break;
    }
    case 0x3A: {  // Delete
        std::string name = vm_.ToString(Pop());
        Value object = Pop();
        Push(Value(object.IsObject() && vm_.Delete(object.object, name)));
        break;
    }
    case 0x3B: {  // Delete2
        std::string name = vm_.ToString(Pop());
        Push(Value(DeleteVariable(vm_, c_, name)));
        break;
    }
    case 0x46:    // Enumerate
    case 0x55: {  // Enumerate2
        Value value = Pop();
        Object* object = nullptr;
        if (action == 0x46) {
            Value named = GetVariable(vm_, c_, vm_.ToString(value));
            object = named.IsObject() ? named.object : nullptr;
        } else {
            object = value.IsObject() ? value.object : nullptr;
        }
        // undefined ends the names; the loop pops them off the stack, so the
        // first name goes on last.
        Push(Value());
        if (object) {
            std::vector<std::string> keys = vm_.EnumerableKeys(object);
            for (auto it = keys.rbegin(); it != keys.rend(); ++it) Push(Value(std::move(*it)));
        }
        break;
    }
    case 0x49: {  // Equals2
        Value b = Pop(), a = Pop();
        Push(Value(Equals2(a, b)));
        break;
    }
    case 0x66: {  // StrictEquals
        Value b = Pop(), a = Pop();
        Push(Value(StrictEquals(a, b)));
        break;
    }
    case 0x4E: {  // GetMember
        Value name = Pop();
        Value object = Pop();
        Push(GetMemberValue(vm_, object, name));
        break;
    }
    case 0x4F: {  // SetMember
        Value value = Pop();
        Value name = Pop();
        Value object = LiveValue(vm_, Pop());
        if (object.IsObject()) vm_.Set(object.object, vm_.ToString(name), value);
        break;
    }
    case 0x42: {  // InitArray
        Args elements = PopArgs();
        Push(Value(vm_.MakeArray(std::move(elements))));
        break;
    }
    case 0x43: {  // InitObject
        double count = vm_.ToNumber(Pop());
        Object* object = vm_.MakeObject();
        int n = std::isnan(count) || count < 0 ? 0 : static_cast<int>(std::min(count, 65535.0));
        for (int i = 0; i < n; ++i) {
            Value value = Pop();
            std::string name = vm_.ToString(Pop());
            vm_.Set(object, name, value);
        }
        Push(Value(object));
        break;
    }
    case 0x45: {  // TargetPath
        Value value = Pop();
        if (value.IsObject() && value.object->HasTargetPath() && host) Push(Value(host->DottedPath(value.object)));
        else Push(Value());
        break;
    }
    case 0x94: {  // With
        size_t size = body.U16();
        Value value = Pop();
        if (!body.Ok()) return false;
        Object* object = vm_.ToObject(value);
        if (!object) {
            pc_ = next + size;  // with(undefined) skips its body
            break;
        }
        if (blocks_.size() >= 64) return false;
        Block block{Block::kWith};
        block.start = next;
        block.end = std::min(next + size, code_.size);
        c_.scope.push_back(object);
        blocks_.push_back(block);
        break;
    }
    case 0x4A:  // ToNumber
        Push(Value(vm_.ToNumber(Pop())));
        break;
    case 0x4B:  // ToString
        Push(Value(vm_.ToString(Pop())));
        break;
    case 0x44:  // TypeOf
        Push(Value(vm_.TypeOf(Pop())));
        break;
    case 0x47: {  // Add2
        Value b = Pop(), a = Pop();
        Push(Add2(a, b));
        break;
    }
    case 0x48: {  // Less2
        Value b = Pop(), a = Pop();
        Push(Less2(a, b));
        break;
    }
    case 0x67: {  // Greater
        Value b = Pop(), a = Pop();
        Push(Less2(b, a));
        break;
    }
    case 0x3F: {  // Modulo
        Value vb = Pop(), va = Pop();
        double a = vm_.ToNumber(va), b = vm_.ToNumber(vb);
        Push(Value(std::fmod(a, b)));
        break;
    }
    case 0x60: {  // BitAnd
        Value vb = Pop(), va = Pop();
        int32_t a = vm_.ToInt(va), b = vm_.ToInt(vb);
        Push(Value(static_cast<double>(a & b)));
        break;
    }
    case 0x61: {  // BitOr
        Value vb = Pop(), va = Pop();
        int32_t a = vm_.ToInt(va), b = vm_.ToInt(vb);
        Push(Value(static_cast<double>(a | b)));
        break;
    }
    case 0x62: {  // BitXor
        Value vb = Pop(), va = Pop();
        int32_t a = vm_.ToInt(va), b = vm_.ToInt(vb);
        Push(Value(static_cast<double>(a ^ b)));
        break;
    }
    case 0x63: {  // BitLShift
        Value vb = Pop(), va = Pop();
        int32_t a = vm_.ToInt(va), b = vm_.ToInt(vb);
        Push(Value(static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(a) << (b & 31)))));
        break;
    }
    case 0x64: {  // BitRShift
        Value vb = Pop(), va = Pop();
        int32_t a = vm_.ToInt(va), b = vm_.ToInt(vb);
        Push(Value(static_cast<double>(a >> (b & 31))));
        break;
    }
    case 0x65: {  // BitURShift
        Value vb = Pop(), va = Pop();
        int32_t a = vm_.ToInt(va), b = vm_.ToInt(vb);
        Push(Value(static_cast<double>(static_cast<uint32_t>(a) >> (b & 31))));
        break;
    }
    case 0x50:  // Increment
        Push(Value(vm_.ToNumber(Pop()) + 1));
        break;
    case 0x51:  // Decrement
        Push(Value(vm_.ToNumber(Pop()) - 1));
        break;
    case 0x3E:  // Return
        Return(Pop());
        break;
    case 0x87: {  // StoreRegister
        uint8_t reg = body.U8();
        if (body.Ok() && reg < c_.registers.size()) c_.registers[reg] = Top();
        break;
    }

    // ---- SWF 6 and 7 ----
    case 0x54: {  // InstanceOf
        Value constructor = Pop();
        Value object = Pop();
        bool result = false;
        if (constructor.IsObject()) {
            Object* o = object.IsObject() ? object.object : nullptr;
            if (!o && !object.IsNullish()) o = vm_.ToObject(object);
            result = o && vm_.InstanceOf(o, constructor.object);
        }
        Push(Value(result));
        break;
    }
    case 0x69: {  // Extends
        Value super_class = Pop();
        Value sub_class = Pop();
        if (!super_class.IsObject() || !sub_class.IsObject()) break;
        Value super_proto = vm_.Get(super_class.object, "prototype");
        Object* prototype = vm_.heap.Make<Object>(super_proto.IsObject() ? super_proto.object : nullptr);
        prototype->Define("__proto__", super_proto, kDontEnum);
        prototype->Define("__constructor__", super_class, kDontEnum);
        vm_.Set(sub_class.object, "prototype", Value(prototype));
        break;
    }
    case 0x2B: {  // CastOp
        Value object = Pop();
        Value constructor = Pop();
        bool ok = object.IsObject() && constructor.IsObject() && vm_.InstanceOf(object.object, constructor.object);
        Push(ok ? object : Value::Null());
        break;
    }
    case 0x2C: {  // ImplementsOp
        Value constructor = Pop();
        Args interfaces = PopArgs();
        if (!constructor.IsObject()) break;
        Value prototype = vm_.Get(constructor.object, "prototype");
        if (!prototype.IsObject()) break;
        std::vector<Value> list;
        for (Value& i : interfaces)
            if (i.IsObject()) list.push_back(i);
        prototype.object->Define("__interfaces__", Value(vm_.MakeArray(std::move(list))), kDontEnum);
        break;
    }
    case 0x8F: {  // Try
        uint8_t flags = body.U8();
        size_t try_size = body.U16(), catch_size = body.U16(), finally_size = body.U16();
        Block block{Block::kTry};
        block.has_catch = flags & 1;
        if (flags & 4) {
            block.catch_in_register = true;
            block.catch_register = body.U8();
        } else {
            block.catch_name = body.String();
        }
        if (!body.Ok()) return false;
        if (!(flags & 2)) finally_size = 0;
        block.start = next;
        block.end = std::min(next + try_size, code_.size);
        block.catch_end = std::min(block.end + catch_size, code_.size);
        block.finally_end = std::min(block.catch_end + finally_size, code_.size);
        if (blocks_.size() >= 64) return false;
        blocks_.push_back(block);
        break;
    }
    case 0x2A:  // Throw
        throw ScriptThrow{Pop()};

    default:
        // Unknown actions are skipped by their length.
        break;
    }
    return body.Ok() || action == 0x96;
}

Value Vm::Execute(const Code& code, Context& context) {
    int saved = version_;
    version_ = code.version;
    struct Restore {
        int& version;
        int saved;
        Context*& running;
        Context* saved_running;
        ~Restore() {
            version = saved;
            running = saved_running;
        }
    } restore{version_, saved, running, running};
    running = &context;
    Interpreter interpreter(*this, code, context);
    return interpreter.Run();
}

namespace {

// Names the script function that runs (arguments.caller reads it) for the
// lifetime of a call, and names the caller's again when the call ends.
class RunningFunction {
public:
    RunningFunction(Function*& running, Function* now) : running_(running), caller_(running) { running = now; }
    ~RunningFunction() { running_ = caller_; }
    RunningFunction(const RunningFunction&) = delete;
    RunningFunction& operator=(const RunningFunction&) = delete;

private:
    Function*& running_;
    Function* caller_;
};

}  // namespace

void Vm::RunActions(const Code& code, Object* clip, Object* self) {
    if (!code.data || code.size == 0) return;
    bool outermost = call_depth == 0;
    if (outermost) {
        steps = 0;
        aborted = false;
    }
    RunningFunction running(running_function, nullptr);
    Context context;
    context.scope.push_back(clip);
    context.base_clip = clip;
    context.target = clip;
    context.self = self ? Value(self) : Value(clip);
    context.version = code.version;
    context.registers.resize(4);
    context.constants = action_constants;
    struct KeepConstants {
        Vm& vm;
        Context& context;
        ~KeepConstants() { vm.action_constants = std::move(context.constants); }
    } keep{*this, context};
    try {
        Execute(code, context);
    } catch (ScriptThrow& thrown) {
        Warn("Warning: Uncaught exception, " + ToString(thrown.value));
    } catch (ScriptAbort&) {
        if (!outermost) throw;
        aborted = true;
    }
}

Value Vm::CallScript(Function* f, const Value& self, Args& args, Object* home, bool keep_leftovers) {
    size_t stack_base = stack.size();
    Context context;
    context.scope = f->scope;
    Object* activation = heap.Make<Object>(nullptr);
    context.scope.push_back(activation);
    context.activation = activation;
    // A function of a clip taken off the display list runs on the clip now
    // at that clip's path, when there is one.
    Object* base = f->base_clip;
    if (base && base->IsRemoved() && host) {
        Object* live = host->Relocate(base);
        base = live ? live : base;
    }
    context.base_clip = base;
    context.target = base;
    // Functions of SWF 5 and earlier act on their caller's target when
    // that caller is SWF 5 code too; newer code calls them on their own clip.
    if (f->code.version <= 5 && running && running->version <= 5 && running->target)
        context.target = running->target;
    context.self = self;
    context.callee = f;
    context.constants = f->constants;
    context.version = f->code.version;
    // Home: the prototype the method was found on; super is one step above.
    if (!home && self.IsObject()) home = self.object->proto;
    context.super_object = MakeSuper(*this, self, home);

    Object* arguments = MakeArray(args);
    arguments->Define("callee", Value(f), kDontEnum);
    arguments->Define("caller", running_function ? Value(running_function) : Value::Null(), kDontEnum);
    context.arguments = arguments;

    if (f->function2) {
        context.registers.resize(std::max<size_t>(f->register_count, 1));
        // Preloaded values take registers from 1 in this order. this or
        // super also suppressed keep their register empty; a clip that does not
        // exist (the root's _parent) takes none.
        size_t next = 1;
        auto preload = [&](uint16_t flag, uint16_t suppress, const Value& value, bool clip) {
            if (!(f->flags & flag) || next >= context.registers.size()) return;
            if (f->flags & suppress) {
                ++next;
                return;
            }
            if (clip && value.IsUndefined()) return;
            context.registers[next++] = value;
        };
        preload(kPreloadThis, kSuppressThis, self, false);
        preload(kPreloadArguments, 0, Value(arguments), false);   // preloading wins here
        preload(kPreloadSuper, kSuppressSuper, Value(context.super_object), false);
        preload(kPreloadRoot, 0, host ? Value(host->RootOf(base)) : Value(), true);
        Object* parent = base && !base->IsRemoved() && host ? host->ResolveTarget(base, "..") : nullptr;
        preload(kPreloadParent, 0, parent ? Value(parent) : Value(), true);
        preload(kPreloadGlobal, 0, Value(global), false);
        if (!(f->flags & (kPreloadArguments | kSuppressArguments)))
            activation->Define("arguments", Value(arguments), 0);
        if (!(f->flags & (kPreloadThis | kSuppressThis))) activation->Define("this", self, 0);
        if (!(f->flags & (kPreloadSuper | kSuppressSuper)))
            activation->Define("super", Value(context.super_object), 0);
        for (size_t i = 0; i < f->params.size(); ++i) {
            Value value = i < args.size() ? args[i] : Value();
            const Parameter& p = f->params[i];
            if (p.reg != 0 && p.reg < context.registers.size()) context.registers[p.reg] = value;
            else activation->Define(p.name, value, 0);
        }
    } else {
        context.registers.resize(4);
        activation->Define("arguments", Value(arguments), 0);
        activation->Define("this", self, 0);
        activation->Define("super", Value(context.super_object), 0);
        for (size_t i = 0; i < f->params.size(); ++i)
            activation->Define(f->params[i].name, i < args.size() ? args[i] : Value(), 0);
    }
    RunningFunction running(running_function, f);
    Value result = Execute(f->code, context);
    if (!keep_leftovers && stack.size() > stack_base) stack.resize(stack_base);
    return result;
}

}  // namespace flash::avm1
