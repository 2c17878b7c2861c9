#include "platform/outlook.h"

#include "platform/codepage.h"
#include "platform/com.h"
#include "sync/automationdate.h"

namespace lq::win {
namespace {

constexpr int kTasksFolder = 13;  // olFolderTasks
constexpr int kTaskItem = 3;      // olTaskItem

std::u16string U16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

// Runs one automation step; its failure becomes the exchange's error with the same text.
template <typename F>
auto Step(F&& f) -> decltype(f()) {
  try {
    return f();
  } catch (const ComError& e) {
    throw FolderError(U16(e.Text()));
  }
}

class OutlookItem final : public FolderItem {
 public:
  explicit OutlookItem(ComPtr<IDispatch> item) : item_(std::move(item)) {}

  std::optional<Date> DueDate() override {
    // An empty value or Outlook's 4501-01-01: the task has no due date.
    const Variant value = Step([&] { return Invoke(item_.Get(), L"DueDate"); });
    if (value.Type() == VT_EMPTY || value.Type() == VT_NULL) return std::nullopt;
    const DateTime t = DateFrom(value, L"DueDate");
    if (IsNoDueDate(t)) return std::nullopt;
    return t.date;
  }
  FolderSubject Subject() override {
    const std::wstring subject = Step([&] { return Invoke(item_.Get(), L"Subject").ToText().value_or(std::wstring()); });
    Cp932Text text = ToCp932(subject);
    FolderSubject s{std::move(text.bytes), {}};
    if (!text.lossless) s.original = U16(subject);
    return s;
  }
  int Status() override { return IntOf(L"Status"); }
  DateTime LastModificationTime() override {
    return DateFrom(Step([&] { return Invoke(item_.Get(), L"LastModificationTime"); }), L"LastModificationTime");
  }
  std::string Identity() override {
    // The store's entry identifier; a folder without one leaves the run to compare contents.
    try {
      return ToCp932(Invoke(item_.Get(), L"EntryID").ToText().value_or(std::wstring())).bytes;
    } catch (const ComError&) {
      return {};
    }
  }
  void SetDueDate(Date date) override { Put(L"DueDate", Variant::Date(ToAutomationDate(DateTime{date}))); }
  void SetSubject(const FolderSubject& subject) override {
    Put(L"Subject", Variant::Text(subject.LostCharacters()
                                      ? std::wstring(subject.original.begin(), subject.original.end())
                                      : FromCp932(subject.text)));
  }
  void SetStatus(int status) override { Put(L"Status", Variant::Int(status)); }
  void SetImportance(int importance) override { Put(L"Importance", Variant::Int(importance)); }
  void Save() override {
    Step([&] { Invoke(item_.Get(), L"Save"); });
  }
  void Delete() override {
    Step([&] { Invoke(item_.Get(), L"Delete"); });
  }

 private:
  static DateTime DateFrom(const Variant& v, const wchar_t* name) {
    const std::optional<double> value = v.ToDate();
    const std::optional<DateTime> t = value ? FromAutomationDate(*value) : std::nullopt;
    if (!t) throw FolderError(u"Outlookの仕事の日付を読み取れません。\u300C" + U16(name) + u"\u300D");
    return *t;
  }
  int IntOf(const wchar_t* name) {
    const std::optional<long> value = Step([&] { return Invoke(item_.Get(), name).ToInt(); });
    if (!value) throw FolderError(u"Outlookの仕事の値を読み取れません。\u300C" + U16(name) + u"\u300D");
    return static_cast<int>(*value);
  }
  void Put(const wchar_t* name, const Variant& value) {
    Step([&] { PutProperty(item_.Get(), name, value); });
  }

  ComPtr<IDispatch> item_;
};

class OutlookTaskFolder final : public TaskFolder {
 public:
  OutlookTaskFolder() {
    try {
      application_ = CreateAutomationObject(L"Outlook.Application");
    } catch (const ComError& e) {
      // The name unknown: no Outlook. Known but not to be started or without IDispatch: an
      // Outlook that is broken, or one that cannot be automated.
      const bool missing = e.Code() == CO_E_CLASSSTRING;
      throw FolderError(std::u16string(missing ? kOutlookMissingText : kOutlookNotAutomatableText) + u"\r\n\r\n" +
                        U16(e.Text()));
    }
    Step([&] {
      const ComPtr<IDispatch> mapi = InvokeObject(application_.Get(), L"GetNamespace", {Variant::Text(L"MAPI")});
      const ComPtr<IDispatch> folder = InvokeObject(mapi.Get(), L"GetDefaultFolder", {Variant::Int(kTasksFolder)});
      items_ = InvokeObject(folder.Get(), L"Items");
    });
  }

  int Count() override {
    return Step([&] { return static_cast<int>(Invoke(items_.Get(), L"Count").ToInt().value_or(0)); });
  }
  std::unique_ptr<FolderItem> Item(int index) override {
    return Step([&] { return std::make_unique<OutlookItem>(InvokeObject(items_.Get(), L"Item", {Variant::Int(index)})); });
  }
  std::unique_ptr<FolderItem> CreateItem() override {
    return Step([&] {
      return std::make_unique<OutlookItem>(InvokeObject(application_.Get(), L"CreateItem", {Variant::Int(kTaskItem)}));
    });
  }

 private:
  ComApartment apartment_;  // first in, last out
  ComPtr<IDispatch> application_;
  ComPtr<IDispatch> items_;
};

}  // namespace

std::unique_ptr<TaskFolder> OpenOutlookTaskFolder() { return std::make_unique<OutlookTaskFolder>(); }

}  // namespace lq::win
