#include "res/chime.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>

namespace lq {
namespace {

// Two notes a major third apart, falling like a door chime: E5 then C5.
struct Note {
  double start;      // seconds
  double frequency;  // Hz
};
constexpr Note kNotes[] = {{0.0, 659.26}, {0.42, 523.25}};

// Partials of each note: overtone ratio, loudness, and how much faster than the fundamental it
// dies away. The slightly stretched fourth gives the bell its shimmer.
struct Partial {
  double ratio;
  double level;
  double decayFactor;
};
constexpr Partial kPartials[] = {{1.0, 1.0, 1.0}, {2.0, 0.40, 2.0}, {3.0, 0.15, 3.0}, {4.2, 0.06, 4.5}};

constexpr double kLength = 1.4;       // seconds
constexpr double kAttack = 0.006;     // seconds from silence to full loudness
constexpr double kDecay = 0.35;       // time constant of the fundamental, seconds
constexpr double kFadeOut = 0.06;     // the tail is brought down to silence over this time
constexpr double kPeak = 0.7;         // of full scale, leaving headroom for the sound card

void PutLe16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  PutLe16(out, v & 0xFFFF);
  PutLe16(out, v >> 16);
}
void PutTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) { out.insert(out.end(), tag, tag + 4); }

// A raised-cosine step from 0 to 1 over [0, length]: no corner, so no click.
double SmoothStep(double t, double length) {
  if (t <= 0.0) return 0.0;
  if (t >= length) return 1.0;
  return 0.5 - 0.5 * std::cos(std::numbers::pi * t / length);
}

}  // namespace

std::vector<std::int16_t> SynthesizeChime(int sampleRate) {
  if (sampleRate < 8000 || sampleRate > 192000) throw std::invalid_argument("sample rate out of range");
  const auto count = static_cast<std::size_t>(std::lround(kLength * sampleRate));
  std::vector<double> mix(count, 0.0);
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / sampleRate;
    double v = 0.0;
    for (const Note& note : kNotes) {
      const double u = t - note.start;
      if (u <= 0.0) continue;
      const double attack = SmoothStep(u, kAttack);
      for (const Partial& p : kPartials) {
        const double f = note.frequency * p.ratio;
        if (f >= sampleRate / 2.0) continue;  // above what the rate can carry
        v += p.level * attack * std::exp(-u * p.decayFactor / kDecay) * std::sin(2.0 * std::numbers::pi * f * u);
      }
    }
    const double remaining = static_cast<double>(count - 1 - i) / sampleRate;
    mix[i] = v * SmoothStep(remaining, kFadeOut);
  }

  double loudest = 0.0;
  for (double v : mix) loudest = std::max(loudest, std::abs(v));
  const double gain = loudest > 0.0 ? kPeak * std::numeric_limits<std::int16_t>::max() / loudest : 0.0;
  std::vector<std::int16_t> samples(count);
  for (std::size_t i = 0; i < count; ++i) samples[i] = static_cast<std::int16_t>(std::lround(mix[i] * gain));
  return samples;
}

std::vector<std::uint8_t> BuildWavFile(std::span<const std::int16_t> samples, int sampleRate) {
  if (sampleRate <= 0) throw std::invalid_argument("sample rate must be positive");
  constexpr std::uint32_t kHeaderBytes = 44;
  if (samples.size() > (std::numeric_limits<std::uint32_t>::max() - kHeaderBytes) / 2) {
    throw std::invalid_argument("too many samples for a .wav file");
  }
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  const auto rate = static_cast<std::uint32_t>(sampleRate);
  std::vector<std::uint8_t> out;
  out.reserve(kHeaderBytes + dataBytes);
  PutTag(out, "RIFF");
  PutLe32(out, kHeaderBytes - 8 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutLe32(out, 16);        // size of the format chunk
  PutLe16(out, 1);         // PCM
  PutLe16(out, 1);         // one channel
  PutLe32(out, rate);
  PutLe32(out, rate * 2);  // bytes per second
  PutLe16(out, 2);         // bytes per sample frame
  PutLe16(out, 16);        // bits per sample
  PutTag(out, "data");
  PutLe32(out, dataBytes);
  for (std::int16_t s : samples) PutLe16(out, static_cast<std::uint16_t>(s));
  return out;
}

std::vector<std::uint8_t> BuildChimeWavFile() {
  const std::vector<std::int16_t> samples = SynthesizeChime(kChimeSampleRate);
  return BuildWavFile(samples, kChimeSampleRate);
}

}  // namespace lq
