// A stand-in for Outlook's automation object, for the tests: a local server with one generic
// IDispatch that plays the application, the MAPI namespace, the task folder, its items
// collection and each task item. COM starts it as `lq_fake_outlook.exe <folder file> -Embedding`;
// it reads the folder from the file and writes it back after every save and delete, so the
// file is up to date whenever a call returns. It ends when the last object is released.
//
// A hostile folder for the tests that ask for one: a line "!<member> <n> <item line>" of the
// folder file puts that item at the front of the folder when the member is called for the n-th
// time, before the call is answered, as a user adding a task in Outlook during a run would.
#include <windows.h>
#include <oleauto.h>
#include <shellapi.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "fake_outlook.h"
#include "store/datetext.h"
#include "sync/automationdate.h"

namespace {

using lq::DateTime;

struct Task {
  std::optional<DateTime> due;  // none: the due-date field was empty
  DateTime modified;
  long status = 0;
  long importance = 0;
  std::wstring subject;
  bool failSave = false;
  std::wstring entryId;
};

// An item put in at the front when `member` is called for the `at`-th time.
struct Arrival {
  std::wstring member;
  int at = 0;
  std::string line;
};

std::vector<std::shared_ptr<Task>> folder;
std::vector<Arrival> arrivals;
std::map<std::wstring, int> calls;
int lastEntryId = 0;
std::filesystem::path folderFile;
long liveObjects = 0;

std::wstring Wide(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

std::string Utf8(const std::wstring& w) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

DateTime ParseStamp(const std::string& s) {
  const auto num = [&](std::size_t pos, std::size_t len) { return std::stoi(s.substr(pos, len)); };
  return DateTime{lq::Date{num(0, 4), num(4, 2), num(6, 2)}, num(8, 2), num(10, 2), num(12, 2), num(14, 3)};
}

DateTime Now() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return DateTime{lq::Date{st.wYear, st.wMonth, st.wDay}, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

std::shared_ptr<Task> NewTask() {
  auto t = std::make_shared<Task>();
  t->entryId = L"0000FAKE" + std::to_wstring(++lastEntryId);
  return t;
}

std::shared_ptr<Task> ParseTask(const std::string& line) {
  std::vector<std::string> f;
  std::stringstream fields(line);
  for (std::string part; std::getline(fields, part, '\t');) f.push_back(part);
  if (f.size() < 5) return nullptr;
  auto t = NewTask();
  if (!f[0].empty()) t->due = ParseStamp(f[0]);
  t->modified = ParseStamp(f[1]);
  t->status = std::stol(f[2]);
  t->importance = std::stol(f[3]);
  t->subject = Wide(f[4]);
  t->failSave = f.size() > 5 && f[5] == "failsave";
  return t;
}

void Load() {
  std::ifstream in(folderFile, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with("!")) {
      std::stringstream directive(line.substr(1));
      Arrival a;
      std::string member;
      directive >> member >> a.at;
      a.member = Wide(member);
      std::getline(directive >> std::ws, a.line);
      arrivals.push_back(a);
      continue;
    }
    if (auto t = ParseTask(line)) folder.push_back(t);
  }
}

void Store() {
  std::ofstream out(folderFile, std::ios::binary | std::ios::trunc);
  for (const auto& a : arrivals) out << '!' << Utf8(a.member) << ' ' << a.at << ' ' << a.line << "\r\n";
  for (const auto& t : folder) {
    out << (t->due ? lq::FormatStamp(*t->due) : "") << '\t' << lq::FormatStamp(t->modified) << '\t' << t->status
        << '\t' << t->importance << '\t' << Utf8(t->subject) << (t->failSave ? "\tfailsave" : "") << "\r\n";
  }
}

// Counts the call of a member and lets the arrivals due at it in.
void Called(DISPID id);

enum Member : DISPID {
  kGetNamespace = 1,
  kGetDefaultFolder,
  kItems,
  kCount,
  kItem,
  kCreateItem,
  kDueDate,
  kSubject,
  kStatus,
  kImportance,
  kLastModificationTime,
  kSave,
  kDelete,
  kEntryId,
};

constexpr struct {
  const wchar_t* name;
  DISPID id;
} kNames[] = {
    {L"GetNamespace", kGetNamespace}, {L"GetDefaultFolder", kGetDefaultFolder},
    {L"Items", kItems},               {L"Count", kCount},
    {L"Item", kItem},                 {L"CreateItem", kCreateItem},
    {L"DueDate", kDueDate},           {L"Subject", kSubject},
    {L"Status", kStatus},             {L"Importance", kImportance},
    {L"LastModificationTime", kLastModificationTime},
    {L"Save", kSave},                 {L"Delete", kDelete},
    {L"EntryID", kEntryId},
};

void Called(DISPID id) {
  for (const auto& n : kNames) {
    if (n.id != id) continue;
    const int made = ++calls[n.name];
    const auto due = [&](const Arrival& a) { return lstrcmpiW(a.member.c_str(), n.name) == 0 && a.at == made; };
    bool arrived = false;
    for (const Arrival& a : arrivals) {
      if (!due(a)) continue;
      if (auto t = ParseTask(a.line)) folder.insert(folder.begin(), t);
      arrived = true;
    }
    if (arrived) {
      std::erase_if(arrivals, due);
      Store();
    }
  }
}

enum class Kind { Application, Namespace, Folder, Items, Item };

class Object final : public IDispatch {
 public:
  explicit Object(Kind kind, std::shared_ptr<Task> task = nullptr) : kind_(kind), task_(std::move(task)) {
    ++liveObjects;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG n = --refs_;
    if (n == 0) {
      delete this;
      if (--liveObjects == 0) PostQuitMessage(0);
    }
    return n;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      for (const auto& n : kNames) {
        if (lstrcmpiW(n.name, names[i]) == 0) ids[i] = n.id;
      }
      if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* error, UINT*) override;

 private:
  HRESULT Get(DISPID id, DISPPARAMS* params, VARIANT* result, EXCEPINFO* error);
  HRESULT Put(DISPID id, VARIANT& value);

  Kind kind_;
  std::shared_ptr<Task> task_;
  ULONG refs_ = 1;
};

// Positional argument i (0 first) as an integer or a text.
bool ArgInt(DISPPARAMS* p, UINT i, long& out) {
  if (i >= p->cArgs) return false;
  VARIANT v;
  VariantInit(&v);
  if (FAILED(VariantChangeType(&v, &p->rgvarg[p->cArgs - 1 - i], 0, VT_I4))) return false;
  out = v.lVal;
  return true;
}

HRESULT Return(VARIANT* result, Kind kind, std::shared_ptr<Task> task = nullptr) {
  if (!result) return E_INVALIDARG;
  result->vt = VT_DISPATCH;
  result->pdispVal = new Object(kind, std::move(task));
  return S_OK;
}

HRESULT ReturnInt(VARIANT* result, long value) {
  if (result) {
    result->vt = VT_I4;
    result->lVal = value;
  }
  return S_OK;
}

HRESULT ReturnDate(VARIANT* result, const DateTime& t) {
  if (result) {
    result->vt = VT_DATE;
    result->date = lq::ToAutomationDate(t);
  }
  return S_OK;
}

HRESULT Object::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* error,
                       UINT*) {
  if (result) VariantInit(result);
  Called(id);
  if (flags & DISPATCH_PROPERTYPUT) return params->cArgs == 1 ? Put(id, params->rgvarg[0]) : DISP_E_BADPARAMCOUNT;
  return Get(id, params, result, error);
}

HRESULT Object::Get(DISPID id, DISPPARAMS* params, VARIANT* result, EXCEPINFO* error) {
  long n = 0;
  switch (kind_) {
    case Kind::Application:
      if (id == kGetNamespace && params->cArgs == 1 && params->rgvarg[0].vt == VT_BSTR &&
          lstrcmpiW(params->rgvarg[0].bstrVal, L"MAPI") == 0) {
        return Return(result, Kind::Namespace);
      }
      if (id == kCreateItem && ArgInt(params, 0, n) && n == 3) return Return(result, Kind::Item, NewTask());
      break;
    case Kind::Namespace:
      if (id == kGetDefaultFolder && ArgInt(params, 0, n) && n == 13) return Return(result, Kind::Folder);
      break;
    case Kind::Folder:
      if (id == kItems) return Return(result, Kind::Items);
      break;
    case Kind::Items:
      if (id == kCount) return ReturnInt(result, static_cast<long>(folder.size()));
      if (id == kItem && ArgInt(params, 0, n)) {
        if (n < 1 || n > static_cast<long>(folder.size())) return DISP_E_BADINDEX;
        return Return(result, Kind::Item, folder[static_cast<std::size_t>(n - 1)]);
      }
      break;
    case Kind::Item:
      switch (id) {
        case kDueDate:
          if (!task_->due) return S_OK;  // VT_EMPTY, as Outlook's own "none" may come
          return ReturnDate(result, *task_->due);
        case kEntryId:
          if (result) {
            result->vt = VT_BSTR;
            result->bstrVal = SysAllocString(task_->entryId.c_str());
          }
          return S_OK;
        case kLastModificationTime: return ReturnDate(result, task_->modified);
        case kStatus: return ReturnInt(result, task_->status);
        case kImportance: return ReturnInt(result, task_->importance);
        case kSubject:
          if (result) {
            result->vt = VT_BSTR;
            result->bstrVal = SysAllocStringLen(task_->subject.data(), static_cast<UINT>(task_->subject.size()));
          }
          return S_OK;
        case kSave:
          if (task_->failSave) {
            if (error) {
              *error = EXCEPINFO{};
              error->scode = E_FAIL;
              error->bstrSource = SysAllocString(L"Fake Outlook");
              error->bstrDescription = SysAllocString(kFakeSaveError);
            }
            return DISP_E_EXCEPTION;
          }
          task_->modified = Now();
          if (std::find(folder.begin(), folder.end(), task_) == folder.end()) folder.push_back(task_);
          Store();
          return S_OK;
        case kDelete:
          std::erase(folder, task_);
          Store();
          return S_OK;
        default:
          break;
      }
      break;
  }
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT Object::Put(DISPID id, VARIANT& value) {
  if (kind_ != Kind::Item) return DISP_E_MEMBERNOTFOUND;
  VARIANT v;
  VariantInit(&v);
  const VARTYPE type = id == kSubject ? VT_BSTR : id == kDueDate ? VT_DATE : VT_I4;
  if (FAILED(VariantChangeType(&v, &value, 0, type))) return DISP_E_TYPEMISMATCH;
  HRESULT hr = S_OK;
  switch (id) {
    case kSubject: task_->subject.assign(v.bstrVal, SysStringLen(v.bstrVal)); break;
    case kDueDate:
      if (auto t = lq::FromAutomationDate(v.date)) {
        task_->due = *t;
      } else {
        hr = DISP_E_OVERFLOW;
      }
      break;
    case kStatus: task_->status = v.lVal; break;
    case kImportance: task_->importance = v.lVal; break;
    default: hr = DISP_E_MEMBERNOTFOUND; break;
  }
  VariantClear(&v);
  return hr;
}

class Factory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    Object* app = new Object(Kind::Application);
    const HRESULT hr = app->QueryInterface(riid, out);
    app->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 2) return 2;
  folderFile = argv[1];
  LocalFree(argv);
  HANDLE running = CreateMutexW(nullptr, TRUE, kFakeOutlookRunning);

  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Load();
  CLSID clsid{};
  CLSIDFromString(kFakeOutlookClsid, &clsid);
  static Factory factory;
  DWORD cookie = 0;
  CoRegisterClassObject(clsid, &factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &cookie);
  SetTimer(nullptr, 0, 60000, nullptr);  // nobody came: give up
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && liveObjects == 0) break;
    DispatchMessageW(&msg);
  }
  CoRevokeClassObject(cookie);
  CoUninitialize();
  if (running) {
    ReleaseMutex(running);
    CloseHandle(running);
  }
  return 0;
}
