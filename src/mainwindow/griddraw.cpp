// Drawing the task grid: every cell in the font and colours of its row's urgency class; and the
// header buttons.
#include "mainwindow/gridpainter.h"

#include <commctrl.h>

#include <algorithm>

#include "commands/commandtable.h"
#include "geometry/dpi.h"
#include "geometry/layout.h"
#include "platform/codepage.h"
#include "platform/imagelist.h"
#include "platform/window.h"
#include "res/artwork.h"
#include "settings/colors.h"
#include "store/repeat.h"
#include "store/text.h"

namespace lq::win {
namespace {

std::uint32_t SystemColour(int index) { return static_cast<std::uint32_t>(::GetSysColor(index)); }

}  // namespace

void GridPainter::MakeImages(int size) { images_.Reset(CreateMainImageList(size)); }

COLORREF GridPainter::Resolve(std::uint32_t colourValue) {
  return static_cast<COLORREF>(ResolveColor(colourValue, &SystemColour));
}

HFONT GridPainter::FontFor(const ClassStyle& style, bool bold, int dpi) {
  for (const CachedFont& f : fonts_) {
    if (f.bold == bold && f.size == style.FontSize && f.name == style.FontName) return f.font.Get();
  }
  LOGFONTW lf{};
  lf.lfHeight = -::MulDiv(style.FontSize, dpi, 72);
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  const std::wstring face = FromCp932(style.FontName);
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  CachedFont entry{style.FontName, style.FontSize, bold, Font(::CreateFontIndirectW(&lf))};
  fonts_.push_back(std::move(entry));
  return fonts_.back().font.Get();
}

int GridPainter::MeasureTextWidth(HWND window, std::string_view text, bool withTitle, int dpi) {
  const std::wstring wide = FromCp932(text);
  const WindowDc dc(window);
  int widest = 0;
  for (int c = withTitle ? 0 : 1; c < kUrgencyClassCount; ++c) {
    SelectGuard font(dc, FontFor(settings_.Classes[static_cast<std::size_t>(c)], true, dpi));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  return widest;
}

void GridPainter::DrawCell(HDC dc, int col, int row, const RECT& cell, const View& view) {
  const TaskTable& table = list_.Table();
  const std::int32_t d = DaysValue(table.Cell(colDaysLeft, row));
  const bool bold = d == 0;
  const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (col == colText ? DT_LEFT : DT_CENTER);
  const ClassStyle& title = settings_.Class(UrgencyClass::Title);

  if (row == 0) {
    if (view.editMode) {
      DrawTaskCell(dc, cell, col, row, title, bold, format, Resolve(title.TextColor), Resolve(title.BackColor), view);
    } else {
      DrawTaskCell(dc, cell, col, row, title, bold, format, Resolve(SystemColor(kColorInactiveCaptionText)),
                   static_cast<COLORREF>(MixColors(SystemColor(kColorInactiveCaption),
                                                   SystemColor(kColorGradientInactiveCaption), &SystemColour)),
                   view);
    }
    return;
  }

  const ClassStyle& style = settings_.Class(ClassOfDays(d));
  if (view.editMode && row == list_.CurrentRow()) {
    DrawTaskCell(dc, cell, col, row, style, bold, format, Resolve(SystemColor(kColorHighlightText)),
                 Resolve(SystemColor(kColorHighlight)), view);
  } else {
    DrawTaskCell(dc, cell, col, row, style, bold, format, Resolve(style.TextColor), Resolve(style.BackColor), view);
  }
}

void GridPainter::DrawTaskCell(HDC dc, const RECT& cell, int col, int row, const ClassStyle& style, bool bold,
                               UINT format, COLORREF text, COLORREF background, const View& view) {
  const auto scale = [&view](int pixels) { return ScaleToDpi(pixels, view.dpi); };
  ::SetDCBrushColor(dc, background);
  ::FillRect(dc, &cell, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));

  const TaskTable& table = list_.Table();
  std::string_view content = table.Cell(col, row);
  if (!view.editMode && col == colDueDate && row > 0) content = ShortenDueDate(content, settings_.DateFormat);

  RECT textRect = cell;
  const int gap = scale(2);
  textRect.left += gap;

  SelectGuard font(dc, FontFor(style, bold, view.dpi));
  ::SetTextColor(dc, text);
  ::SetBkMode(dc, TRANSPARENT);

  const int markTop = (cell.top + cell.bottom - scale(12)) / 2;
  const int markLeft = textRect.left - scale(kImageSize / 2) + view.rowHeight / 2;
  if (col == colText && row > 0) {
    const std::string_view attachment = table.Cell(colAttachment, row);
    if (!attachment.empty()) {
      const int image = IsWebAddress(attachment) ? kImageUrlMark : kImageAttachmentMark;
      ImageList_Draw(images_.Get(), image, dc, markLeft, markTop, ILD_TRANSPARENT);
      textRect.left += view.rowHeight + gap;
    }
  }
  if (col == colText && row == 0) {
    textRect.right = cell.right - HeaderButtonsRoom(view.dpi);
    format = (format & ~static_cast<UINT>(DT_LEFT)) | DT_CENTER;
  }
  // The alarm mark, then the repetition's, each placed as the attachment mark is.
  const auto drawMark = [&](int image) {
    ImageList_Draw(images_.Get(), image, dc, textRect.left - scale(kImageSize / 2) + view.rowHeight / 2, markTop,
                   ILD_TRANSPARENT);
    textRect.left += view.rowHeight + gap;
  };
  if (col == colText && row > 0 && table.Cell(colFlags, row).starts_with("A")) drawMark(kImageAlarmMark);
  if (col == colText && row > 0 && RepetitionOf(table.Cell(colFlags, row)).kind != Repeat::None) {
    drawMark(kImageRepeatMark);
  }

  // A left-aligned line shows no more characters than its cell has pixels (each is at least
  // one wide; the margin covers the rare zero-width one), so a long text is cut first.
  if ((format & (DT_CENTER | DT_RIGHT)) == 0) {
    content = TakeChars(content, 4 * static_cast<std::size_t>(std::max<LONG>(textRect.right - textRect.left, 64)));
  }
  const std::wstring wide = FromCp932(content);
  ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &textRect, format);
}

