#pragma once
// The program's artwork kept as text pixel maps: one character per pixel, looked up in one
// shared palette (artwork.cpp lists it). A change to an image is then a readable diff, and the
// same source feeds the image list at start-up and the .ico file the build makes.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace lq {

// One picture: `rows` are its lines from the top, all of the same length.
struct Art {
  std::string_view name;
  std::span<const std::string_view> rows;

  int Width() const { return rows.empty() ? 0 : static_cast<int>(rows.front().size()); }
  int Height() const { return static_cast<int>(rows.size()); }
};

// The main window's image list, by index. Menus and the grid name their images by these; the
// *Mark images are the ones the grid draws in its rows.
enum ImageIndex : int {
  kImageAdd = 0,
  kImageDelete = 1,  // also "clear"
  kImageExit = 2,
  kImageDone = 3,
  kImageNotDone = 4,  // also "hide"
  kImageSettings = 5,
  kImageEdit = 6,  // select attachment; edit mode
  kImageSearch = 7,
  kImageMoveDate = 8,
  kImageSync = 9,
  kImageAttachmentMark = 10,
  kImageOpenAttachment = 11,
  kImageAttachmentMenu = 12,
  kImageBulkDelete = 13,
  kImageOpenFolder = 14,
  kImageEnterUrl = 15,
  kImageUrlMark = 16,
  kImageSetAlarm = 17,
  kImageAlarmMark = 18,
  kImageRepeatMark = 19,  // a repeating task in the grid; the repetition submenu
  kImageUndo = 20,
  kImageRedo = 21,
  kImageCount = 22,
};
inline constexpr int kImageSize = 16;

// The program icon is drawn separately for each size rather than scaled, so it stays crisp.
inline constexpr int kProgramIconSizes[] = {16, 32, 48};

// A pixel as 0xAARRGGBB with straight (not premultiplied) alpha. Stored as 32-bit words on a
// little-endian machine this is the B, G, R, A byte order of a 32-bit Windows DIB.
using Argb = std::uint32_t;

// The colour of a palette character; nothing when the character is not in the palette.
std::optional<Argb> PaletteColor(char c);

// The pixels of `art`, rows from the top, Width() * Height() of them. Transparent pixels are
// all zero (black with alpha 0), which is what a colour bitmap paired with a mask needs on the
// drawing paths that ignore alpha. A character outside the palette, or a short row, decodes to
// opaque magenta so the mistake shows in every preview.
std::vector<Argb> DecodeArt(const Art& art);

// `pixels` of a width x height picture at another size, each target pixel taking the source
// pixel under its centre: pixel art stays sharp-edged (no blended colours) at any scale.
std::vector<Argb> ResizeNearest(const std::vector<Argb>& pixels, int width, int height, int newWidth, int newHeight);

// Where a 1-bit mask calls the pixel transparent: drawn with the mask alone, a half-covered
// pixel is either painted or left out, and more than half opacity paints it.
constexpr bool IsMaskedOut(Argb pixel) { return (pixel >> 24) < 0x80; }

// Index 0 to kImageCount - 1; anything else throws std::out_of_range.
Art ImageListArt(int index);

// One of kProgramIconSizes; anything else throws std::out_of_range.
Art ProgramIconArt(int size);

// The alarm program's bell, in the same sizes as the program icon; anything else throws
// std::out_of_range.
inline constexpr int kAlarmIconSizes[] = {16, 32, 48};
Art AlarmIconArt(int size);

}  // namespace lq
