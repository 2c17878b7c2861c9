// The main window's image list, 16 x 16 each. Characters are palette entries (artwork.cpp);
// '.' is transparent. Every shape carries a dark outline of its own hue so it holds on the
// pale row colours, on the orange overdue rows and on the selection blue alike.

#include <stdexcept>

#include "res/artwork.h"

namespace lq {
namespace {

constexpr std::string_view kAdd[] = {
    "................",
    ".....BBBBBB.....",
    ".....BCcccB.....",
    ".....BcbbaB.....",
    ".....BcbbaB.....",
    ".BBBBBcbbaBBBBB.",
    ".BCcccbbbbccccB.",
    ".BcbbbbbbbbbbaB.",
    ".BcbbbbbbbbbbaB.",
    ".BcaaabbbbaaaaB.",
    ".BBBBBcbbaBBBBB.",
    ".....BcbbaB.....",
    ".....BcbbaB.....",
    ".....BcaaaB.....",
    ".....BBBBBB.....",
    "................",
};

constexpr std::string_view kDelete[] = {
    "................",
    "..RRR......RRR..",
    ".RSssR....RSssR.",
    ".RsrrsR..RSrrqR.",
    ".RsrrrsRRSrrrqR.",
    "..RsrrrssrrrqR..",
    "...RsrrrrrrqR...",
    "....RsrrrrqR....",
    "....RsrrrrqR....",
    "...RSrrrrrrsR...",
    "..RSrrrqqrrrsR..",
    ".RSrrrqRRsrrrsR.",
    ".RsrrqR..RsrrqR.",
    ".RsqqR....RsqqR.",
    "..RRR......RRR..",
    "................",
};

constexpr std::string_view kExit[] = {
    "................",
    "......NNNNNNNNNN",
    "......NKKKKKNOoN",
    "......NKDDDDNOoN",
    ".....GGKDDDDNOoN",
    ".....GhGDDDDNOoN",
    "GGGGGGhhGDDDNOoN",
    "GHhhhhhhhGDDNOoN",
    "GhgggggggfGDNOoN",
    "GffffffffGDDNOnN",
    "GGGGGGffGDDDNOnN",
    ".....GfGDDDDNOnN",
    ".....GGKDDDDNOnN",
    "......NKDDDDNOnN",
    "......NNNNNNNNNN",
    "................",
};

constexpr std::string_view kDone[] = {
    "................",
    "................",
    "............GGGG",
    ".DDDDDDDDDDGHhhG",
    ".DWWWWWWWWGGhgfG",
    ".DWWWWWWWGGHgfG.",
    ".DWGWWWWGGHgfG..",
    ".DGHGWWWGHgfG...",
    ".GHghGWGHgfGD...",
    ".DGhghGHgfGWD...",
    ".DWGhghgfGWWD...",
    ".DWWGhgfGWWWD...",
    ".DWWWGhGWWWWD...",
    ".DWWWWGWWWWWD...",
    ".DDDDDDDDDDDD...",
    "................",
};

constexpr std::string_view kNotDone[] = {
    "................",
    "................",
    "................",
    ".DDDDDDDDDDDD...",
    ".DWWWWWWWWWWD...",
    ".DWWWWWWWWWWD...",
    ".DWWWWWWWWWWD...",
    ".DWWWWWWWWWWD...",
    ".DWWWWWWWWWWD...",
    ".DWWWWWWWWWWD...",
    ".DWWWWWWWWWWD...",
    ".DWWWWWWWWWWD...",
    ".DWWWWWWWWWWD...",
    ".DWWWWWWWWWWD...",
    ".DDDDDDDDDDDD...",
    "................",
};

constexpr std::string_view kSettings[] = {
    ".......KK.......",
    "......KllK......",
    ".....KMmllK.....",
    ".....KMMmllK....",
    "......KMMmllK...",
    ".......KMMmllK..",
    ".......NKMMmllK.",
    "......NooKMMmlK.",
    ".....NoooNKMMK..",
    "....NoooN..KK...",
    "...NoooN........",
    "..NoooN.........",
    ".NoooN..........",
    "NoooN...........",
    "NooN............",
    "NNN.............",
};

constexpr std::string_view kEdit[] = {
    "............PP..",
    "...........PppP.",
    "..........KWppPP",
    ".........GWlmPPP",
    "........GHhmMMP.",
    ".......GHhgfMK..",
    "......GHhgffG...",
    ".....GHhgffG....",
    "....GHhgffG.....",
    "...GHhgffG......",
    "..NOhgffG.......",
    "..OOoffG........",
    ".KOonnG.........",
    ".KDnnN..........",
    "KDKK............",
    ".K..............",
};

constexpr std::string_view kSearch[] = {
    ".....KKK........",
    "...KmmmmmK......",
    "..KmmWCCmmK.....",
    ".KmmWCCCCmMK....",
    ".mmWCCCCCCMM....",
    "KmWCCCCCCCCMK...",
    "KmCCCCCCCCCMK...",
    "KmCCCCCCCCCMK...",
    ".mmCCCCCCCMM....",
    ".KmmCCCCCMMKK...",
    "..KMMCCCMMKDKK..",
    "...KMMMMMKDDDKK.",
    ".....KKK.KKDDDKK",
    "..........KKDDDK",
    "...........KKDDD",
    "............KKDK",
};

constexpr std::string_view kMoveDate[] = {
    ".......BB.......",
    "......BCcB......",
    ".....BCbbcB.....",
    "....BCbbbbcB....",
    "...BCaabbaacB...",
    "..BBBBBcaBBBBB..",
    "......BcaB......",
    "......BcaB......",
    "......BcaB......",
    "......BcaB......",
    "..BBBBBcaBBBBB..",
    "...BCccbbcccB...",
    "....BcbbbbaB....",
    ".....BcbbaB.....",
    "......BcaB......",
    ".......BB.......",
};

constexpr std::string_view kSync[] = {
    "................",
    ".........GG.....",
    "GGGGGGGGGGhGG...",
    "GHhhhhhhhhhhhGG.",
    "GhgggggggggggggG",
    "GffffffffffffGG.",
    "GGGGGGGGGGfGG...",
    ".........GG.....",
    ".....BB.........",
    "...BBcBBBBBBBBBB",
    ".BBCcccccccccccB",
    "BcbbbbbbbbbbbbbB",
    ".BBaaaaaaaaaaaaB",
    "...BBaBBBBBBBBBB",
    ".....BB.........",
    "................",
};

constexpr std::string_view kAttachmentMark[] = {
    "................",
    ".KKKKKKKKKKKKKK.",
    ".KMMMMMMMMMMMMK.",
    ".KMDDDDDDDDDDDK.",
    ".KMDDDDDDDDDDDK.",
    ".KMDDDDDDDDDDDK.",
    ".KMDDDDDDDDDDDK.",
    ".KMDDDDDDDDDDDK.",
    ".KMDDDDDDDDDDDK.",
    ".KMDDDDDDDDDDDK.",
    ".KMDDDDDDDDDDDK.",
    ".KMDDDDDDDDDDDK.",
    ".KMDDDDDDDDDDDK.",
    ".KMDDDDDDDDDDDK.",
    ".KKKKKKKKKKKKKK.",
    "................",
};

constexpr std::string_view kOpenAttachment[] = {
    "................",
    "................",
    ".YYYY...........",
    "YZzzzY..........",
    "YzyyyyYYYYYYY...",
    "YzyyyyyyyyyxY...",
    "YzyyyyyyyyyxY...",
    "YzyYYYYYYYYYYYYY",
    "YzyYZZZZZZZZZZZY",
    "YzYzzzzzzzzzzzY.",
    "YzYzzzzzzzzzzyY.",
    "YYzzzzzzzzzzyY..",
    "YYyyyyyyyyyyxY..",
    "YYYYYYYYYYYYY...",
    "................",
    "................",
};

constexpr std::string_view kAttachment[] = {
    "................",
    ".......KKKK.....",
    "......K....K....",
    "....K.K.KK.K....",
    "....K.K.K.KK....",
    "....K.K.K.KK....",
    "....K.K.K.KK....",
    "....K.K.K.KK....",
    "....K.K.K.KK....",
    "....K.K.K.KK....",
    "....K..K..KK....",
    "....K.....KK....",
    "....K.....K.....",
    ".....KKKKK......",
    "................",
    "................",
};

constexpr std::string_view kBulkDelete[] = {
    "..R.....R.......",
    ".RSR...RSR......",
    "RSrsR.RSrsR.....",
    ".RsrsRSrqR......",
    "..RsrRRRR...RRR.",
    "...RRRSRR..RRSRR",
    "..RSRSrsRRRRSrsR",
    ".RSrRRsrsRRSrqRR",
    "RSrqRRRsrssrqRR.",
    ".RsR..RRsrrqRR..",
    "..R...RRsrrqRR..",
    ".....RRSrqqrsRR.",
    "....RRSrqRRsrsRR",
    "....RSrqRRRRsrsR",
    "....RRsRR..RRsRR",
    ".....RRR....RRR.",
};

constexpr std::string_view kOpenFolder[] = {
    "................",
    "....YYYY........",
    "...YZzzzYYYYYY..",
    "...YzyyyyyyyyxY.",
    "YYYYYYYYyyyyyxY.",
    "YZzzzYYYYYYYyxY.",
    "YzyyyyyyyyyyYxY.",
    "YzyyyyyyyyyyYxY.",
    "YzyyyyyyyyyyYYY.",
    "YzyyyyyyyyyyY...",
    "YzyyyyyyyyyyY...",
    "YxxxxxxxxxxxY...",
    "YYYYYYYYYYYYY...",
    "................",
    "................",
    "................",
};

constexpr std::string_view kUrl[] = {
    "................",
    ".....BBBBBB.....",
    "...BBcccccbBB...",
    "..BcCCcccbbbbB..",
    "..BCCCCcbbbbbB..",
    ".BcCCCCbbbbbbbB.",
    ".BccCCbbbbbbbaB.",
    ".BcccbbbbbbbaaB.",
    ".BccbbbbbbbaaaB.",
    ".BcbbbbbbbaaaaB.",
    ".BbbbbbbbaaaaaB.",
    "..BbbbbbaaaaaB..",
    "..BbbbbaaaaaaB..",
    "...BBbaaaaaBB...",
    ".....BBBBBB.....",
    "................",
};

constexpr std::string_view kUrlMark[] = {
    "................",
    ".....BBBBBB.....",
    "...BBcccccbBB...",
    "..BcCCcccbbbbB..",
    "..BCCCCcbbbbbB..",
    ".BcCCCCbbbbbbbB.",
    ".BccCCbbbbbbbaB.",
    ".BcccbbbbbbbaaB.",
    ".BccbbbbbbbaaaB.",
    ".BcbbbbbbbaaaaB.",
    ".BbbbbbbbaaaaaB.",
    "..BbbbbbaaaaaB..",
    "..BbbbbaaaaaaB..",
    "...BBbaaaaaBB...",
    ".....BBBBBB.....",
    "................",
};

constexpr std::string_view kAlarm[] = {
    ".......YY.......",
    "......YzyY......",
    "....YYZzyyYY....",
    "...YZzzyyyyxY...",
    "...YzzyyyyyxY...",
    "...YzyyyyyyxY...",
    "...YzyyyyyyxY...",
    "...YzyyyyyyxY...",
    "..YZzyyyyyyyxY..",
    "..YzyyyyyyyyxY..",
    ".YZzyyyyyyyyyxY.",
    "YYYYYYYYYYYYYYYY",
    "YzzzzzyyyyyyyxxY",
    "YYYYYYYYYYYYYYYY",
    "......YzyY......",
    ".......YY.......",
};

constexpr std::string_view kAlarmMark[] = {
    ".......YY.......",
    "......YzzY......",
    "....YYY..YYY....",
    "...YZ......xY...",
    "...Yz......xY...",
    "...Yz......xY...",
    "...Yz......xY...",
    "...Yz......xY...",
    "..YZ........xY..",
    "..Yz........xY..",
    ".YZ..........xY.",
    "YYYYYYYYYYYYYYYY",
    "Yz............xY",
    "YYYYYYYYYYYYYYYY",
    "......YzyY......",
    ".......YY.......",
};

constexpr Art kImages[] = {
    {"add", kAdd},
    {"delete", kDelete},
    {"exit", kExit},
    {"done", kDone},
    {"not done", kNotDone},
    {"settings", kSettings},
    {"edit", kEdit},
    {"search", kSearch},
    {"move date", kMoveDate},
    {"sync", kSync},
    {"attachment mark", kAttachmentMark},
    {"open attachment", kOpenAttachment},
    {"attachment", kAttachment},
    {"bulk delete", kBulkDelete},
    {"open folder", kOpenFolder},
    {"url", kUrl},
    {"url mark", kUrlMark},
    {"alarm", kAlarm},
    {"alarm mark", kAlarmMark},
};
static_assert(std::size(kImages) == kImageCount);

}  // namespace

Art ImageListArt(int index) {
  if (index < 0 || index >= kImageCount) throw std::out_of_range("no such image in the image list");
  return kImages[index];
}

}  // namespace lq
