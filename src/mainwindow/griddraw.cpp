// Drawing the task grid: every cell in the font and colours of its row's urgency class.
#include <algorithm>

#include "mainwindow/mainwindow.h"
#include "platform/codepage.h"
#include "res/artwork.h"
#include "settings/colors.h"
#include "store/repeat.h"
#include "store/text.h"

namespace lq::win {
namespace {

std::uint32_t SystemColour(int index) { return static_cast<std::uint32_t>(::GetSysColor(index)); }

}  // namespace

COLORREF TfrmToDo::Resolve(std::uint32_t colourValue) const {
  return static_cast<COLORREF>(ResolveColor(colourValue, &SystemColour));
}

void TfrmToDo::ClearFontCache() { fonts_.clear(); }

HFONT TfrmToDo::FontFor(const ClassStyle& style, bool bold) {
  for (const CachedFont& f : fonts_) {
    if (f.bold == bold && f.size == style.FontSize && f.name == style.FontName) return f.font.Get();
  }
  LOGFONTW lf{};
  lf.lfHeight = -::MulDiv(style.FontSize, Dpi(), 72);
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  const std::wstring face = FromCp932(style.FontName);
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  CachedFont entry{style.FontName, style.FontSize, bold, Font(::CreateFontIndirectW(&lf))};
  fonts_.push_back(std::move(entry));
  return fonts_.back().font.Get();
}

int TfrmToDo::MeasureTextWidth(std::string_view text, bool withTitle) {
  const std::wstring wide = FromCp932(text);
  const WindowDc dc(Handle());
  int widest = 0;
  for (int c = withTitle ? 0 : 1; c < kUrgencyClassCount; ++c) {
    SelectGuard font(dc, FontFor(settings_.Classes[static_cast<std::size_t>(c)], true));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  return widest;
}

void TfrmToDo::gridToDoDrawCell(HDC dc, int col, int row, const RECT& cell) {
  const TaskTable& table = list_.Table();
  const std::int32_t d = DaysValue(table.Cell(colDaysLeft, row));
  const bool bold = d == 0;
  const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (col == colText ? DT_LEFT : DT_CENTER);
  const ClassStyle& title = settings_.Class(UrgencyClass::Title);

  if (row == 0) {
    if (editMode_) {
      DrawTaskCell(dc, cell, col, row, title, bold, format, Resolve(title.TextColor), Resolve(title.BackColor));
    } else {
      DrawTaskCell(dc, cell, col, row, title, bold, format, Resolve(SystemColor(kColorInactiveCaptionText)),
                   static_cast<COLORREF>(MixColors(SystemColor(kColorInactiveCaption),
                                                   SystemColor(kColorGradientInactiveCaption), &SystemColour)));
    }
    return;
  }

  const ClassStyle& style = settings_.Class(ClassOfDays(d));
  if (editMode_ && row == list_.CurrentRow()) {
    DrawTaskCell(dc, cell, col, row, style, bold, format, Resolve(SystemColor(kColorHighlightText)),
                 Resolve(SystemColor(kColorHighlight)));
  } else {
    DrawTaskCell(dc, cell, col, row, style, bold, format, Resolve(style.TextColor), Resolve(style.BackColor));
  }
}

void TfrmToDo::DrawTaskCell(HDC dc, const RECT& cell, int col, int row, const ClassStyle& style, bool bold,
                            UINT format, COLORREF text, COLORREF background) {
  ::SetDCBrushColor(dc, background);
  ::FillRect(dc, &cell, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));

  const TaskTable& table = list_.Table();
  std::string_view content = table.Cell(col, row);
  if (!editMode_ && col == colDueDate && row > 0) content = ShortenDueDate(content, settings_.DateFormat);

  RECT textRect = cell;
  const int gap = Scale(2);
  textRect.left += gap;

  SelectGuard font(dc, FontFor(style, bold));
  ::SetTextColor(dc, text);
  ::SetBkMode(dc, TRANSPARENT);

  const int markTop = (cell.top + cell.bottom - Scale(12)) / 2;
  const int markLeft = textRect.left - Scale(kImageSize / 2) + rowHeight_ / 2;
  if (col == colText && row > 0) {
    const std::string_view attachment = table.Cell(colAttachment, row);
    if (!attachment.empty()) {
      const int image = IsWebAddress(attachment) ? kImageUrlMark : kImageAttachmentMark;
      ImageList_Draw(images_.Get(), image, dc, markLeft, markTop, ILD_TRANSPARENT);
      textRect.left += rowHeight_ + gap;
    }
  }
  if (col == colText && row == 0) {
    textRect.right = cell.right - HeaderButtonsRoom(Dpi());
    format = (format & ~static_cast<UINT>(DT_LEFT)) | DT_CENTER;
  }
  // The alarm mark, then the repetition's, each placed as the attachment mark is.
  const auto drawMark = [&](int image) {
    ImageList_Draw(images_.Get(), image, dc, textRect.left - Scale(kImageSize / 2) + rowHeight_ / 2, markTop,
                   ILD_TRANSPARENT);
    textRect.left += rowHeight_ + gap;
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

}  // namespace lq::win
