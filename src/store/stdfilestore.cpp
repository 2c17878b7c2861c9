#include "store/stdfilestore.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <system_error>

#include "store/tempfiles.h"

namespace lq {

ReadResult StdFileStore::ReadAll(const std::filesystem::path& path) const {
  ReadResult result;
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (!std::filesystem::exists(status)) {
    result.status = ReadStatus::NotFound;
    return result;
  }
  result.status = std::filesystem::is_directory(status) ? ReadStatus::Folder : ReadStatus::Failed;
  if (!std::filesystem::is_regular_file(status)) return result;
  std::ifstream in(path, std::ios::binary);
  if (!in) return result;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return result;
  in.seekg(0, std::ios::beg);
  result.bytes.resize(static_cast<std::size_t>(size));
  if (size > 0 && !in.read(result.bytes.data(), size)) {
    result.bytes.clear();
    return result;
  }
  result.status = ReadStatus::Ok;
  return result;
}

bool StdFileStore::ReplaceAll(const std::filesystem::path& path, std::string_view bytes) {
  static std::atomic<std::uint64_t> counter{
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
  std::error_code probe;
  std::filesystem::path temp;
  do {
    temp = TemporaryPathFor(path, counter++);
  } while (std::filesystem::exists(temp, probe));
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return false;
  }
  return true;
}

bool StdFileStore::Exists(const std::filesystem::path& path) const {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

}  // namespace lq
