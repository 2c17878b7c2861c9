// The exchange over many runs, the fuzzer choosing every edit, failure, kill, change of the
// folder during a run and move of the clock (see tests/support/sync_model.h for the rules
// checked after every run).
#include <cstdint>
#include <cstdio>

#include "sync_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lq::testing::ByteChoices choices(data, size);
  lq::testing::SyncModel model(choices);
  const std::string failure = model.Run(1 << 20);  // until the bytes run out
  if (!failure.empty()) {
    std::fputs(failure.c_str(), stderr);
    __builtin_trap();
  }
  return 0;
}
