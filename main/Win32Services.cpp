#include "main/Win32Services.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <cwchar>
#include <iterator>

#include "ui/Handles.h"
#include "main/LongPath.h"

namespace {

#ifndef _WIN64
// The shell and the tool-help library take these records at exactly these sizes on the 32-bit
// platform the program ships for.
static_assert(sizeof(SHQUERYRBINFO) == 20);
static_assert(sizeof(PROCESSENTRY32W) == 556);
#endif

// Entry points fetched at run time. Going through void(*)() is the one function-pointer cast
// that the compiler accepts between unrelated signatures without a warning.
template <typename Fn> Fn ProcAddress(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

uint64_t MakeSize(DWORD high, DWORD low) {
  return (uint64_t(high) << 32) | low;
}

bool FillEntry(const WIN32_FIND_DATAW& data, TFindEntry& entry) {
  std::wstring name = data.cFileName;
  // A name a path cannot name exactly is never handed out: joined to its folder it would lead
  // to another file, a stream of one, or nowhere.
  if (name != L"." && name != L".." && !IsNameableEntry(name)) return false;
  entry.Name = std::move(name);
  entry.Attributes = data.dwFileAttributes;
  entry.Size = MakeSize(data.nFileSizeHigh, data.nFileSizeLow);
  return true;
}

class TWin32Listing : public TDirectoryListing {
public:
  explicit TWin32Listing(TFindHandle handle) : handle_(std::move(handle)) {}
  bool FindNext(TFindEntry& entry) override {
    WIN32_FIND_DATAW data;
    while (::FindNextFileW(handle_.Get(), &data))
      if (FillEntry(data, entry)) return true;
    return false;
  }

private:
  TFindHandle handle_;
};

class TWin32File : public TOpenFile {
public:
  explicit TWin32File(TFileHandle handle) : handle_(std::move(handle)) {}
  DWORD Write(const void* data, DWORD count) override {
    DWORD written = 0;
    if (handle_ && !::WriteFile(handle_.Get(), data, count, &written, nullptr)) written = 0;
    return written;
  }
  bool SetPosition(uint64_t position) override {
    LARGE_INTEGER distance;
    distance.QuadPart = LONGLONG(position);
    return handle_ && ::SetFilePointerEx(handle_.Get(), distance, nullptr, FILE_BEGIN);
  }
  bool Length(uint64_t& length) override {
    LARGE_INTEGER size;
    if (!handle_ || !::GetFileSizeEx(handle_.Get(), &size)) return false;
    length = uint64_t(size.QuadPart);
    return true;
  }
  bool Flush() override { return handle_ && ::FlushFileBuffers(handle_.Get()); }
  // The system answers in the long form; the cleaner compares against the ordinary paths it
  // lists.
  std::wstring FinalPath() override {
    if (!handle_) return {};
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = ::GetFinalPathNameByHandleW(handle_.Get(), path.data(), DWORD(path.size()),
                                          FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n >= path.size()) {
      path.assign(n + 1, L'\0');
      n = ::GetFinalPathNameByHandleW(handle_.Get(), path.data(), DWORD(path.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    if (n == 0 || n >= path.size()) return ObjectPath();
    path.resize(n);
    return OrdinaryPathForm(path);
  }
  // The name the system keeps for the open object, asked when the final-path call cannot answer
  // (some implementations of it hold no more than MAX_PATH characters). Only a name in the
  // drive-letter form ("\??\C:\...") is taken; a device form says nothing comparable.
  std::wstring ObjectPath() {
    struct TNameInformation {
      USHORT Length;
      USHORT MaximumLength;
      PWSTR Buffer;
    };
    using TQuery = LONG(NTAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    static const auto query =
        ProcAddress<TQuery>(::GetModuleHandleW(L"ntdll.dll"), "NtQueryObject");
    constexpr int kObjectNameInformation = 1;
    if (!query) return {};
    std::vector<uint8_t> buffer(sizeof(TNameInformation) + 65536);
    if (query(handle_.Get(), kObjectNameInformation, buffer.data(), ULONG(buffer.size()),
              nullptr) != 0)
      return {};
    const auto* name = reinterpret_cast<const TNameInformation*>(buffer.data());
    std::wstring text(name->Buffer, name->Length / sizeof(wchar_t));
    if (text.compare(0, 4, L"\\??\\") != 0) return {};
    return OrdinaryPathForm(L"\\\\?\\" + text.substr(4));
  }
  // The by-handle information also asks for the volume, which costs Wine milliseconds per file;
  // these two classes answer from the file alone.
  DWORD LinkCount() override {
    FILE_STANDARD_INFO info;
    if (!handle_ ||
        !::GetFileInformationByHandleEx(handle_.Get(), FileStandardInfo, &info, sizeof(info)))
      return 0;
    return info.NumberOfLinks;
  }
  DWORD Attributes() override {
    FILE_ATTRIBUTE_TAG_INFO info;
    if (!handle_ ||
        !::GetFileInformationByHandleEx(handle_.Get(), FileAttributeTagInfo, &info, sizeof(info)))
      return INVALID_FILE_ATTRIBUTES;
    return info.FileAttributes;
  }
  bool SetAttributes(DWORD attributes) override {
    // Zero times leave the times as they are; zero attributes would too, so "none" is "normal".
    FILE_BASIC_INFO info{};
    info.FileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
    return handle_ &&
           ::SetFileInformationByHandle(handle_.Get(), FileBasicInfo, &info, sizeof(info));
  }
  bool Delete() override {
    FILE_DISPOSITION_INFO info{TRUE};
    return handle_ &&
           ::SetFileInformationByHandle(handle_.Get(), FileDispositionInfo, &info, sizeof(info));
  }
  void Close() override { handle_.Reset(); }

private:
  TFileHandle handle_;
};

} // namespace

std::unique_ptr<TDirectoryListing> TWin32Services::FindFirst(const std::wstring& pattern,
                                                             TFindEntry& first) {
  WIN32_FIND_DATAW data;
  TFindHandle handle(::FindFirstFileW(LongPathForm(pattern).c_str(), &data));
  if (!handle) return nullptr;
  TFindEntry entry;
  auto listing = std::make_unique<TWin32Listing>(std::move(handle));
  if (!FillEntry(data, entry) && !listing->FindNext(entry)) return nullptr;
  first = std::move(entry);
  return listing;
}

bool TWin32Services::QueryRegistryValue(HKEY root, const std::wstring& keyPath,
                                        const std::wstring& valueName, TRegistryValue& value) {
  HKEY raw = nullptr;
  if (::RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS)
    return false;
  TRegKey key(raw);
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
      ERROR_SUCCESS)
    return false;
  std::wstring data((size + 1) / sizeof(wchar_t), L'\0');
  if (size > 0 && ::RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
    return false;
  data.resize(size / sizeof(wchar_t));
  value.Type = type;
  value.Data = std::move(data);
  return true;
}

bool TWin32Services::WriteRegistryString(HKEY root, const std::wstring& keyPath,
                                         const std::wstring& valueName, const std::wstring& text) {
  HKEY raw = nullptr;
  if (::RegCreateKeyExW(root, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw,
                        nullptr) != ERROR_SUCCESS)
    return false;
  TRegKey key(raw);
  const DWORD bytes = DWORD((text.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(key.Get(), valueName.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
}

std::wstring TWin32Services::WindowsDirectory() {
  wchar_t buffer[MAX_PATH];
  UINT n = ::GetWindowsDirectoryW(buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return std::wstring(buffer, n);
}

bool TWin32Services::FileTypesMayHaveChanged() {
  bool changed = fileTypeWatches_.empty();
  for (const TWatchedKey& watch : fileTypeWatches_)
    if (::WaitForSingleObject(watch.Changed.Get(), 0) != WAIT_TIMEOUT) changed = true;
  if (!changed) return false;
  // A notice fires once, so every key is watched afresh. The classes of both hives make up the
  // associations; the user's choice of program per extension lives below Explorer's key.
  fileTypeWatches_.clear();
  const std::pair<HKEY, const wchar_t*> keys[] = {
      {HKEY_CURRENT_USER, L"Software\\Classes"},
      {HKEY_LOCAL_MACHINE, L"Software\\Classes"},
      {HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer"}};
  for (const auto& [root, path] : keys) {
    HKEY raw = nullptr;
    TWatchedKey watch;
    if (::RegOpenKeyExW(root, path, 0, KEY_NOTIFY, &raw) == ERROR_SUCCESS) watch.Key.Reset(raw);
    watch.Changed.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    // A key that cannot be watched leaves nothing watched, so that every call answers true.
    if (!watch.Key || !watch.Changed ||
        ::RegNotifyChangeKeyValue(watch.Key.Get(), TRUE,
                                  REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                  watch.Changed.Get(), TRUE) != ERROR_SUCCESS) {
      fileTypeWatches_.clear();
      break;
    }
    fileTypeWatches_.push_back(std::move(watch));
  }
  return true;
}

std::wstring TWin32Services::ShellTypeName(const std::wstring& path) {
  // A fresh record per call: a failed query must not hand back an earlier file's type name.
  SHFILEINFOW info{};
  UINT flags = SHGFI_TYPENAME | SHGFI_SYSICONINDEX;
  // The shell takes no long-form path; beyond the ordinary length it is asked for the name's
  // type as a plain file would have it, which is what it answers for a short path too.
  std::wstring asked = path;
  if (path.size() >= MAX_PATH) {
    asked = path.substr(path.find_last_of(L'\\') + 1);
    flags |= SHGFI_USEFILEATTRIBUTES;
  }
  ::SHGetFileInfoW(asked.c_str(), flags & SHGFI_USEFILEATTRIBUTES ? FILE_ATTRIBUTE_NORMAL : 0,
                   &info, sizeof(info), flags);
  return std::wstring(info.szTypeName, ::wcsnlen(info.szTypeName, std::size(info.szTypeName)));
}

DWORD TWin32Services::GetFileVersionMS(const std::wstring& fileName) {
  DWORD ignored = 0;
  DWORD size = ::GetFileVersionInfoSizeW(fileName.c_str(), &ignored);
  if (size == 0) return 0;
  std::vector<BYTE> block(size);
  if (!::GetFileVersionInfoW(fileName.c_str(), 0, size, block.data())) return 0;
  void* fixed = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(block.data(), L"\\", &fixed, &length) || !fixed ||
      length < sizeof(VS_FIXEDFILEINFO))
    return 0;
  return static_cast<const VS_FIXEDFILEINFO*>(fixed)->dwFileVersionMS;
}

HRESULT TWin32Services::QueryRecycleBin(uint64_t& totalBytes, uint64_t& items) {
  SHQUERYRBINFO info{};
  info.cbSize = sizeof(info);
  HRESULT result = ::SHQueryRecycleBinW(nullptr, &info);
  if (result == S_OK) {
    totalBytes = uint64_t(info.i64Size);
    items = uint64_t(info.i64NumItems);
  }
  return result;
}

bool TWin32Services::EmptyRecycleBin(HWND owner) {
  // Looked up at each use rather than linked, as the shell library may lack it.
  TModule shell(::LoadLibraryW(L"Shell32.dll"));
  if (!shell) {
    ShowMessageBox(owner, kShell32LoadError, kErrorCaption, MB_OK | MB_ICONERROR);
    return false;
  }
  using TEmpty = HRESULT(WINAPI*)(HWND, LPCWSTR, DWORD);
  auto empty = ProcAddress<TEmpty>(shell.Get(), "SHEmptyRecycleBinW");
  return empty &&
         empty(owner, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND) == S_OK;
}

bool TWin32Services::ProcessSnapshot(std::vector<TProcessEntry>& processes) {
  // Fetched from the kernel library at run time.
  HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  if (!kernel) return false;
  using TCreate = HANDLE(WINAPI*)(DWORD, DWORD);
  using TWalk = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32W*);
  auto create = ProcAddress<TCreate>(kernel, "CreateToolhelp32Snapshot");
  auto first = ProcAddress<TWalk>(kernel, "Process32FirstW");
  auto next = ProcAddress<TWalk>(kernel, "Process32NextW");
  if (!create || !first || !next) return false;
  TFileHandle snapshot(create(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  processes.clear();
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = first(snapshot.Get(), &entry); more; more = next(snapshot.Get(), &entry))
    processes.push_back(
        {entry.th32ProcessID,
         std::wstring(entry.szExeFile, ::wcsnlen(entry.szExeFile, std::size(entry.szExeFile)))});
  return true;
}

bool TWin32Services::TerminateProcessById(DWORD processId) {
  THandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, processId));
  return process && ::TerminateProcess(process.Get(), 0);
}

int TWin32Services::ShowMessageBox(HWND owner, const std::wstring& text,
                                   const std::wstring& caption, UINT type) {
  return ::MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

void TWin32Services::ShellOpen(HWND owner, const std::wstring& path) {
  ::ShellExecuteW(owner, L"open", path.c_str(), L"", L"", SW_SHOWNORMAL);
}

bool TWin32Services::IsElevated() {
  HANDLE raw = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
  THandle token(raw);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  return ::GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof(elevation), &size) &&
         elevation.TokenIsElevated;
}

bool TWin32Services::RestartElevated(HWND owner, const std::wstring& parameters) {
  std::wstring program(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = ::GetModuleFileNameW(nullptr, program.data(), DWORD(program.size()));
    if (n == 0) return false;
    if (n < program.size()) {
      program.resize(n);
      break;
    }
    program.resize(program.size() * 2);
  }
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.hwnd = owner;
  info.lpVerb = L"runas";
  info.lpFile = program.c_str();
  info.lpParameters = parameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  // False as well when the user declines the system's question.
  return ::ShellExecuteExW(&info);
}

std::unique_ptr<TOpenFile> TWin32Services::OpenExisting(const std::wstring& path) {
  TFileHandle handle(::CreateFileW(LongPathForm(path).c_str(),
                                   GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  // The open's last error is the caller's answer to why; nothing below touches it.
  if (!handle) return nullptr;
  return std::make_unique<TWin32File>(std::move(handle));
}

std::unique_ptr<TOpenFile> TWin32Services::OpenAttributes(const std::wstring& path) {
  // Attribute access takes no part in sharing, so the exclusive open still succeeds beside it.
  TFileHandle handle(::CreateFileW(LongPathForm(path).c_str(),
                                   FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!handle) return nullptr;
  return std::make_unique<TWin32File>(std::move(handle));
}

namespace {

class TMutexRunLock : public TRunLock {
public:
  explicit TMutexRunLock(THandle mutex) : mutex_(std::move(mutex)) {}
  ~TMutexRunLock() override {
    if (mutex_) ::ReleaseMutex(mutex_.Get());
  }

private:
  THandle mutex_;
};

// Stands in when the mutex cannot be made at all: the lock only keeps two runs from working on
// one list, every file is checked again at clean time, so a run is not refused for it.
class TNoRunLock : public TRunLock {};

} // namespace

std::unique_ptr<TRunLock> TWin32Services::HoldRunLock() {
  THandle mutex(::CreateMutexW(nullptr, FALSE, kRunMutexName));
  if (!mutex) return std::make_unique<TNoRunLock>();
  // An abandoned mutex is a run that ended without letting go (a killed process): it is ours.
  DWORD waited = ::WaitForSingleObject(mutex.Get(), 0);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) return nullptr;
  return std::make_unique<TMutexRunLock>(std::move(mutex));
}

bool TWin32Services::ReadSmallFile(const std::wstring& path, size_t maxBytes, std::string& bytes) {
  TFileHandle handle(::CreateFileW(LongPathForm(path).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (!handle || !::GetFileSizeEx(handle.Get(), &size) || uint64_t(size.QuadPart) > maxBytes)
    return false;
  std::string content(size_t(size.QuadPart), '\0');
  DWORD read = 0;
  if (!content.empty() &&
      !::ReadFile(handle.Get(), content.data(), DWORD(content.size()), &read, nullptr))
    return false;
  content.resize(read);
  bytes = std::move(content);
  return true;
}

std::wstring TWin32Services::FinalFolderPath(const std::wstring& path) {
  // No data access, so the folder opens even while others work in it.
  TFileHandle handle(::CreateFileW(LongPathForm(path).c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return {};
  return TWin32File(std::move(handle)).FinalPath();
}
