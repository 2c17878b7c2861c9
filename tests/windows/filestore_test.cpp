#include <gtest/gtest.h>
#include <windows.h>

#include "platform/filestore.h"
#include "scratch.h"

namespace lq::win {
namespace {

using testing::ScratchDir;

std::string ReadRaw(const std::filesystem::path& p) {
  WinFileStore s;
  return s.ReadAll(p).bytes;
}

TEST(FileStore, ReplacesWholeFilesAndLeavesNoTemporaryBehind) {
  ScratchDir dir;
  WinFileStore store;
  const auto path = dir / L"\u4E88\u5B9A.csv";  // 予定.csv: a path outside the ANSI code page too
  EXPECT_EQ(store.ReadAll(path).status, ReadStatus::NotFound);
  EXPECT_FALSE(store.Exists(path));
  ASSERT_TRUE(store.ReplaceAll(path, std::string("first\r\n\0x", 9)));
  EXPECT_EQ(ReadRaw(path), std::string("first\r\n\0x", 9));
  ASSERT_TRUE(store.ReplaceAll(path, "second"));
  const ReadResult r = store.ReadAll(path);
  EXPECT_EQ(r.status, ReadStatus::Ok);
  EXPECT_EQ(r.bytes, "second");
  EXPECT_TRUE(store.ReplaceAll(path, ""));
  EXPECT_EQ(store.ReadAll(path).status, ReadStatus::Ok);
  EXPECT_EQ(store.ReadAll(path).bytes, "");
  EXPECT_FALSE(store.Exists(dir / L"\u4E88\u5B9A.csv.tmp"));
}

TEST(FileStore, AReadOnlyTargetIsRefusedAndKept) {
  ScratchDir dir;
  WinFileStore store;
  const auto path = dir / L"Lindqvale.csv";
  ASSERT_TRUE(store.ReplaceAll(path, "keep"));
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(store.ReplaceAll(path, "lost"));
  EXPECT_EQ(ReadRaw(path), "keep");
  EXPECT_FALSE(store.Exists(dir / L"Lindqvale.csv.tmp"));
}

TEST(FileStore, UnreadableAndUnwritablePlacesAreFailuresNotMissingFiles) {
  ScratchDir dir;
  WinFileStore store;
  const auto folder = dir / L"Lindqvale.csv";  // a folder where the file should be
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  EXPECT_EQ(store.ReadAll(folder).status, ReadStatus::Failed);
  EXPECT_FALSE(store.ReplaceAll(folder, "x"));
  EXPECT_FALSE(store.ReplaceAll(dir / L"no-such-folder" / L"x.csv", "x"));

  // Another program holding the file without sharing it.
  const auto locked = dir / L"locked.csv";
  ASSERT_TRUE(store.ReplaceAll(locked, "data"));
  HANDLE h = CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(store.ReadAll(locked).status, ReadStatus::Failed);
  CloseHandle(h);
  EXPECT_EQ(store.ReadAll(locked).bytes, "data");
}

}  // namespace
}  // namespace lq::win
