#pragma once
// The hints of the header buttons and the view image: one tooltip control, made when the mouse
// first comes onto one of them (a window with many controls starts faster without it), and
// silenced while a menu is open.

#include <windows.h>

#include <vector>

namespace lq::win {

class HeaderHints {
 public:
  HeaderHints() = default;
  HeaderHints(const HeaderHints&) = delete;
  HeaderHints& operator=(const HeaderHints&) = delete;

  // The window that owns the control once it is made.
  void Attach(HWND owner) { owner_ = owner; }
  // A tool and its hint. `watchFirstHover`: the tool tells of the mouse's first coming itself;
  // any other calls FirstMove from its mouse handler.
  void Add(HWND parent, HWND tool, const wchar_t* text, bool watchFirstHover);
  // A mouse message on a tool: the control is made on the first one and told of it.
  void FirstMove(HWND tool, UINT msg, WPARAM wParam, LPARAM lParam);
  // The hint that shows goes.
  void Pop();
  // Silent, no hint shows, also none whose delay is running.
  void Silence(bool silent);

  // No hint over a menu while it is open.
  class Off {
   public:
    explicit Off(HeaderHints& h) : h_(h) { h_.Silence(true); }
    ~Off() { h_.Silence(false); }
    Off(const Off&) = delete;
    Off& operator=(const Off&) = delete;

   private:
    HeaderHints& h_;
  };

 private:
  static LRESULT CALLBACK FirstHover(HWND tool, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
  void Create();

  HWND owner_ = nullptr;
  HWND tooltips_ = nullptr;
  struct Hint {
    HWND parent;
    HWND tool;
    const wchar_t* text;
    bool watched;
  };
  std::vector<Hint> hints_;  // the tools of tooltips_
};

}  // namespace lq::win
