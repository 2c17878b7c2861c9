// The program icon (tray and executable): a sticky note with a short checklist. Each size is
// drawn on its own so that the small ones stay crisp instead of being scaled down.

#include <stdexcept>

#include "res/artwork.h"

namespace lq {
namespace {

constexpr std::string_view kIcon48[] = {
    "................................................",
    "................................................",
    "................................................",
    "................................................",
    "....YYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYY......",
    "....YyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyY......",
    "....YyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyY,,....",
    "....YyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyY,,....",
    "....YyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyY,,....",
    "....YyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyY,,....",
    "....YyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyY,,....",
    "....YxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxY,,....",
    "....YZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZY,,....",
    "....YZZZZZZZZZZZGGGZZZZZZZZZZZZZZZZZZZZZZY,,....",
    "....YZZZZZZZZZZZGHhGZZZZZZZZZZZZZZZZZZZZZY,,....",
    "....YZZZZZZZZZZGHgfGZZZZZZZZZZZZZZZZZZZZZY,,....",
    "....YZZZZDDDDDGHgfGGZZZZZZZZZZZZZZZZZZZZZY,,....",
    "....YZZZZDGWWGGhgfGZZZZZZZZZZZZZZZZZZZZZZY,,....",
    "....YZZZZGHGGGHgfGZZZZZZZZZZZZZZZZZZZZZZZY,,....",
    "....YZZZZGhhGHgfGZZmmmmmmmmmmmmmmmmmmZZZZY,,....",
    "....YZZZZGhghgfGGZZMMMMMMMMMMMMMMMMMMZZZZY,,....",
    "....YZZZZGGhggfGDZZZZZZZZZZZZZZZZZZZZZZZZY,,....",
    "....YZZZZDGGhfGWGGGZZZZZZZZZZZZZZZZZZZZZZY,,....",
    "....YZZZZDDGGGDDGHhGZZZZZZZZZZZZZZZZZZZZZY,,....",
    "....YZZZZZZZZZZGHgfGZZZZZZZZZZZZZZZZZZZZZY,,....",
    "....YZZZZDDDDDGHgfGGZZZZZZZZZZZZZZZZZZZZZY,,....",
    "....YZZZZDGWWGGhgfGZZZZZZZZZZZZZZZZZZZZZZY,,....",
    "....YZZZZGHGGGHgfGZZZZZZZZZZZZZZZZZZZZZZZY,,....",
    "....YZZZZGhhGHgfGZZmmmmmmmmmmmmmmmmmmZZZZY,,....",
    "....YZZZZGhghgfGGZZMMMMMMMMMMMMMMMMMMZZZZY,,....",
    "....YZZZZGGhggfGDZZZZZZZZZZZZZZZZZZZZZZZZY,,....",
    "....YZZZZDGGhfGWDZZZZZZZZZZZZZZZZZZZZZZZZY,,....",
    "....YZZZZDDGGGDDDZZZZZZZZZZZZZZZZZZZZZZZZY,,....",
    "....YZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZY,,....",
    "....YZZZZDDDDDDDDZZZZZZZZZZZZZZZZZZZZZZZYY,,....",
    "....YZZZZDWWWWWWDZZZZZZZZZZZZZZZZZZZZZZYY,,,....",
    "....YZZZZDWWWWWWDZZZZZZZZZZZZZZZZZZZZZYY,,,,....",
    "....YZZZZDWWWWWWDZZmmmmmmmmmmmmmmmmmmYY,,,,,....",
    "....YZZZZDWWWWWWDZZMMMMMMMMMMMMMMMMMMY,,,,,,....",
    "....YZZZZDWWWWWWDZZZZZZZZZZZZZZZZZZYY,,,,,,,....",
    "....YZZZZDWWWWWWDZZZZZZZZZZZZZZZZZYY,,,,,,,,....",
    "....YZZZZDDDDDDDDZZZZZZZZZZZZZZZZYY,,,,,,,,,....",
    "....YYYYYYYYYYYYYYYYYYYYYYYYYYYYYY,,,,,,,,,,....",
    "......,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,....",
    "......,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,....",
    "................................................",
    "................................................",
    "................................................",
};

constexpr std::string_view kIcon32[] = {
    "................................",
    "................................",
    "..YYYYYYYYYYYYYYYYYYYYYYYYYY....",
    "..YyyyyyyyyyyyyyyyyyyyyyyyyY....",
    "..YyyyyyyyyyyyyyyyyyyyyyyyyY,,..",
    "..YyyyyyyyyyyyyyyyyyyyyyyyyY,,..",
    "..YyyyyyyyyyyyyyyyyyyyyyyyyY,,..",
    "..YxxxxxxxxxxxxxxxxxxxxxxxxY,,..",
    "..YZZZZZZZZZZZZZZZZZZZZZZZZY,,..",
    "..YZZZZZZZGGGZZZZZZZZZZZZZZY,,..",
    "..YZZZZZZGHhGZZZZZZZZZZZZZZY,,..",
    "..YZZZGGGGhfGZZZZZZZZZZZZZZY,,..",
    "..YZZGGHGHfGZmmmmmmmmmmmmZZY,,..",
    "..YZZGHghfGGZMMMMMMMMMMMMZZY,,..",
    "..YZZZGhgfGZZZZZZZZZZZZZZZZY,,..",
    "..YZZZGGhGGGGZZZZZZZZZZZZZZY,,..",
    "..YZZZZZGGHhGZZZZZZZZZZZZZZY,,..",
    "..YZZZGGGGhfGZZZZZZZZZZZZZZY,,..",
    "..YZZGGHGHfGZmmmmmmmmmmmmZZY,,..",
    "..YZZGHghfGGZMMMMMMMMMMMMZZY,,..",
    "..YZZZGhgfGZZZZZZZZZZZZZZZZY,,..",
    "..YZZZGGhGDZZZZZZZZZZZZZZZZY,,..",
    "..YZZZZZGZZZZZZZZZZZZZZZZZZY,,..",
    "..YZZZDDDDDZZZZZZZZZZZZZZZYY,,..",
    "..YZZZDWWWDZZmmmmmmmmmmmmYY,,,..",
    "..YZZZDWWWDZZMMMMMMMMMMMMY,,,,..",
    "..YZZZDWWWDZZZZZZZZZZZZYY,,,,,..",
    "..YZZZDDDDDZZZZZZZZZZZYY,,,,,,..",
    "..YYYYYYYYYYYYYYYYYYYYY,,,,,,,..",
    "....,,,,,,,,,,,,,,,,,,,,,,,,,,..",
    "....,,,,,,,,,,,,,,,,,,,,,,,,,,..",
    "................................",
};

constexpr std::string_view kIcon16[] = {
    "................",
    ".YYYYYYYYYYYYY..",
    ".YyyyyyyyyyyyY..",
    ".YxxxxxxxxxxxY,.",
    ".YZZZZZZZZZZZY,.",
    ".YZZZZZZZZZZZY,.",
    ".YZZZZZZZZZZZY,.",
    ".YZZZZZZZZZZZY,.",
    ".YZZZZZZZZZZZY,.",
    ".YZZZZZZZZZZZY,.",
    ".YZZZZZZZZZZZY,.",
    ".YZZZZZZZZZZYY,.",
    ".YZZZZZZZZZYY,,.",
    ".YYYYYYYYYYY,,,.",
    "..,,,,,,,,,,,,,.",
    "................",
};

}  // namespace

Art ProgramIconArt(int size) {
  switch (size) {
    case 16: return {"program icon 16", kIcon16};
    case 32: return {"program icon 32", kIcon32};
    case 48: return {"program icon 48", kIcon48};
    default: throw std::out_of_range("the program icon is drawn at 16, 32 and 48 pixels");
  }
}

}  // namespace lq
