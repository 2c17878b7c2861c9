// Names for screen readers of the main window's controls beside the list (the list itself is
// GridAccessible): the header buttons say their hints, the editors which task they edit, and
// the view image what it is and what its clock shows.
#include "app/application.h"
#include "mainwindow/gridaccessible.h"
#include "mainwindow/mainwindow.h"
#include "platform/codepage.h"
#include "store/rowname.h"

namespace lq::win {

void TfrmToDo::GiveAccessibleNames() {
  const auto enterCom = [this] { return app_.EnsureCom(); };
  GiveAccessibleName(
      editing_.Editors().TextHandle(),
      [this] {
        const int row = editing_.Editors().Row();
        return row >= 1 && row < list_.Table().RowCount()
                   ? FromCp932(AccessibleTextEditorName(list_.Table().Row(row), list_.Today()))
                   : std::wstring();
      },
      nullptr, enterCom);
  GiveAccessibleName(
      view_.Image().Handle(), [] { return std::wstring(L"予定表（表示モード）"); },
      [this] { return view_.Image().ClockText(); }, enterCom);
}

void TfrmToDo::GiveDatePickerName(HWND picker) {
  GiveAccessibleName(
      picker,
      [this] {
        const int row = editing_.Editors().Row();
        return row >= 1 && row < list_.Table().RowCount()
                   ? FromCp932(AccessibleDatePickerName(list_.Table().Row(row)))
                   : std::wstring();
      },
      nullptr, [this] { return app_.EnsureCom(); });
}

}  // namespace lq::win
