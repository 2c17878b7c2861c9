// Writes the alarm program's generated files: its bell icon for the resource compiler and the
// default sound shipped beside it. Runs on the build machine, so it stays portable.
//   lq_alarmgen TarnwillowAlarm.ico Tarnwillow.wav

#include <cstdint>
#include <cstdio>
#include <vector>

#include "res/chime.h"
#include "res/icofile.h"

namespace {

bool WriteWhole(const char* path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* f = std::fopen(path, "wb");
  if (!f) {
    std::fprintf(stderr, "lq_alarmgen: cannot create %s\n", path);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !written) {
    std::fprintf(stderr, "lq_alarmgen: cannot write %s\n", path);
    std::remove(path);  // a half file must not pass for a finished one on the next build
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: lq_alarmgen icon.ico sound.wav\n");
    return 2;
  }
  if (!WriteWhole(argv[1], lq::BuildAlarmIcoFile())) return 1;
  if (!WriteWhole(argv[2], lq::BuildChimeWavFile())) return 1;
  return 0;
}
