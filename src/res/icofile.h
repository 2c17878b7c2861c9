#pragma once
// Writes a Windows .ico file: each entry a 32-bit BGRA bitmap with its alpha plus a 1-bit AND
// mask, no PNG entries. Every Windows version and both resource compilers read that form, and
// the mask keeps the icon clean where alpha is ignored.

#include <cstdint>
#include <span>
#include <vector>

#include "res/artwork.h"

namespace lq {

struct IcoImage {
  int width = 0;
  int height = 0;
  std::vector<Argb> pixels;  // as DecodeArt gives them: rows from the top, straight alpha
};

// The bytes of the whole file. Sizes must be 1 to 256 and pixels.size() must be width * height;
// anything else throws std::invalid_argument rather than writing a file Windows rejects.
std::vector<std::uint8_t> BuildIcoFile(std::span<const IcoImage> images);

// The program icon in every size we draw it.
std::vector<std::uint8_t> BuildProgramIcoFile();

// The alarm program's bell icon in every size we draw it.
std::vector<std::uint8_t> BuildAlarmIcoFile();

}  // namespace lq
