// End-to-end tests of Lindqvale.exe and the alarm program:
//   lq_e2e_tests --exe=PATH\Lindqvale.exe [--alarm=PATH\TarnwillowAlarm.exe] [gtest flags]
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "driver.h"

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--exe=", 0) == 0) lq::e2e::gProgram = arg.substr(6);
    if (arg.rfind("--alarm=", 0) == 0) lq::e2e::gAlarmProgram = arg.substr(8);
  }
  if (lq::e2e::gProgram.empty()) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    lq::e2e::gProgram = std::filesystem::path(self).parent_path().parent_path().parent_path() / L"src" / L"app" /
                        L"Lindqvale.exe";
  }
  if (lq::e2e::gAlarmProgram.empty()) {  // build\src\app\Lindqvale.exe -> build\alarm\TarnwillowAlarm.exe
    lq::e2e::gAlarmProgram =
        lq::e2e::gProgram.parent_path().parent_path().parent_path() / L"alarm" / L"TarnwillowAlarm.exe";
  }
  return RUN_ALL_TESTS();
}
