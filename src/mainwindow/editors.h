#pragma once
// The two in-place editors laid over the current row: the text editor `edtToDoText` over the
// task text and the date picker `cmbDate` over the due date. At most one is open. The class
// keeps what only the editors know — which row the open one writes to, whether they are being
// hidden on purpose (then their exit handling does not run), whether the picker's calendar is
// down — and tells the window what the user did through its callbacks.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "geometry/layout.h"
#include "store/datetext.h"

namespace lq::win {

// Typing and pasting stop a task's text at this many characters.
inline constexpr std::size_t kMaxTaskTextCharacters = 100;

class InPlaceEditors {
 public:
  struct Callbacks {
    std::function<void()> textChanged;           // the user changed the text editor's text
    std::function<void()> textExit;              // the text editor lost the focus
    std::function<bool(WPARAM key)> textKeyDown; // true when the window took the key
    std::function<void()> dateChanged;           // the picker reports a date
    std::function<void()> dateExit;              // the picker lost the focus
    std::function<void()> leave;                 // Enter or Escape: the list takes the focus
    std::function<void(UINT msg, WPARAM, LPARAM)> wheel;  // a wheel the editors do not use
    std::function<bool()> imeOnFocus;            // switch the input method on with the focus
    std::function<bool()> dateCursorTurn;        // Up and Down exchanged in the picker
    std::function<void(HWND)> dateMade;          // the picker, made on first use
  };

  // Hides the editors on purpose for a scope: their exit handling does not run meanwhile.
  class Quiet {
   public:
    explicit Quiet(InPlaceEditors& e) : flag_(e.quiet_), old_(e.quiet_) { flag_ = true; }
    ~Quiet() { flag_ = old_; }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

   private:
    bool& flag_;
    bool old_;
  };

  void Create(HWND parent, Callbacks callbacks);

  HWND TextHandle() const { return edtToDoText; }
  HWND DateHandle() const { return cmbDate; }
  bool TextOpen() const { return ::IsWindowVisible(edtToDoText) != FALSE; }
  bool DateOpen() const { return ::IsWindowVisible(cmbDate) != FALSE; }
  bool AnyOpen() const { return TextOpen() || DateOpen(); }
  bool Focused() const;
  bool IsQuiet() const { return quiet_; }

  // The row the open editor was opened on: it writes there and nowhere else.
  int Row() const { return row_; }
  void SetRow(int row) { row_ = row; }

  void SetFont(HFONT font, bool redraw);
  void HideText();
  void HideDate();
  // Both hidden on purpose; the focus goes to `list` when an editor had it.
  void HideBoth(HWND list);

  // The text editor: its text set without a change notice, read, or put back after filtering
  // with the caret at a place.
  void LoadText(const std::wstring& text);
  // Loads `text` in `font` unless the editor already holds exactly that: laying a long text
  // out again costs far more than reading it back. Either way the editor ends as a load
  // leaves it, the caret at the start and nothing to undo.
  void LoadText(const std::wstring& text, HFONT font);
  std::wstring Text() const;
  void ReplaceText(const std::wstring& text, std::size_t caret);
  std::size_t Caret() const;  // where the caret stands, in UTF-16 units
  void SelectAllText();
  void ShowTextAt(const Rect& bounds, bool focus);
  // A paste stops where typing stops and becomes one line.
  void PasteClipboard(std::size_t maxCharacters);
  // The text editor holds typing of its own since its text was loaded: Ctrl+Z takes that back
  // before the list's last change. True when there was some to take back.
  void NoteTyping() { typed_ = true; }
  bool UndoOwnTyping();

  // The date picker.
  void SetDate(Date date);
  std::optional<Date> PickedDate() const;
  void ShowDateAt(const Rect& bounds);

  // WM_COMMAND and WM_NOTIFY of the editors, from the window that receives them; true when they
  // were the editors'.
  bool OnCommand(HWND control, WORD code);
  bool OnNotify(const NMHDR& hdr);
  // WM_CTLCOLOREDIT: the text editor is black on white whatever the row's colours.
  std::optional<LRESULT> OnCtlColorEdit(HWND control, HDC dc) const;

 private:
  static LRESULT CALLBACK TextProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
  static LRESULT CALLBACK DateProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
  LRESULT OnTextMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnDateMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void PlaceComposition();
  // The date picker is made when first shown or set; until then it is closed.
  void EnsureDate();

  HWND edtToDoText = nullptr;
  HWND cmbDate = nullptr;
  HWND parent_ = nullptr;
  HFONT font_ = nullptr;
  Callbacks cb_;
  int row_ = 1;
  bool quiet_ = false;
  bool settingText_ = false;
  bool dateDropped_ = false;
  bool typed_ = false;
};

}  // namespace lq::win
