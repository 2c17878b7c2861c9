#include "mainwindow/commandmenus.h"

#include <string>

#include "platform/imagelist.h"
#include "platform/window.h"
#include "res/artwork.h"

namespace lq::win {
namespace {

// A clear picture for an item without one (常に最前面に表示): the texts are drawn after the
// widest picture, and Wine measures an item without its picture, cutting its text short.
HBITMAP CreateBlankMenuBitmap(int size) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = size;
  bi.bmiHeader.biHeight = -size;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);  // all zero: clear
}

// A menu's item text: the caption, then the shortcut label after a tab.
std::wstring ItemText(MenuKind m, Command c, const wchar_t* caption) {
  std::wstring text = caption ? caption : L"";
  // The tray menu names no shortcut.
  if (m != MenuKind::Tray) {
    const std::wstring label = ShortcutLabel(c);
    if (!label.empty()) text += L"\t" + label;
  }
  return text;
}

// Whether any item of a menu has a picture: only then does an item without one need the clear
// one (Wine draws it black, so a menu of texts alone, the repetition's, goes without).
bool HasPictures(MenuKind m) {
  for (const MenuEntry& e : MenuEntries(m)) {
    if ((e.kind == MenuEntry::Kind::Item && InfoOf(e.command).image >= 0) ||
        (e.kind == MenuEntry::Kind::Submenu && e.image >= 0)) {
      return true;
    }
  }
  return false;
}

}  // namespace

HBITMAP CommandMenus::Picture(MenuKind menu, int index) const {
  if (index >= 0) return images_[static_cast<std::size_t>(index)].Get();
  return HasPictures(menu) ? blank_.Get() : nullptr;
}

void CommandMenus::Create() {
  if (created_) return;
  created_ = true;
  // Menus are drawn at the system DPI.
  const int size = ScaleToDpi(kImageSize, SystemDpi());
  for (int i = 0; i < kImageCount; ++i) images_.emplace_back(CreateMenuBitmap(i, size));
  blank_.Reset(CreateBlankMenuBitmap(size));

  for (int mi = 0; mi < kMenuCount; ++mi) {
    menus_[static_cast<std::size_t>(mi)].Reset(::CreatePopupMenu());
    handles_[static_cast<std::size_t>(mi)] = menus_[static_cast<std::size_t>(mi)].Get();
  }
  for (int mi = 0; mi < kMenuCount; ++mi) {
    const auto kind = static_cast<MenuKind>(mi);
    const HMENU menu = Handle(kind);
    for (const MenuEntry& e : MenuEntries(kind)) {
      MENUITEMINFOW item{};
      item.cbSize = sizeof item;
      std::wstring text;
      switch (e.kind) {
        case MenuEntry::Kind::Separator:
          item.fMask = MIIM_FTYPE;
          item.fType = MFT_SEPARATOR;
          break;
        case MenuEntry::Kind::Submenu:
          text = e.caption;
          item.fMask = MIIM_STRING | MIIM_BITMAP | MIIM_SUBMENU;
          item.dwTypeData = text.data();
          item.hSubMenu = Handle(e.submenu);
          item.hbmpItem = Picture(kind, e.image);
          owned_[static_cast<std::size_t>(e.submenu)] = true;
          break;
        case MenuEntry::Kind::Item: {
          text = ItemText(kind, e.command, e.caption);
          item.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP | MIIM_FTYPE;
          item.fType = MFT_STRING;
          item.wID = static_cast<UINT>(MenuItemId(kind, e.command));
          item.dwTypeData = text.data();
          item.hbmpItem = Picture(kind, InfoOf(e.command).image);
          break;
        }
      }
      ::InsertMenuItemW(menu, ::GetMenuItemCount(menu), TRUE, &item);
    }
  }
  // A submenu is destroyed with the menu that holds it.
  for (int mi = 0; mi < kMenuCount; ++mi) {
    if (owned_[static_cast<std::size_t>(mi)]) menus_[static_cast<std::size_t>(mi)].Release();
  }
}

void CommandMenus::Apply(MenuKind menu, Command c, const ItemState& s) {
  const HMENU h = Handle(menu);
  const UINT id = static_cast<UINT>(MenuItemId(menu, c));
  std::wstring text = ItemText(menu, c, s.caption.c_str());
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STRING | MIIM_STATE | MIIM_BITMAP;
  item.dwTypeData = text.data();
  item.fState = (s.enabled ? MFS_ENABLED : MFS_GRAYED) | (s.checked ? MFS_CHECKED : MFS_UNCHECKED);
  item.hbmpItem = Picture(menu, s.image);
  ::SetMenuItemInfoW(h, id, FALSE, &item);
}

bool CommandMenus::Present(MenuKind menu, Command c) const {
  return ::GetMenuState(Handle(menu), static_cast<UINT>(MenuItemId(menu, c)), MF_BYCOMMAND) != static_cast<UINT>(-1);
}

void CommandMenus::Prepare(MenuKind menu, const CommandContext& ctx) {
  Ensure();
  UINT position = 0;  // where the entry stands among those present
  for (const MenuEntry& e : MenuEntries(menu)) {
    if (e.kind == MenuEntry::Kind::Item) {
      const ItemState s = StateOf(menu, e.command, ctx);
      const UINT id = static_cast<UINT>(MenuItemId(menu, e.command));
      if (!s.visible) {
        ::RemoveMenu(Handle(menu), id, MF_BYCOMMAND);
        continue;
      }
      if (!Present(menu, e.command)) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE;
        item.fType = MFT_STRING;
        item.wID = id;
        ::InsertMenuItemW(Handle(menu), position, TRUE, &item);
      }
      Apply(menu, e.command, s);
    } else if (e.kind == MenuEntry::Kind::Submenu) {
      Prepare(e.submenu, ctx);
    }
    ++position;
  }
}

bool CommandMenus::GridItemEnabled(Command c) const {
  Ensure();
  for (const MenuKind m : {MenuKind::Grid, MenuKind::GridAttach}) {
    const UINT state = ::GetMenuState(Handle(m), static_cast<UINT>(MenuItemId(m, c)), MF_BYCOMMAND);
    if (state != static_cast<UINT>(-1)) return (state & (MF_GRAYED | MF_DISABLED)) == 0;
  }
  return false;
}

std::optional<Command> CommandMenus::Track(MenuKind menu, HWND owner, POINT screen, UINT align) {
  Ensure();
  const UINT id = ::TrackPopupMenu(Handle(menu), TPM_RETURNCMD | align, screen.x, screen.y, 0, owner, nullptr);
  if (id == 0) return std::nullopt;
  const auto item = MenuItemOfId(static_cast<int>(id));
  if (!item) return std::nullopt;
  return item->second;
}

}  // namespace lq::win
