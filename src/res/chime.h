#pragma once
// The alarm's default sound, Tarnwillow.wav, made by us at build time: a soft two-tone chime
// ("ding-dong"), written as a 16-bit mono PCM .wav file that PlaySound takes on every Windows.

#include <cstdint>
#include <span>
#include <vector>

namespace lq {

inline constexpr int kChimeSampleRate = 22050;

// The chime's samples at the given rate (8,000 to 192,000; anything else throws
// std::invalid_argument). Both notes rise in a few milliseconds and die away, and the sound
// ends at silence, so neither its start nor its end clicks.
std::vector<std::int16_t> SynthesizeChime(int sampleRate);

// A RIFF WAVE file of one channel of 16-bit PCM samples. A sample rate of zero or below, or
// more samples than the format can count, throws std::invalid_argument.
std::vector<std::uint8_t> BuildWavFile(std::span<const std::int16_t> samples, int sampleRate);

// Tarnwillow.wav as shipped.
std::vector<std::uint8_t> BuildChimeWavFile();

}  // namespace lq