void GridPainter::DrawHeaderButton(const DRAWITEMSTRUCT& di, HBRUSH background, int dpi) {
  const bool pressed = (di.itemState & ODS_SELECTED) != 0;
  ::FillRect(di.hDC, &di.rcItem, pressed ? ::GetSysColorBrush(COLOR_BTNFACE) : background);
  const int offset = pressed ? 1 : 0;
  const int size = ScaleToDpi(kImageSize, dpi);
  const int x = (di.rcItem.left + di.rcItem.right - size) / 2 + offset;
  const int y = (di.rcItem.top + di.rcItem.bottom - size) / 2 + offset;
  const auto command = CommandOfButtonId(static_cast<int>(di.CtlID));
  const int image = command ? InfoOf(*command).image : -1;
  if (image >= 0) {
    ImageList_Draw(images_.Get(), image, di.hDC, x, y, ILD_TRANSPARENT);
  } else {
    // The system menu button: a small downward triangle.
    const int cx = (di.rcItem.left + di.rcItem.right) / 2 + offset;
    const int cy = (di.rcItem.top + di.rcItem.bottom) / 2 + offset;
    const int half = ScaleToDpi(4, dpi);
    const int rise = ScaleToDpi(2, dpi);
    const POINT tri[3] = {{cx - half, cy - rise}, {cx + half, cy - rise}, {cx, cy + rise}};
    const Pen pen(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNTEXT)));
    SelectGuard b(di.hDC, ::GetSysColorBrush(COLOR_BTNTEXT));
    SelectGuard p(di.hDC, pen.Get());
    ::Polygon(di.hDC, tri, 3);
  }
  if (pressed) {
    RECT edge = di.rcItem;
    ::DrawEdge(di.hDC, &edge, BDR_SUNKENOUTER, BF_RECT);
  }
}

}  // namespace lq::win
