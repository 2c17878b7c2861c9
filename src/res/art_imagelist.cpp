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
    ".....BCCCCB.....",
    ".....BCccbB.....",
    ".....BCccbB.....",
    ".BBBBBCccbBBBBB.",
    ".BCCCCccccCCCCB.",
    ".BCccccccccccbB.",
    ".BCccccccccccbB.",
    ".BCbbbccccbbbbB.",
    ".BBBBBCccbBBBBB.",
    ".....BCccbB.....",
    ".....BCccbB.....",
    ".....BCbbbB.....",
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
    "..............G.",
    ".............GHG",
    ".DDDDDDDDDDDGHgG",
    ".DeeeeeeeeeGHgfG",
    ".GGWWWWWWWGHgfG.",
    "GHhGWWWWWGHgfG..",
    "GfghGWWWGHgfG...",
    ".GfghGWGHgfGD...",
    ".DGfghGHgfGWD...",
    ".DeGfghgfGWWD...",
    ".DeWGfgfGWWWD...",
    ".DeWWGfGWWWWD...",
    ".DeWWWGWWWWWD...",
    ".DDDDDDDDDDDD...",
    "................",
};

constexpr std::string_view kNotDone[] = {
    "................",
    "................",
    "..DDDDDDDDDDDD..",
    "..DeeeeeeeeeeD..",
    "..DeWWWWWWWWWD..",
    "..DeWWWWWWWWWD..",
    "..DeWWWWWWWWWD..",
    "..DeWWWWWWWWWD..",
    "..DeWWWWWWWWWD..",
    "..DeWWWWWWWWWD..",
    "..DeWWWWWWWWWD..",
    "..DeWWWWWWWWWD..",
    "..DeWWWWWWWWWD..",
    "..DDDDDDDDDDDD..",
    "................",
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
    "............PpP.",
    "...........PppPP",
    "..........PpppPP",
    ".........KWlpPPP",
    "........GHlmMPP.",
    ".......GHhgMMK..",
    "......GHhggfG...",
    ".....GHhggfG....",
    "....GHhggfG.....",
    "...GHhggfG......",
    "...NOggfG.......",
    "..NOOnfG........",
    "..NOonN.........",
    ".KDnN...........",
    "KDK.............",
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
    "......BCbB......",
    ".....BCccbB.....",
    "....BCccccbB....",
    "...BCbbCbbbbB...",
    "..BBBBBCbBBBBB..",
    "......BCbB......",
    "......BCbB......",
    "......BCbB......",
    "......BCbB......",
    "..BBBBBCbBBBBB..",
    "...BCCCCCCCbB...",
    "....BCccccbB....",
    ".....BCccbB.....",
    "......BCbB......",
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
    "...BBCBBBBBBBBBB",
    ".BBCCCCCCCCCCCCB",
    "BCcccccccccccccB",
    ".BBbbbbbbbbbbbbB",
    "...BBbBBBBBBBBBB",
    ".....BB.........",
    "................",
};

constexpr std::string_view kAttachmentMark[] = {
    "................",
    "..KKKKKKKKKKKK..",
    ".KKMMMMMWWWMMKK.",
    ".KDDDDDWDDDWDDK.",
    ".KDDDDDWDDDWDDK.",
    ".KDDDWDWDDDWDDK.",
    ".KDDDWDWDWDWDDK.",
    ".KDDDWDWDWDWDDK.",
    ".KDDDWDWDWDWDDK.",
    ".KDDDWDWDWDWDDK.",
    ".KDDDWDWDWDWDDK.",
    ".KDDDWDDWDDWDDK.",
    ".KDDDWDDDDDWDDK.",
    ".KKDDDWWWWWDDKK.",
    "..KKKKKKKKKKKK..",
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
    "........mmmmm...",
    "........KKKKK...",
    "......mK....mK..",
    "......mK....mK..",
    "...mK.mK....mK..",
    "...mK.mK....mK..",
    "...mK.mK.mK.mK..",
    "...mK.mK.mK.mK..",
    "...mK.mK.mK.mK..",
    "...mK.mK.mK.mK..",
    "...mK.mK.mK.mK..",
    "...mK.mKmmK.mK..",
    "...mK...KK..mK..",
    "...mKmmmmmmmmK..",
    ".....KKKKKKKK...",
    "................",
};

constexpr std::string_view kBulkDelete[] = {
    ".RR.....RR......",
    "RSSR...RSSR.....",
    "RrsSR.RSsrR.....",
    ".RrsSRSsrR......",
    "..RrsRRrR....RR.",
    "...RRSsR....RSsR",
    "..RSRqrsR..RSrqR",
    ".RSsrRqrsRRSrqR.",
    "RSsrR.RqrssrqR..",
    "RrrR...RrrrrR...",
    ".RR....RrrrrR...",
    "......RSrqqrsR..",
    ".....RSrqRRqrsR.",
    "....RSrqR..RqrsR",
    "....RqqR....RqqR",
    ".....RR......RR.",
};

constexpr std::string_view kOpenFolder[] = {
    "................",
    ".....YYYY.......",
    "....YzzzzYYYYYY.",
    "....YzyyyyyyyyyY",
    "....YyyyyyyyyyxY",
    ".YYYYyyyyyyyyyxY",
    "YZZZZYYYYYYyyyxY",
    "YZzzzzzzzzzYyyxY",
    "YzyyyyyyyyxYyyxY",
    "YzyyyyyyyyxYxxxY",
    "YzyyyyyyyyxYYYYY",
    "YzyyyyyyyyxY....",
    "YzyyyyyyyyxY....",
    "YxxxxxxxxxxY....",
    "YYYYYYYYYYYY....",
    "................",
};

constexpr std::string_view kUrl[] = {
    "................",
    ".....BBBBBB.....",
    "...BBhhcccbBB...",
    "..BchgghcbbbhB..",
    "..BhgggfbbbhfB..",
    ".BcChggfbbhgghB.",
    ".BccChgfbbhggfB.",
    ".BcccbhfbbbhgfB.",
    ".BccbbbhbbbagfB.",
    ".BcbbbhfbbaaagB.",
    ".BbbbbhghaaaaaB.",
    "..BbbbbhfaaaaB..",
    "..BbbbbagaaaaB..",
    "...BBbaaaaaBB...",
    ".....BBBBBB.....",
    "................",
};

constexpr std::string_view kUrlMark[] = {
    "................",
    ".....BBBBBB.....",
    "...BBWWaaCCBB...",
    "..BWWaCCCCaCCB..",
    "..BaaaaaaaaaaB..",
    ".BWCaCCCCCCaCCB.",
    ".BCCaCCCCCCaCCB.",
    ".BaaaaaaaaaaaaB.",
    ".BCCaCCCCCCaCCB.",
    ".BCCaCCCCCCaCCB.",
    ".BCCaCCCCCCaCCB.",
    "..BaaaaaaaaaaB..",
    "..BCCaCCCCaCCB..",
    "...BBCCaaCCBB...",
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
