#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "res/artwork.h"

namespace lq {
namespace {

std::vector<Art> AllArt() {
  std::vector<Art> all;
  for (int i = 0; i < kImageCount; ++i) all.push_back(ImageListArt(i));
  for (int size : kProgramIconSizes) all.push_back(ProgramIconArt(size));
  for (int size : kAlarmIconSizes) all.push_back(AlarmIconArt(size));
  return all;
}

TEST(Artwork, EveryPictureIsARectangleOfPaletteCharacters) {
  for (const Art& art : AllArt()) {
    SCOPED_TRACE(std::string(art.name));
    ASSERT_GT(art.Height(), 0);
    for (int y = 0; y < art.Height(); ++y) {
      const std::string_view row = art.rows[y];
      EXPECT_EQ(static_cast<int>(row.size()), art.Width()) << "row " << y;
      for (std::size_t x = 0; x < row.size(); ++x) {
        EXPECT_TRUE(PaletteColor(row[x]).has_value()) << "'" << row[x] << "' at (" << x << "," << y << ")";
      }
    }
    EXPECT_EQ(DecodeArt(art).size(), static_cast<std::size_t>(art.Width() * art.Height()));
  }
}

TEST(Artwork, SizesAreTheOnesWindowsAsksFor) {
  for (int i = 0; i < kImageCount; ++i) {
    EXPECT_EQ(ImageListArt(i).Width(), kImageSize) << i;
    EXPECT_EQ(ImageListArt(i).Height(), kImageSize) << i;
  }
  for (int size : kProgramIconSizes) {
    EXPECT_EQ(ProgramIconArt(size).Width(), size);
    EXPECT_EQ(ProgramIconArt(size).Height(), size);
  }
  EXPECT_THROW(ImageListArt(-1), std::out_of_range);
  EXPECT_THROW(ImageListArt(kImageCount), std::out_of_range);
  for (int size : kAlarmIconSizes) {
    EXPECT_EQ(AlarmIconArt(size).Width(), size);
    EXPECT_EQ(AlarmIconArt(size).Height(), size);
  }
  EXPECT_THROW(ProgramIconArt(24), std::out_of_range);
  EXPECT_THROW(AlarmIconArt(24), std::out_of_range);
}

// A picture with no transparent pixel hides the row colour behind a square; one with nothing
// opaque draws nothing at all.
TEST(Artwork, EveryPictureHasTransparentAndOpaquePixels) {
  for (const Art& art : AllArt()) {
    int clear = 0, solid = 0;
    for (Argb p : DecodeArt(art)) {
      clear += (p >> 24) == 0;
      solid += (p >> 24) == 0xFF;
    }
    EXPECT_GT(clear, 0) << art.name;
    EXPECT_GT(solid, 0) << art.name;
  }
}

// Without common controls 6 the image list draws through the 1-bit mask alone, so a partly
// transparent pixel would come out solid there and see-through elsewhere.
TEST(Artwork, ImageListUsesOnlyFullyOpaqueOrFullyClearPixels) {
  for (int i = 0; i < kImageCount; ++i) {
    for (Argb p : DecodeArt(ImageListArt(i))) {
      const unsigned alpha = p >> 24;
      ASSERT_TRUE(alpha == 0 || alpha == 0xFF) << ImageListArt(i).name;
    }
  }
}

TEST(Artwork, ImageListPicturesAreAllDifferent) {
  std::set<std::vector<Argb>> seen;
  for (int i = 0; i < kImageCount; ++i) {
    EXPECT_TRUE(seen.insert(DecodeArt(ImageListArt(i))).second) << ImageListArt(i).name << " repeats an earlier image";
  }
}

// The mask-only drawing path ORs the colour over the ground, so clear pixels must be black.
TEST(Palette, ClearColoursAreBlackAndMistakesShow) {
  for (int c = 0; c < 256; ++c) {
    const auto argb = PaletteColor(static_cast<char>(c));
    if (argb && (*argb >> 24) == 0) {
      EXPECT_EQ(*argb, 0u) << "'" << static_cast<char>(c) << "'";
    }
  }
  EXPECT_EQ(PaletteColor('.'), Argb{0});

  constexpr std::string_view rows[] = {"..", ".?", "."};
  const std::vector<Argb> px = DecodeArt({"bad", rows});
  ASSERT_EQ(px.size(), 6u);
  EXPECT_EQ(px[0], 0u);
  EXPECT_EQ(px[3], 0xFFFF00FFu);  // unknown character
  EXPECT_EQ(px[5], 0xFFFF00FFu);  // short row
}

}  // namespace
}  // namespace lq
