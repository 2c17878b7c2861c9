#pragma once
// The two calls of oleacc.dll a server of accessible objects needs. The library is loaded when
// a client first asks a window for its object (WM_GETOBJECT), so that start-up never pays for
// it; a test may put its own functions in place to see what would go to the client.

#include <windows.h>
#include <oleacc.h>

namespace lq::win {

struct OleaccFunctions {
  LRESULT(WINAPI* lresultFromObject)(REFIID riid, WPARAM wParam, LPUNKNOWN object) = nullptr;
  HRESULT(WINAPI* createStdAccessibleObject)(HWND hwnd, LONG objectId, REFIID riid, void** object) = nullptr;
};

// Null when oleacc.dll cannot be loaded. Loaded once, and kept for the rest of the run.
const OleaccFunctions* Oleacc();
// Replaces what Oleacc() gives; null goes back to oleacc.dll.
void SetOleaccForTests(const OleaccFunctions* functions);

}  // namespace lq::win
