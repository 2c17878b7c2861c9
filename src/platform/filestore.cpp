#include "platform/filestore.h"

#include <windows.h>

#include <algorithm>

#include "platform/handles.h"

namespace lq::win {

ReadResult WinFileStore::ReadAll(const std::filesystem::path& path) const {
  ReadResult result;
  FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD err = ::GetLastError();
    result.status = (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND) ? ReadStatus::NotFound
                                                                                  : ReadStatus::Failed;
    return result;
  }
  result.status = ReadStatus::Failed;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > (1ull << 31)) {
    return result;
  }
  result.bytes.resize(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < result.bytes.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(result.bytes.size() - done, 1u << 24));
    if (!::ReadFile(file.Get(), result.bytes.data() + done, want, &got, nullptr)) {
      result.bytes.clear();
      return result;
    }
    if (got == 0) break;
    done += got;
  }
  result.bytes.resize(done);
  result.status = ReadStatus::Ok;
  return result;
}

bool WinFileStore::ReplaceAll(const std::filesystem::path& path, std::string_view bytes) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return false;
  }
  std::filesystem::path temp = path;
  temp += L".tmp";
  {
    FileHandle file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (!file) return false;
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
      DWORD wrote = 0;
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
      ok = ::WriteFile(file.Get(), bytes.data() + done, want, &wrote, nullptr) && wrote == want;
      done += wrote;
    }
    ok = ok && ::FlushFileBuffers(file.Get());
    if (!ok) {
      file.Reset();
      ::DeleteFileW(temp.c_str());
      return false;
    }
  }
  if (!::MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(temp.c_str());
    return false;
  }
  return true;
}

bool WinFileStore::Exists(const std::filesystem::path& path) const {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace lq::win
