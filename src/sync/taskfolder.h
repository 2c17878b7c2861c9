#pragma once
// The outside task folder the list is exchanged with, as the exchange sees it: items by index,
// each with a due date, a subject, a status and the time it was last changed. The Windows
// layer implements it on Outlook's automation objects; tests use a folder in memory.
//
// Every call may fail; a failure throws FolderError with a text for the user, and the
// exchange stops there.

#include <exception>
#include <memory>
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

// One task item. Texts are code-page-932 bytes; times are local.
class FolderItem {
 public:
  virtual ~FolderItem() = default;
  virtual DateTime DueDate() = 0;
  virtual std::string Subject() = 0;
  virtual int Status() = 0;
  virtual DateTime LastModificationTime() = 0;
  virtual void SetDueDate(Date date) = 0;
  virtual void SetSubject(std::string_view subject) = 0;
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
