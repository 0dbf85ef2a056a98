// Script benchmark: movies whose first frame runs a heavy script (an
// arithmetic loop, member access on a movie clip, string building, sorting
// 100,000 numbers), written by our SWF writer into a folder so that any
// player can time them (each traces the milliseconds getTimer saw), and
// timed here in our player, wall clock around the frame that runs them;
// also a 12 frames-per-second movie that scripts keep moving, for timing a
// player's processor share (flash_cpu_bench.exe).
//   script_bench [OUT_DIR]
#include "flash/movie_loader.h"
#include "flash/player.h"
#include "flash/swf_writer.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

// A little assembler of action bytes with forward and backward jumps.
class Code {
public:
    Code& Op(uint8_t code) {
        bytes_.push_back(code);
        return *this;
    }
    Code& Push(const std::string& text) {
        std::vector<uint8_t> body{0};
        body.insert(body.end(), text.begin(), text.end());
        body.push_back(0);
        return Long(0x96, body);
    }
    Code& Push(double number) {
        uint64_t bits;
        std::memcpy(&bits, &number, 8);
        std::vector<uint8_t> body{6};
        // High word first, each word little-endian.
        for (int word : {1, 0})
            for (int i = 0; i < 4; ++i) body.push_back(static_cast<uint8_t>(bits >> (32 * word + 8 * i)));
        return Long(0x96, body);
    }
    Code& GotoFrame(uint16_t index) { return Long(0x81, {static_cast<uint8_t>(index), static_cast<uint8_t>(index >> 8)}); }
    size_t Here() const { return bytes_.size(); }
    // A jump (0x99) or branch (0x9D) whose target is patched later.
    size_t Branch(uint8_t code) {
        Long(code, {0, 0});
        return bytes_.size();
    }
    void Land(size_t branch_end) { Patch(branch_end, bytes_.size()); }
    void JumpBack(size_t target) { Patch(Branch(0x99), target); }
    std::vector<uint8_t> Finish() {
        bytes_.push_back(0);
        return bytes_;
    }

private:
    Code& Long(uint8_t code, const std::vector<uint8_t>& body) {
        bytes_.push_back(code);
        bytes_.push_back(static_cast<uint8_t>(body.size()));
        bytes_.push_back(static_cast<uint8_t>(body.size() >> 8));
        bytes_.insert(bytes_.end(), body.begin(), body.end());
        return *this;
    }
    void Patch(size_t branch_end, size_t target) {
        int16_t offset = static_cast<int16_t>(static_cast<long>(target) - static_cast<long>(branch_end));
        bytes_[branch_end - 2] = static_cast<uint8_t>(offset);
        bytes_[branch_end - 1] = static_cast<uint8_t>(offset >> 8);
    }

    std::vector<uint8_t> bytes_;
};

constexpr uint8_t kAdd2 = 0x47, kLess2 = 0x48, kNot = 0x12, kIncrement = 0x50, kMultiply = 0x0C;
constexpr uint8_t kGetVariable = 0x1C, kSetVariable = 0x1D, kGetMember = 0x4E, kSetMember = 0x4F;
constexpr uint8_t kCallMethod = 0x52, kPop = 0x17, kTrace = 0x26, kGetTime = 0x34, kSubtract = 0x0B;
constexpr uint8_t kInitArray = 0x42, kRandom = 0x30, kDivide = 0x0D, kPlay = 0x06;

// for (i = 0; i < count; i++) body
template <class Body>
void Loop(Code& code, double count, Body body) {
    code.Push("i").Push(0.0).Op(kSetVariable);
    size_t top = code.Here();
    code.Push("i").Op(kGetVariable).Push(count).Op(kLess2).Op(kNot);
    size_t exit = code.Branch(0x9D);
    body(code);
    code.Push("i").Push("i").Op(kGetVariable).Op(kIncrement).Op(kSetVariable);
    code.JumpBack(top);
    code.Land(exit);
}

// t0 = getTimer(); ...; trace(getTimer() - t0)
template <class Work>
std::vector<uint8_t> Timed(Work work) {
    Code code;
    code.Push("t0").Op(kGetTime).Op(kSetVariable);
    work(code);
    code.Op(kGetTime).Push("t0").Op(kGetVariable).Op(kSubtract).Op(kTrace);
    return code.Finish();
}

struct Case {
    const char* name;
    std::vector<uint8_t> actions;
};

std::vector<Case> Cases() {
    std::vector<Case> cases;
    cases.push_back({"arithmetic", Timed([](Code& c) {
                         c.Push("s").Push(0.0).Op(kSetVariable);
                         Loop(c, 1000000, [](Code& b) {
                             b.Push("s").Push("s").Op(kGetVariable).Push("i").Op(kGetVariable).Push(2.0)
                                 .Op(kMultiply).Op(kAdd2).Op(kSetVariable);
                         });
                     })});
    cases.push_back({"clip_members", Timed([](Code& c) {
                         // clip = this.createEmptyMovieClip("c", 1)
                         c.Push("clip").Push(1.0).Push("c").Push(2.0).Push("this").Op(kGetVariable)
                             .Push("createEmptyMovieClip").Op(kCallMethod).Op(kSetVariable);
                         Loop(c, 200000, [](Code& b) {
                             b.Push("clip").Op(kGetVariable).Push("_x").Push("i").Op(kGetVariable).Op(kSetMember);
                             b.Push("s").Push("clip").Op(kGetVariable).Push("_x").Op(kGetMember).Op(kSetVariable);
                         });
                     })});
    cases.push_back({"string_building", Timed([](Code& c) {
                         c.Push("s").Push("").Op(kSetVariable);
                         Loop(c, 20000, [](Code& b) {
                             b.Push("s").Push("s").Op(kGetVariable).Push("ab").Op(kAdd2).Op(kSetVariable);
                         });
                     })});
    cases.push_back({"sort_100000", Timed([](Code& c) {
                         c.Push("a").Push(0.0).Op(kInitArray).Op(kSetVariable);
                         Loop(c, 100000, [](Code& b) {
                             b.Push(1000000.0).Op(kRandom).Push(1.0).Push("a").Op(kGetVariable).Push("push")
                                 .Op(kCallMethod).Op(kPop);
                         });
                         // a.sort(16): numeric
                         c.Push(16.0).Push(1.0).Push("a").Op(kGetVariable).Push("sort").Op(kCallMethod).Op(kPop);
                     })});
    return cases;
}

