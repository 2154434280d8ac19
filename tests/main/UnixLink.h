#pragma once
#include <windows.h>

#include <string>

// Directory links for tests. CreateSymbolicLink creates nothing under Wine 8, but a Unix
// symbolic link placed inside the prefix's drive shows to Windows programs as a folder carrying
// the reparse-point attribute, as a junction or directory symlink does on Windows. So under Wine
// the link is made from the Unix side: Wine runs a Unix program handed to CreateProcess, here
// /bin/sh with ln. On Windows itself CreateSymbolicLinkA makes the real thing.
inline std::string UnixPathOf(const std::string& windowsPath) {
  using TGetUnixName = char*(CDECL*)(const wchar_t*);
  auto getUnixName = reinterpret_cast<TGetUnixName>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!getUnixName) return {};
  std::wstring wide(windowsPath.begin(), windowsPath.end());
  char* unixName = getUnixName(wide.c_str());
  if (!unixName) return {};
  std::string result = unixName;
  ::HeapFree(::GetProcessHeap(), 0, unixName);
  return result;
}

inline bool RunUnixShell(const std::string& script) {
  std::string command = "/bin/sh -c \"" + script + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
    return false;
  // Wine runs a Unix program outside any Windows process: it hands back no process handle and
  // leaves the thread field undefined. Closing that value would close some other handle of ours,
  // such as the one the next window needs; the callers wait for the program's result instead.
  if (!process.hProcess) return true;
  ::WaitForSingleObject(process.hProcess, 10000);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return true;
}

// A folder link at linkPath (which must not exist yet; its parent must) leading to the existing
// folder targetPath, removed again (the link only, never what it leads to) at the end of its
// scope. Made() tells whether linkPath shows as a folder carrying the reparse-point attribute.
class TFolderLink {
public:
  TFolderLink(const std::string& linkPath, const std::string& targetPath) : linkPath_(linkPath) {
    size_t cut = linkPath.find_last_of('\\');
    std::string parentUnix = UnixPathOf(linkPath.substr(0, cut));
    std::string targetUnix = UnixPathOf(targetPath);
    if (parentUnix.empty() || targetUnix.empty()) {
      ::CreateSymbolicLinkA(linkPath.c_str(), targetPath.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
    } else {
      unixLink_ = parentUnix + "/" + linkPath.substr(cut + 1);
      RunUnixShell("ln -s '" + targetUnix + "' '" + unixLink_ + "'");
    }
    // Wine's handle for a Unix process may be signalled before the link is there.
    for (int i = 0; i < 100 && !made_; ++i) {
      DWORD attributes = ::GetFileAttributesA(linkPath.c_str());
      made_ = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
              (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
      if (!made_) ::Sleep(50);
    }
  }
  TFolderLink(const TFolderLink&) = delete;
  TFolderLink& operator=(const TFolderLink&) = delete;
  ~TFolderLink() {
    if (unixLink_.empty()) {
      ::RemoveDirectoryA(linkPath_.c_str());
      return;
    }
    // rm without -r removes the link itself.
    RunUnixShell("rm -f '" + unixLink_ + "'");
    for (int i = 0; i < 100 && ::GetFileAttributesA(linkPath_.c_str()) != INVALID_FILE_ATTRIBUTES;
         ++i)
      ::Sleep(50);
  }

  bool Made() const { return made_; }

private:
  std::string linkPath_;
  std::string unixLink_;
  bool made_ = false;
};
