// End-to-end tests of Lindqvale.exe: lq_e2e_tests --exe=PATH\Lindqvale.exe [gtest flags]
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
  }
  if (lq::e2e::gProgram.empty()) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    lq::e2e::gProgram = std::filesystem::path(self).parent_path().parent_path().parent_path() / L"src" / L"app" /
                        L"Lindqvale.exe";
  }
  return RUN_ALL_TESTS();
}