// this["c" + i] on the stack
void PushClip(Code& c) {
    c.Push("this").Op(kGetVariable).Push("c").Push("i").Op(kGetVariable).Op(kAdd2).Op(kGetMember);
}

// Pushes Math.NAME(t / divisor + i)
void PushWave(Code& c, const char* name, double divisor) {
    c.Push("t").Op(kGetVariable).Push(divisor).Op(kDivide).Push("i").Op(kGetVariable).Op(kAdd2);
    c.Push(1.0).Push("Math").Op(kGetVariable).Push(name).Op(kCallMethod);
}

// Calls clip.NAME(args...) on the clip in variable "clip", dropping the result.
void CallOnClip(Code& c, const char* name, std::initializer_list<double> args) {
    for (auto it = std::rbegin(args); it != std::rend(args); ++it) c.Push(*it);
    c.Push(static_cast<double>(args.size())).Push("clip").Op(kGetVariable).Push(name).Op(kCallMethod).Op(kPop);
}

// Moves and turns every square: t++, then for each clip c<i> its place on two
// waves and its rotation.
Code StepCode() {
    Code step;
    step.Push("t").Push("t").Op(kGetVariable).Op(kIncrement).Op(kSetVariable);
    Loop(step, 40, [](Code& b) {
        PushClip(b);
        b.Push("_x").Push(275.0);
        PushWave(b, "sin", 10);
        b.Push(200.0).Op(kMultiply).Op(kAdd2).Op(kSetMember);
        PushClip(b);
        b.Push("_y").Push(200.0);
        PushWave(b, "cos", 7);
        b.Push(150.0).Op(kMultiply).Op(kAdd2).Op(kSetMember);
        PushClip(b);
        b.Push("_rotation").Push("t").Op(kGetVariable).Push(3.0).Op(kMultiply).Op(kSetMember);
    });
    return step;
}

// A movie that keeps running scripts at 12 frames per second, for timing a
// player's processor share while it plays: frame 1 draws 40 squares with the
// drawing API, frames 2 and 3 move and turn every square, frame 3 goes back
// to frame 2.
std::vector<uint8_t> AnimatedMovie() {
    Code setup;
    setup.Push("t").Push(0.0).Op(kSetVariable);
    Loop(setup, 40, [](Code& b) {
        b.Push("clip").Push("i").Op(kGetVariable).Push("c").Push("i").Op(kGetVariable).Op(kAdd2).Push(2.0)
            .Push("this").Op(kGetVariable).Push("createEmptyMovieClip").Op(kCallMethod).Op(kSetVariable);
        CallOnClip(b, "beginFill", {16711680.0, 100.0});
        CallOnClip(b, "moveTo", {-10.0, -10.0});
        CallOnClip(b, "lineTo", {10.0, -10.0});
        CallOnClip(b, "lineTo", {10.0, 10.0});
        CallOnClip(b, "lineTo", {-10.0, 10.0});
        CallOnClip(b, "lineTo", {-10.0, -10.0});
        CallOnClip(b, "endFill", {});
    });

    flash::SwfWriter writer(6, 550, 400, 12);
    writer.Tag(12, setup.Finish());
    writer.ShowFrame();
    writer.Tag(12, StepCode().Finish());
    writer.ShowFrame();
    writer.Tag(12, StepCode().GotoFrame(1).Op(kPlay).Finish());
    writer.ShowFrame();
    return writer.Finish();
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path out = argc > 1 ? argv[1] : "build/script-bench";
    std::filesystem::create_directories(out);
    std::printf("%-16s %10s\n", "movie", "ms");
    for (const Case& c : Cases()) {
        flash::SwfWriter writer(7, 100, 100, 12);
        writer.Tag(12, c.actions);
        writer.ShowFrame();
        std::vector<uint8_t> file = writer.Finish();
        std::filesystem::path path = out / (std::string(c.name) + ".swf");
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                    static_cast<std::streamsize>(file.size()));
        auto movie = std::make_shared<flash::Movie>(flash::LoadMovie(file));
        flash::Player player;
        auto start = std::chrono::steady_clock::now();
        player.Load(movie);
        double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("%-16s %10.1f\n", c.name, ms);
    }
    std::vector<uint8_t> animated = AnimatedMovie();
    std::ofstream(out / "animated_12fps.swf", std::ios::binary)
        .write(reinterpret_cast<const char*>(animated.data()), static_cast<std::streamsize>(animated.size()));
    std::printf("movies written to %s (animated_12fps.swf: for flash_cpu_bench.exe)\n", out.string().c_str());
    return 0;
}
