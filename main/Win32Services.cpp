#include "main/Win32Services.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <cstring>

#include "ui/Handles.h"
#include "ui/Numbers.h"

namespace {

#ifndef _WIN64
// The shell and the tool-help library take these records at exactly these sizes on the 32-bit
// platform the program ships for.
static_assert(sizeof(SHQUERYRBINFO) == 20);
static_assert(sizeof(tagPROCESSENTRY32) == 296);
#endif

// Entry points fetched at run time. Going through void(*)() is the one function-pointer cast
// that the compiler accepts between unrelated signatures without a warning.
template <typename Fn> Fn ProcAddress(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

uint64_t MakeSize(DWORD high, DWORD low) {
  return (uint64_t(high) << 32) | low;
}

// The name in the system code page, only when it converts exactly: no best-fit look-alike (a
// fullwidth backslash turned into "\\" would make ".." steps of one name), no default character,
// and the text converted back is the name itself.
bool ToCodePageExactly(const wchar_t* name, std::string& text) {
  size_t length = ::wcslen(name);
  text.resize(length);
  bool ascii = true;
  for (size_t i = 0; i < length && ascii; ++i) {
    ascii = name[i] < 0x80;
    text[i] = char(name[i]);
  }
  // Every code page Windows uses for the system's texts keeps the ASCII range as it is.
  if (ascii) return true;
  static const bool utf8 = ::GetACP() == CP_UTF8;
  BOOL usedDefault = FALSE;
  DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  int n = ::WideCharToMultiByte(CP_ACP, flags, name, int(length), nullptr, 0, nullptr,
                                utf8 ? nullptr : &usedDefault);
  if (n <= 0 || usedDefault) return false;
  text.resize(size_t(n));
  ::WideCharToMultiByte(CP_ACP, flags, name, int(length), text.data(), n, nullptr,
                        utf8 ? nullptr : &usedDefault);
  if (usedDefault) return false;
  std::wstring back(length + 1, L'\0');
  int m = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), n, back.data(),
                                int(back.size()));
  return size_t(m) == length && back.compare(0, length, name) == 0;
}

bool FillEntry(const WIN32_FIND_DATAW& data, TFindEntry& entry) {
  if (!ToCodePageExactly(data.cFileName, entry.Name)) return false;
  entry.Attributes = data.dwFileAttributes;
  entry.Size = MakeSize(data.nFileSizeHigh, data.nFileSizeLow);
  return true;
}

// The wide entry points give every name as it is; the ANSI ones would hand over best-fit
// look-alikes.
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

