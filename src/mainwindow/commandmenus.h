#pragma once
// The main window's popup menus, made from the command table: the grid menu with its
// attachment submenu, the attachment menu, the edit menu and the tray menu. Their captions,
// images and enabled states persist between showings and change only when a menu is prepared
// for a task, so a shortcut finds an item as the last right-click left it.

#include <windows.h>

#include <array>
#include <optional>
#include <vector>

#include "commands/commandtable.h"
#include "platform/handles.h"

namespace lq::win {

class CommandMenus {
 public:
  // Makes the menus; every other call makes them first when they are not made yet, so the
  // start-up does without them.
  void Create();

  // Applies the table's states for a task and the window to every item of a menu (and of its
  // submenus).
  void Prepare(MenuKind menu, const CommandContext& ctx);
  // Whether the grid menu (with its submenu) would run the command now.
  bool GridItemEnabled(Command c) const;
  // Opens a menu at a screen point and returns the chosen command.
  std::optional<Command> Track(MenuKind menu, HWND owner, POINT screen, UINT align = TPM_LEFTALIGN | TPM_TOPALIGN);

  HMENU Handle(MenuKind menu) const {
    Ensure();
    return handles_[static_cast<std::size_t>(menu)];
  }

 private:
  void Apply(MenuKind menu, Command c, const ItemState& s);
  HBITMAP Picture(MenuKind menu, int index) const;
  bool Present(MenuKind menu, Command c) const;
  void Ensure() const {
    if (!created_) const_cast<CommandMenus*>(this)->Create();
  }

  std::array<Menu, kMenuCount> menus_;
  std::array<HMENU, kMenuCount> handles_{};  // submenus too, which go with their parents
  std::array<bool, kMenuCount> owned_{};     // a submenu goes with its parent
  std::vector<Bitmap> images_;
  Bitmap blank_;
  bool created_ = false;
};

}  // namespace lq::win
