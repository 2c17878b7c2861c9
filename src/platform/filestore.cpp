#include "platform/filestore.h"

#include <windows.h>

#include <algorithm>

#include "platform/handles.h"
#include "store/tempfiles.h"

namespace lq::win {

ReadResult WinFileStore::ReadAll(const std::filesystem::path& path) const {
  ReadResult result;
  // Sharing the deletion too, so that a save replacing the file meanwhile does not fail on this
  // reader (the alarm program reads the settings file while the program may be writing it).
  FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD err = ::GetLastError();
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND) {
      result.status = ReadStatus::NotFound;
    } else if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      result.status = ReadStatus::Folder;
    } else {
      result.status = ReadStatus::Failed;
    }
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

namespace {

// Temporary files that saves cut off (by a crash, say) left beside the target. Folders and
// read-only files are somebody's own and stay.
void RemoveLeftovers(const std::filesystem::path& target) {
  std::filesystem::path pattern = target;
  pattern += L".*";
  WIN32_FIND_DATAW found{};
  const HANDLE find = ::FindFirstFileW(pattern.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) continue;
    if (!IsLeftoverTemporaryOf(target, found.cFileName)) continue;
    ::DeleteFileW((target.parent_path() / found.cFileName).c_str());
  } while (::FindNextFileW(find, &found));
  ::FindClose(find);
}

}  // namespace

bool WinFileStore::ReplaceAll(const std::filesystem::path& path, std::string_view bytes) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return false;
  }
  // A name of this save's own: CREATE_NEW never takes over whatever lies under a name already.
  static std::uint64_t counter = 0;
  const std::uint64_t seed = (std::uint64_t{::GetCurrentProcessId()} << 32) ^ ::GetTickCount64();
  std::filesystem::path temp;
  FileHandle file;
  for (int attempt = 0; attempt < 100 && !file; ++attempt) {
    temp = TemporaryPathFor(path, seed + counter++);
    file.Reset(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD err = file ? ERROR_SUCCESS : ::GetLastError();
    // A file or a folder of that name: try the next name. Anything else will not get better.
    if (!file && err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS && err != ERROR_ACCESS_DENIED) return false;
  }
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
  file.Reset();
  if (!ok || !::MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(temp.c_str());
    return false;
  }
  RemoveLeftovers(path);
  return true;
}

bool WinFileStore::Exists(const std::filesystem::path& path) const {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace lq::win
