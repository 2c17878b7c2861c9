#pragma once
// Whole-file access through the standard library, used by the natively built tools and tests.
// The Windows program uses its own adapter, which also flushes to disk before replacing.

#include "store/seams.h"

namespace lq {

class StdFileStore final : public FileStore {
 public:
  ReadResult ReadAll(const std::filesystem::path& path) const override;
  bool ReplaceAll(const std::filesystem::path& path, std::string_view bytes) override;
  bool Exists(const std::filesystem::path& path) const override;
};

}  // namespace lq
