// Writes the program icon, drawn in src/res, as a .ico file for the resource compiler.
// Runs on the build machine, so it stays portable: no Windows headers.
//   lq_icongen Lindqvale.ico

#include <cstdio>
#include <vector>

#include "res/icofile.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: lq_icongen out.ico\n");
    return 2;
  }
  const std::vector<std::uint8_t> bytes = lq::BuildProgramIcoFile();
  std::FILE* f = std::fopen(argv[1], "wb");
  if (!f) {
    std::fprintf(stderr, "lq_icongen: cannot create %s\n", argv[1]);
    return 1;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !written) {
    std::fprintf(stderr, "lq_icongen: cannot write %s\n", argv[1]);
    std::remove(argv[1]);  // a half file must not pass for an icon on the next build
    return 1;
  }
  return 0;
}
