#pragma once
// Draws the task grid's cells in the font and colours of each row's urgency class, with the
// marks of the main image list (which the header buttons draw from too). It keeps the fonts it
// made (by face, size and weight) until the settings or the display's scale change.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/handles.h"
#include "settings/settings.h"
#include "store/tasklist.h"

namespace lq::win {

class GridPainter {
 public:
  // What the window is showing, read at each cell.
  struct View {
    bool editMode = true;
    int rowHeight = 16;
    int dpi = 96;
  };

  GridPainter(const TaskList& list, const Settings& settings) : list_(list), settings_(settings) {}

  void DrawCell(HDC dc, int col, int row, const RECT& cell, const View& view);
  // A header button: its command's mark, or the system menu's triangle, on the window's colour.
  void DrawHeaderButton(const DRAWITEMSTRUCT& di, HBRUSH background, int dpi);
  HFONT FontFor(const ClassStyle& style, bool bold, int dpi);
  // The widest the text is in the bold font of any urgency class (with the title's or not).
  int MeasureTextWidth(HWND window, std::string_view text, bool withTitle, int dpi);
  void ClearFontCache() { fonts_.clear(); }
  // The main image list, made anew at `size` pixels.
  void MakeImages(int size);
  HIMAGELIST Images() const { return images_.Get(); }
  static COLORREF Resolve(std::uint32_t colourValue);

 private:
  void DrawTaskCell(HDC dc, const RECT& cell, int col, int row, const ClassStyle& style, bool bold, UINT format,
                    COLORREF text, COLORREF background, const View& view);

  const TaskList& list_;
  const Settings& settings_;
  struct CachedFont {
    std::string name;
    int size = 0;
    bool bold = false;
    Font font;
  };
  std::vector<CachedFont> fonts_;
  ImageList images_;
};

}  // namespace lq::win