// GetFinalPathNameByHandle answers in the "\\?\C:\dir" form; the cleaner compares against the
// plain drive-letter paths it lists, so the prefix goes ("\\?\UNC\srv" becomes "\\srv").
std::string WithoutLongPathPrefix(std::string path) {
  if (path.compare(0, 8, "\\\\?\\UNC\\") == 0) {
    path.erase(0, 6);
    path[0] = '\\';
  } else if (path.compare(0, 4, "\\\\?\\") == 0 && path.size() >= 6 && path[5] == ':') {
    path.erase(0, 4);
  }
  return path;
}

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
  // The ANSI call asks the wide one twice (for the length, then the text); asked once directly,
  // Wine answers in half the time.
  std::string FinalPath() override {
    if (!handle_) return {};
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = ::GetFinalPathNameByHandleW(handle_.Get(), path.data(), DWORD(path.size()),
                                          FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n >= path.size()) {
      path.assign(n + 1, L'\0');
      n = ::GetFinalPathNameByHandleW(handle_.Get(), path.data(), DWORD(path.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    if (n == 0 || n >= path.size()) return {};
    path.resize(n);
    return WithoutLongPathPrefix(WideToAnsi(path));
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

std::unique_ptr<TDirectoryListing> TWin32Services::FindFirst(const std::string& pattern,
                                                             TFindEntry& first) {
  WIN32_FIND_DATAW data;
  TFindHandle handle(::FindFirstFileW(AnsiToWide(pattern).c_str(), &data));
  if (!handle) return nullptr;
  TFindEntry entry;
  auto listing = std::make_unique<TWin32Listing>(std::move(handle));
  if (!FillEntry(data, entry) && !listing->FindNext(entry)) return nullptr;
  first = std::move(entry);
  return listing;
}

bool TWin32Services::QueryRegistryValue(HKEY root, const std::string& keyPath,
                                        const std::string& valueName, TRegistryValue& value) {
  HKEY raw = nullptr;
  if (::RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS)
    return false;
  TRegKey key(raw);
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
      ERROR_SUCCESS)
    return false;
  std::string data(size, '\0');
  if (size > 0 && ::RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
    return false;
  data.resize(size);
  value.Type = type;
  value.Data = std::move(data);
  return true;
}

std::string TWin32Services::WindowsDirectory() {
  char buffer[MAX_PATH];
  UINT n = ::GetWindowsDirectoryA(buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return std::string(buffer, n);
}

std::string TWin32Services::ShellTypeName(const std::string& path) {
  // A fresh record per call: a failed query must not hand back an earlier file's type name.
  SHFILEINFOA info{};
  ::SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_TYPENAME | SHGFI_SYSICONINDEX);
  return std::string(info.szTypeName, ::strnlen(info.szTypeName, sizeof(info.szTypeName)));
}

DWORD TWin32Services::GetFileVersionMS(const std::string& fileName) {
  DWORD ignored = 0;
  DWORD size = ::GetFileVersionInfoSizeA(fileName.c_str(), &ignored);
  if (size == 0) return 0;
  std::vector<BYTE> block(size);
  if (!::GetFileVersionInfoA(fileName.c_str(), 0, size, block.data())) return 0;
  void* fixed = nullptr;
  UINT length = 0;
  if (!::VerQueryValueA(block.data(), "\\", &fixed, &length) || !fixed ||
      length < sizeof(VS_FIXEDFILEINFO))
    return 0;
  return static_cast<const VS_FIXEDFILEINFO*>(fixed)->dwFileVersionMS;
}

HRESULT TWin32Services::QueryRecycleBin(uint64_t& totalBytes) {
  SHQUERYRBINFO info{};
  info.cbSize = sizeof(info);
  HRESULT result = ::SHQueryRecycleBinA(nullptr, &info);
  if (result == S_OK) totalBytes = uint64_t(info.i64Size);
  return result;
}

bool TWin32Services::EmptyRecycleBin(HWND owner) {
  // Looked up at each use rather than linked, as the shell library may lack it.
  TModule shell(::LoadLibraryA("Shell32.dll"));
  if (!shell) {
    ShowMessageBox(owner, kShell32LoadError, kErrorCaption, MB_OK | MB_ICONERROR);
    return false;
  }
  using TEmpty = HRESULT(WINAPI*)(HWND, LPCSTR, DWORD);
  auto empty = ProcAddress<TEmpty>(shell.Get(), "SHEmptyRecycleBinA");
  return empty &&
         empty(owner, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND) == S_OK;
}

bool TWin32Services::ProcessSnapshot(std::vector<TProcessEntry>& processes) {
  // Fetched from the kernel library at run time; the ANSI entries carry no "A" suffix.
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  if (!kernel) return false;
  using TCreate = HANDLE(WINAPI*)(DWORD, DWORD);
  using TWalk = BOOL(WINAPI*)(HANDLE, tagPROCESSENTRY32*);
  auto create = ProcAddress<TCreate>(kernel, "CreateToolhelp32Snapshot");
  auto first = ProcAddress<TWalk>(kernel, "Process32First");
  auto next = ProcAddress<TWalk>(kernel, "Process32Next");
  if (!create || !first || !next) return false;
  TFileHandle snapshot(create(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  processes.clear();
  tagPROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = first(snapshot.Get(), &entry); more; more = next(snapshot.Get(), &entry))
    processes.push_back(
        {entry.th32ProcessID,
         std::string(entry.szExeFile, ::strnlen(entry.szExeFile, sizeof(entry.szExeFile)))});
  return true;
}

bool TWin32Services::TerminateProcessById(DWORD processId) {
  THandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, processId));
  return process && ::TerminateProcess(process.Get(), 0);
}

int TWin32Services::ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                                   UINT type) {
  return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

void TWin32Services::ShellOpen(HWND owner, const std::string& path) {
  ::ShellExecuteA(owner, "open", path.c_str(), "", "", SW_SHOWNORMAL);
}

std::unique_ptr<TOpenFile> TWin32Services::OpenExisting(const std::string& path) {
  TFileHandle handle(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                                   OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!handle) return nullptr;
  return std::make_unique<TWin32File>(std::move(handle));
}

std::unique_ptr<TOpenFile> TWin32Services::OpenAttributes(const std::string& path) {
  // Attribute access takes no part in sharing, so the exclusive open still succeeds beside it.
  TFileHandle handle(::CreateFileA(path.c_str(),
                                   FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!handle) return nullptr;
  return std::make_unique<TWin32File>(std::move(handle));
}

std::string TWin32Services::ReadProfileString(const std::string& fileName,
                                              const std::string& section, const std::string& key,
                                              const std::string& defaultValue) {
  // The service cuts a value that does not fit and then answers size - 1; grow until it fits.
  for (DWORD size = 1024;; size *= 2) {
    std::string buffer(size, '\0');
    DWORD n = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                         buffer.data(), size, fileName.c_str());
    if (n + 1 < size || size >= 65536) {
      buffer.resize(n);
      return buffer;
    }
  }
}

std::string TWin32Services::FinalFolderPath(const std::string& path) {
  // No data access, so the folder opens even while others work in it.
  TFileHandle handle(::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return {};
  return TWin32File(std::move(handle)).FinalPath();
}
