// Copies of the list kept beside the task file before something takes tasks out of it.
#include "store/taskfile.h"

namespace lq {

std::optional<std::filesystem::path> TaskFile::KeepCopy(const TaskTable& table) {
  if (!KeepOriginal()) return std::nullopt;  // else it would take the name chosen for it
  std::filesystem::path path = ChooseBackupPath(path_, store_);
  if (!store_.ReplaceAll(path, FormatTaskFile(table))) return std::nullopt;
  return path;
}

}  // namespace lq
