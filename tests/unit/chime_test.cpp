#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "res/chime.h"
#include "res/icofile.h"

namespace lq {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Le16(const Bytes& b, std::size_t at) { return b.at(at) | (b.at(at + 1) << 8); }
std::uint32_t Le32(const Bytes& b, std::size_t at) { return Le16(b, at) | (Le16(b, at + 2) << 16); }
std::string Tag(const Bytes& b, std::size_t at) { return std::string(b.begin() + at, b.begin() + at + 4); }

// Loudness of one frequency over a stretch of the sound (Goertzel), for telling the notes apart.
double Power(const std::vector<std::int16_t>& s, int rate, double from, double to, double frequency) {
  const auto begin = static_cast<std::size_t>(from * rate);
  const auto end = std::min(s.size(), static_cast<std::size_t>(to * rate));
  const double coefficient = 2.0 * std::cos(2.0 * std::numbers::pi * frequency / rate);
  double s1 = 0.0, s2 = 0.0;
  for (std::size_t i = begin; i < end; ++i) {
    const double s0 = s[i] + coefficient * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  return s1 * s1 + s2 * s2 - coefficient * s1 * s2;
}

int Peak(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
  int peak = 0;
  for (std::size_t i = from; i < std::min(to, s.size()); ++i) peak = std::max(peak, std::abs(static_cast<int>(s[i])));
  return peak;
}

TEST(Chime, FileIsSixteenBitMonoPcmThatWindowsReads) {
  const Bytes file = BuildChimeWavFile();
  ASSERT_GE(file.size(), 44u);
  EXPECT_EQ(Tag(file, 0), "RIFF");
  EXPECT_EQ(Le32(file, 4), file.size() - 8);
  EXPECT_EQ(Tag(file, 8), "WAVE");
  EXPECT_EQ(Tag(file, 12), "fmt ");
  EXPECT_EQ(Le32(file, 16), 16u);
  EXPECT_EQ(Le16(file, 20), 1u) << "PCM";
  EXPECT_EQ(Le16(file, 22), 1u) << "mono";
  EXPECT_EQ(Le32(file, 24), std::uint32_t(kChimeSampleRate));
  EXPECT_EQ(Le32(file, 28), std::uint32_t(kChimeSampleRate * 2)) << "bytes per second";
  EXPECT_EQ(Le16(file, 32), 2u) << "block align";
  EXPECT_EQ(Le16(file, 34), 16u);
  EXPECT_EQ(Tag(file, 36), "data");
  EXPECT_EQ(Le32(file, 40), file.size() - 44);

  // Samples are little-endian and signed, as written.
  const std::vector<std::int16_t> samples{0, 1, -1, 32767, -32768};
  const Bytes small = BuildWavFile(samples, 8000);
  ASSERT_EQ(small.size(), 44u + 10u);
  EXPECT_EQ(Bytes(small.begin() + 44, small.end()), (Bytes{0, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x80}));
}

TEST(Chime, ShortLoudEnoughAndUnclipped) {
  for (int rate : {22050, 44100}) {
    SCOPED_TRACE(rate);
    const std::vector<std::int16_t> s = SynthesizeChime(rate);
    const double seconds = static_cast<double>(s.size()) / rate;
    EXPECT_GE(seconds, 1.0);
    EXPECT_LE(seconds, 1.5);
    const int peak = Peak(s, 0, s.size());
    EXPECT_GT(peak, 32767 / 2);
    EXPECT_LT(peak, 32767 * 9 / 10) << "no headroom left";
  }
}

// A sound that jumps from silence, or stops in mid-swing, clicks.
TEST(Chime, RisesAndEndsWithoutAClick) {
  const int rate = kChimeSampleRate;
  const std::vector<std::int16_t> s = SynthesizeChime(rate);
  const int peak = Peak(s, 0, s.size());
  const std::size_t ms = rate / 1000;
  EXPECT_EQ(s.front(), 0);
  EXPECT_EQ(s.back(), 0);
  EXPECT_LT(Peak(s, 0, ms), peak / 10) << "the first millisecond is the start of the rise";
  EXPECT_GT(Peak(s, 10 * ms, 40 * ms), peak / 2) << "full loudness soon after";
  EXPECT_LT(Peak(s, s.size() - 5 * ms, s.size()), peak / 50) << "the tail has died away";
  // The second note rises as softly: nothing louder appears within a sample of its start.
  for (std::size_t i = 1; i < s.size(); ++i) {
    ASSERT_LT(std::abs(s[i] - s[i - 1]), peak / 2) << "jump at sample " << i;
  }
}

TEST(Chime, TwoNotesFallingAThird) {
  const int rate = kChimeSampleRate;
  const std::vector<std::int16_t> s = SynthesizeChime(rate);
  const double high = 659.26, low = 523.25;
  EXPECT_GT(Power(s, rate, 0.05, 0.40, high), 10 * Power(s, rate, 0.05, 0.40, low)) << "first the higher note";
  EXPECT_GT(Power(s, rate, 0.55, 1.20, low), 3 * Power(s, rate, 0.55, 1.20, high)) << "then the lower one";
}

TEST(Chime, BadParametersThrowInsteadOfWritingABrokenFile) {
  EXPECT_THROW(SynthesizeChime(0), std::invalid_argument);
  EXPECT_THROW(SynthesizeChime(1'000'000), std::invalid_argument);
  EXPECT_THROW(BuildWavFile(std::vector<std::int16_t>{1, 2}, 0), std::invalid_argument);
}

TEST(AlarmIcon, FileListsEverySizeWeDraw) {
  const Bytes file = BuildAlarmIcoFile();
  ASSERT_EQ(Le16(file, 4), std::size(kAlarmIconSizes));
  for (std::size_t i = 0; i < std::size(kAlarmIconSizes); ++i) {
    EXPECT_EQ(file.at(6 + 16 * i), kAlarmIconSizes[i]);
    EXPECT_EQ(file.at(6 + 16 * i + 1), kAlarmIconSizes[i]);
  }
  EXPECT_NE(file, BuildProgramIcoFile());
}

}  // namespace
}  // namespace lq
