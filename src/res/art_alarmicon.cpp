// The alarm program's icon: a gold bell. 32 and 48 pixels are drawn here, each on its own so
// they stay crisp; the 16-pixel one is the bell of the main window's alarm command.

#include <stdexcept>

#include "res/artwork.h"

namespace lq {
namespace {

constexpr std::string_view kBell48[] = {
    "................................................",
    "................................................",
    ".....................YYYYY......................",
    "....................YZyyyxY.....................",
    "....................YZyyyxY,....................",
    "....................YZyyyxY,,...................",
    "....................YZyyyxY,,...................",
    "...................YzZyyyxxY,...................",
    ".................YYZZyyyyyxxYY..................",
    "...............YYzZZZyyyyyxxxxYY................",
    "..............YzzzZZZyyyyyyxxxxxY...............",
    ".............YzzzZZZyyyyyyyxxxxxxY..............",
    ".............YzzzZZZyyyyyyyxxxxxxY,.............",
    ".............YzzzZZZyyyyyyyxxxxxxY,,............",
    "............YzzzzZZZyyyyyyyxxxxxxxY,............",
    "............YzzzZZZZyyyyyyyxxxxxxxY,............",
    "............YzzzZZZZyyyyyyyyxxxxxxY,,...........",
    "............YzzzZZZZyyyyyyyyxxxxxxY,,...........",
    "............YzzzZZZZyyyyyyyyxxxxxxY,,...........",
    "............YzzzZZZZyyyyyyyyxxxxxxY,,...........",
    "...........YzzzzZZZZyyyyyyyyxxxxxxxY,...........",
    "...........YzzzzZZZZyyyyyyyyxxxxxxxY,...........",
    "...........YzzzzZZZZyyyyyyyyxxxxxxxY,,..........",
    "...........YzzzzZZZZyyyyyyyyxxxxxxxY,,..........",
    "...........YzzzzZZZZyyyyyyyyxxxxxxxY,,..........",
    "...........YzzzzZZZZyyyyyyyyxxxxxxxY,,..........",
    "..........YzzzzZZZZZyyyyyyyyxxxxxxxxY,..........",
    "..........YzzzzZZZZZyyyyyyyyxxxxxxxxY,..........",
    "..........YzzzzZZZZyyyyyyyyyxxxxxxxxY,,.........",
    "..........YzzzzZZZZyyyyyyyyyxxxxxxxxY,,.........",
    ".........YzzzzzZZZZyyyyyyyyyxxxxxxxxxY,.........",
    ".........YzzzzZZZZZyyyyyyyyyyxxxxxxxxY,.........",
    "........YzzzzzZZZZZyyyyyyyyyyxxxxxxxxxY,........",
    ".......YzzzzzZZZZZZyyyyyyyyyyxxxxxxxxxxY........",
    "......YzzzzzZZZZZZyyyyyyyyyyyyxxxxxxxxxxY.......",
    "....YYzzzzzzZZZZZZyyyyyyyyyyyyxxxxxxxxxxxYY.....",
    "...YYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYY....",
    "...YzzzzzzzzzzyyyyyyyyyyyyyyyyyyyxxxxxxxxxxY,...",
    "...YzzzzzzzzzzyyyyyyyyyyyyyyyyyyyxxxxxxxxxxY,,..",
    "...YzzzzzzzzzzyyyyyyyyyyyyyyyyyyyxxxxxxxxxxY,,..",
    "...YYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYY,,..",
    ".....,,,,,,,,,,,,,,,YzzyyxY,,,,,,,,,,,,,,,,,,,..",
    "....................YzyyyxY,,...................",
    ".....................YyyxY,,,...................",
    "......................YYY,,,....................",
    ".......................,,,,.....................",
    "................................................",
    "................................................",
};

constexpr std::string_view kBell32[] = {
"................................",
    "..............YYY...............",
    ".............YZyxY..............",
    ".............YZyxY,.............",
    ".............YZyxY,.............",
    "...........YYZyyyxYY............",
    "..........YzZZyyyyxxY...........",
    ".........YzZZyyyyyxxxY..........",
    "........YzzZZyyyyyxxxxY.........",
    "........YzzZZyyyyyxxxxY,........",
    "........YzzZZyyyyyxxxxY,........",
    "........YzzZZyyyyyxxxxY,........",
    "........YzzZZyyyyyxxxxY,........",
    ".......YzzzZZyyyyyxxxxxY........",
    ".......YzzZZZyyyyyxxxxxY,.......",
    ".......YzzZZZyyyyyxxxxxY,.......",
    ".......YzzZZZyyyyyxxxxxY,.......",
    ".......YzzZZZyyyyyyxxxxY,.......",
    ".......YzzZZZyyyyyyxxxxY,.......",
    "......YzzzZZZyyyyyyxxxxxY.......",
    "......YzzzZZZyyyyyyxxxxxY,......",
    ".....YzzzZZZyyyyyyyxxxxxxY......",
    "....YzzzzZZZyyyyyyyxxxxxxxY.....",
    "...YzzzzZZZZyyyyyyyyxxxxxxxY....",
    "..YYYYYYYYYYYYYYYYYYYYYYYYYYY...",
    "..YzzzzzzyyyyyyyyyyyyyxxxxxxY,..",
    "..YzzzzzzyyyyyyyyyyyyyxxxxxxY,..",
    "..YYYYYYYYYYYYYYYYYYYYYYYYYYY,..",
    "...,,,,,,,,,,YzyxY,,,,,,,,,,,,..",
    ".............YzyxY,.............",
    "..............YYY,,.............",
    "...............,,,..............",
};

}  // namespace

Art AlarmIconArt(int size) {
  switch (size) {
    case 16: return {"alarm icon 16", ImageListArt(kImageSetAlarm).rows};
    case 32: return {"alarm icon 32", kBell32};
    case 48: return {"alarm icon 48", kBell48};
    default: throw std::out_of_range("the alarm icon is drawn at 16, 32 and 48 pixels");
  }
}

}  // namespace lq
