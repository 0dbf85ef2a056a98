// What a movie sounds like over its first frames: the player runs the
// movie frame by frame and the mixer mixes, for every frame, the samples of
// one frame time, exactly as the engine plays it.
#pragma once

#include "flash/movie.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace flash {

// 44,100 Hz 16-bit stereo samples (left, right interleaved) of the first
// frames of the movie: round(frames × 44100 ÷ frame rate) sample frames.
std::vector<int16_t> RenderSoundtrack(std::shared_ptr<const Movie> movie, int frames);
// The same, handed to sink a frame at a time: samples holds count stereo
// frames.
using SoundtrackSink = std::function<void(const int16_t* samples, size_t count)>;
void RenderSoundtrack(std::shared_ptr<const Movie> movie, int frames, const SoundtrackSink& sink);

// Frames per second the player plays the movie at, as Player::FrameRate.
double PlayingFrameRate(const Movie& movie);

// The output sample frame at which frame (0 first) of a movie playing at
// frame_rate ends: frames are mixed one frame time each, rounded so that
// the sum never drifts.
size_t FrameEndSample(int frame, double frame_rate);

// Whether the movie holds a sound to play: a timeline's stream or event
// sound, a button's, or a sound for scripts to attach.
bool HasSound(const Movie& movie);

// A RIFF WAVE file of 44,100 Hz 16-bit stereo samples.
std::vector<uint8_t> StereoWav(const std::vector<int16_t>& samples);

}  // namespace flash
