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
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// Each save writes a temporary file of its own name: nothing under another name can block it
// or pass on its read-only mark, and what saves that were cut off left behind goes.
TEST(FileStore, WhatLiesBesideTheTargetNeitherBlocksASaveNorLeavesItsMark) {
  ScratchDir dir;
  WinFileStore store;
  const auto path = dir / L"Lindqvale.csv";
  ASSERT_TRUE(CreateDirectoryW((dir / L"Lindqvale.csv.tmp").c_str(), nullptr));
  ASSERT_TRUE(store.ReplaceAll(path, "despite a folder"));
  EXPECT_EQ(ReadRaw(path), "despite a folder");

  ASSERT_TRUE(RemoveDirectoryW((dir / L"Lindqvale.csv.tmp").c_str()));
  ASSERT_TRUE(store.ReplaceAll(dir / L"Lindqvale.csv.tmp", "read-only"));
  ASSERT_TRUE(SetFileAttributesW((dir / L"Lindqvale.csv.tmp").c_str(), FILE_ATTRIBUTE_READONLY));
  const auto leftover = dir / L"Lindqvale.csv.~1a2b.tmp";
  ASSERT_TRUE(store.ReplaceAll(leftover, "cut off"));
  ASSERT_TRUE(CreateDirectoryW((dir / L"Lindqvale.csv.~3c.tmp").c_str(), nullptr));
  ASSERT_TRUE(store.ReplaceAll(dir / L"Lindqvale.csv.notes", "somebody's"));

  ASSERT_TRUE(store.ReplaceAll(path, "despite a read-only file"));
  EXPECT_EQ(ReadRaw(path), "despite a read-only file");
  EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_FALSE(store.Exists(leftover));
  EXPECT_TRUE(store.Exists(dir / L"Lindqvale.csv.tmp"));     // read-only: somebody's own
  EXPECT_TRUE(store.Exists(dir / L"Lindqvale.csv.~3c.tmp"));  // a folder
  EXPECT_TRUE(store.Exists(dir / L"Lindqvale.csv.notes"));
}

TEST(FileStore, AReadOnlyTargetIsRefusedAndKept) {
  ScratchDir dir;
  WinFileStore store;
  const auto path = dir / L"Lindqvale.csv";
  ASSERT_TRUE(store.ReplaceAll(path, "keep"));
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(store.ReplaceAll(path, "lost"));
  EXPECT_EQ(ReadRaw(path), "keep");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(FileStore, UnreadableAndUnwritablePlacesAreFailuresNotMissingFiles) {
  ScratchDir dir;
  WinFileStore store;
  const auto folder = dir / L"Lindqvale.csv";  // a folder where the file should be
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  EXPECT_EQ(store.ReadAll(folder).status, ReadStatus::Folder);
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
