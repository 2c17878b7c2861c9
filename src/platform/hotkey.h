#pragma once
// A system-wide hot key under a global atom's identifier. The key is unregistered and the
// atom deleted when the object goes, on every path.

#include <windows.h>

namespace lq::win {

class HotKey {
 public:
  explicit HotKey(const wchar_t* atomName) : id_(::GlobalAddAtomW(atomName)) {}
  ~HotKey() {
    Unregister();
    if (id_) ::GlobalDeleteAtom(id_);
  }
  HotKey(const HotKey&) = delete;
  HotKey& operator=(const HotKey&) = delete;

  // The identifier WM_HOTKEY carries.
  int Id() const { return id_; }
  // Replaces any earlier registration; false (with GetLastError) when the key is taken.
  bool Register(HWND owner, UINT modifiers, UINT virtualKey) {
    Unregister();
    if (!::RegisterHotKey(owner, id_, modifiers, virtualKey)) return false;
    owner_ = owner;
    return true;
  }
  // Always asks the system, so that a key registered before is surely gone.
  void Unregister() {
    if (owner_) ::UnregisterHotKey(owner_, id_);
    owner_ = nullptr;
  }
  void UnregisterFrom(HWND owner) {
    ::UnregisterHotKey(owner, id_);
    if (owner == owner_) owner_ = nullptr;
  }

 private:
  ATOM id_;
  HWND owner_ = nullptr;
};

}  // namespace lq::win
