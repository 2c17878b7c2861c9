#pragma once
// Whole-file reads and crash-safe whole-file replacement on Windows.

#include "store/seams.h"

namespace lq::win {

class WinFileStore final : public FileStore {
 public:
  ReadResult ReadAll(const std::filesystem::path& path) const override;
  // Writes a temporary file of this save's own beside the target, flushes it to disk and moves
  // it over the target in one step; then removes what earlier saves that were cut off left. A
  // read-only target is refused, as Windows itself would.
  bool ReplaceAll(const std::filesystem::path& path, std::string_view bytes) override;
  bool Exists(const std::filesystem::path& path) const override;
};

}  // namespace lq::win
