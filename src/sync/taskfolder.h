#pragma once
// The outside task folder the list is exchanged with, as the exchange sees it: items by index,
// each with a due date, a subject, a status and the time it was last changed. The Windows
// layer implements it on Outlook's automation objects; tests use a folder in memory.
//
// Every call may fail; a failure throws FolderError with a text for the user, and the
// exchange stops there.

#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "store/datetext.h"

namespace lq {

inline constexpr int kStatusComplete = 2;
inline constexpr int kStatusNotComplete = 0;
inline constexpr int kImportanceNormal = 1;

class FolderError : public std::exception {
 public:
  explicit FolderError(std::u16string text) : text_(std::move(text)) {}
  const std::u16string& Text() const { return text_; }
  const char* what() const noexcept override { return "task folder call failed"; }

 private:
  std::u16string text_;
};

// A subject in the list's code-page-932 bytes. When the folder holds characters that code
// page 932 has no form for, they are "?" in `text`, and `original` is the subject as the
// folder holds it; otherwise `original` is empty.
struct FolderSubject {
  std::string text;
  std::u16string original;
  bool LostCharacters() const { return !original.empty(); }
};

// One task item. Times are local.
class FolderItem {
 public:
  virtual ~FolderItem() = default;
  // Empty when the item has no due date.
  virtual std::optional<Date> DueDate() = 0;
  virtual FolderSubject Subject() = 0;
  virtual int Status() = 0;
  virtual DateTime LastModificationTime() = 0;
  // What the folder knows the item by, the same for as long as the item lives; empty when the
  // folder gives nothing.
  virtual std::string Identity() = 0;
  virtual void SetDueDate(Date date) = 0;
  // Writes `original` when it is given, else `text`.
  virtual void SetSubject(const FolderSubject& subject) = 0;
  virtual void SetStatus(int status) = 0;
  virtual void SetImportance(int importance) = 0;
  // Stores the item; afterwards LastModificationTime gives the time of this save.
  virtual void Save() = 0;
  // Removes the item from the folder; later items move down one index.
  virtual void Delete() = 0;
};

class TaskFolder {
 public:
  virtual ~TaskFolder() = default;
  virtual int Count() = 0;
  virtual std::unique_ptr<FolderItem> Item(int index) = 0;  // 1 to Count()
  // A new task item, not in the folder until it is saved.
  virtual std::unique_ptr<FolderItem> CreateItem() = 0;
};

}  // namespace lq
