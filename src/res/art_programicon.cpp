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
    ".....YYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYY......",
    ".....YzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzY......",
    ".....YyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyY,,....",
    ".....YyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyY,,....",
    ".....YyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyY,,....",
    ".....YyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyY,,....",
    ".....YyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyY,,....",
    ".....YxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxY,,....",
    ".....YZZZZZZZZZZZZZZZgZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZZZZZZZZZZZgfZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZDDDDDDDDZgffZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZDeeeeeeDgffZZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZDeWWWWWgffZZZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZgggWWWgffZZZmmmmmmmmmmmmmmmZZZZY,,....",
    ".....YZZZZDffgWgffZZZZMMMMMMMMMMMMMMMZZZZY,,....",
    ".....YZZZZDeffgffDZZZZZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZDeWfffWDZZZZZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZDDDDDDDDZZZgZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZZZZZZZZZZZgfZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZDDDDDDDDZgffZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZDeeeeeeDgffZZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZDeWWWWWgffZZZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZgggWWWgffZZZmmmmmmmmmmmmmmmZZZZY,,....",
    ".....YZZZZDffgWgffZZZZMMMMMMMMMMMMMMMZZZZY,,....",
    ".....YZZZZDeffgffDZZZZZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZDeWfffWDZZZZZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZDDDDDDDDZZZZZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZDDDDDDDDZZZZZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZDeeeeeeDZZZZZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZDeWWWWWDZZZZZZZZZZZZZZZZZZZZZZZY,,....",
    ".....YZZZZDeWWWWWDZZZZmmmmmmmmmmZZZZZZZZZY,,....",
    ".....YZZZZDeWWWWWDZZZZMMMMMMMMMMZZYYYYYYYY,,....",
    ".....YZZZZDeWWWWWDZZZZZZZZZZZZZZZZYzzyyyY,,,....",
    ".....YZZZZDeWWWWWDZZZZZZZZZZZZZZZZYzyyyY,,,,....",
    ".....YZZZZDDDDDDDDZZZZZZZZZZZZZZZZYyyyY,,,,.....",
    ".....YZZZZZZZZZZZZZZZZZZZZZZZZZZZZYyyY,,,,......",
    ".....YZZZZZZZZZZZZZZZZZZZZZZZZZZZZYyY,,,,.......",
    ".....YZZZZZZZZZZZZZZZZZZZZZZZZZZZZYY,,,,........",
    ".....YYYYYYYYYYYYYYYYYYYYYYYYYYYYYY,,,,.........",
    ".......,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,..........",
    ".......,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,...........",
    "................................................",
    "................................................",
};

constexpr std::string_view kIcon32[] = {
    "................................",
    "................................",
    "...YYYYYYYYYYYYYYYYYYYYYYYYY....",
    "...YzzzzzzzzzzzzzzzzzzzzzzzY....",
    "...YyyyyyyyyyyyyyyyyyyyyyyyY,,..",
    "...YyyyyyyyyyyyyyyyyyyyyyyyY,,..",
    "...YyyyyyyyyyyyyyyyyyyyyyyyY,,..",
    "...YxxxxxxxxxgxxxxxxxxxxxxxY,,..",
    "...YZZZZZZZZgfZZZZZZZZZZZZZY,,..",
    "...YZZDDDDDgfZZZZZZZZZZZZZZY,,..",
    "...YZZgeeegfZZZZZZZZZZZZZZZY,,..",
    "...YZZfgWgfZZMMMMMMMMMMMZZZY,,..",
    "...YZZDfgfDZZZZZZZZZZZZZZZZY,,..",
    "...YZZDDfDDZZgZZZZZZZZZZZZZY,,..",
    "...YZZZZZZZZgfZZZZZZZZZZZZZY,,..",
    "...YZZDDDDDgfZZZZZZZZZZZZZZY,,..",
    "...YZZgeeegfZZZZZZZZZZZZZZZY,,..",
    "...YZZfgWgfZZMMMMMMMMMMMZZZY,,..",
    "...YZZDfgfDZZZZZZZZZZZZZZZZY,,..",
    "...YZZDDfDDZZZZZZZZZZZZZZZZY,,..",
    "...YZZZZZZZZZZZZZZZZZZZZZZZY,,..",
    "...YZZDDDDDZZZZZZZZZZZZZZZZY,,..",
    "...YZZDeeeDZZZZZZZZZZZZZZZZY,,..",
    "...YZZDeWWDZZMMMMMMMZZYYYYYY,,..",
    "...YZZDeWWDZZZZZZZZZZZYzyyY,,,..",
    "...YZZDDDDDZZZZZZZZZZZYyyY,,,,..",
    "...YZZZZZZZZZZZZZZZZZZYyY,,,,...",
    "...YZZZZZZZZZZZZZZZZZZYY,,,,....",
    "...YYYYYYYYYYYYYYYYYYYY,,,,.....",
    ".....,,,,,,,,,,,,,,,,,,,,,......",
    ".....,,,,,,,,,,,,,,,,,,,,.......",
    "................................",
};

constexpr std::string_view kIcon16[] = {
    "................",
    ".YYYYYYYYYYYYY..",
    ".YzzzzzzzzzzzY..",
    ".YyyyyyyyyyyyY,.",
    ".YxxxxxxxxxxxY,.",
    ".YZZZZfZZZZZZY,.",
    ".YZfZfZZMMMMZY,.",
    ".YZZfZZZZZZZZY,.",
    ".YZZZZZZZZZZZY,.",
    ".YZZZZfZZZZZZY,.",
    ".YZfZfZZMMMMZY,.",
    ".YZZfZZZZZZYYY,.",
    ".YZZZZZZZZZYzY,.",
    ".YYYYYYYYYYYY,,.",
    "..,,,,,,,,,,,,..",
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
