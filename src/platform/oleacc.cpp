#include "platform/oleacc.h"

namespace lq::win {
namespace {

const OleaccFunctions* gReplacement = nullptr;

OleaccFunctions Load() {
  OleaccFunctions f;
  // Never unloaded: a client may hold objects whose code lives there until the program ends.
  if (const HMODULE dll = ::LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    f.lresultFromObject = reinterpret_cast<decltype(f.lresultFromObject)>(
        reinterpret_cast<void*>(::GetProcAddress(dll, "LresultFromObject")));
    f.createStdAccessibleObject = reinterpret_cast<decltype(f.createStdAccessibleObject)>(
        reinterpret_cast<void*>(::GetProcAddress(dll, "CreateStdAccessibleObject")));
  }
  return f;
}

}  // namespace

const OleaccFunctions* Oleacc() {
  if (gReplacement) return gReplacement;
  static const OleaccFunctions loaded = Load();
  return loaded.lresultFromObject && loaded.createStdAccessibleObject ? &loaded : nullptr;
}

void SetOleaccForTests(const OleaccFunctions* functions) { gReplacement = functions; }

}  // namespace lq::win
