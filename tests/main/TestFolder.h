#pragma once
#include <windows.h>

#include <string>

// A folder of its own under the prefix's C: drive for one test, removed with everything in it
// when the test ends. Links inside are removed, never followed.
class TTestFolder {
public:
  TTestFolder() {
    static int counter = 0;
    path_ = "C:\\varnox_test_" + std::to_string(::GetCurrentProcessId()) + "_" +
            std::to_string(++counter) + "_" + std::to_string(::GetTickCount()) + "\\";
    ::CreateDirectoryA(path_.c_str(), nullptr);
  }
  TTestFolder(const TTestFolder&) = delete;
  TTestFolder& operator=(const TTestFolder&) = delete;
  ~TTestFolder() { RemoveTree(path_.substr(0, path_.size() - 1)); }

  // With a trailing backslash.
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& relative) const { return path_ + relative; }

  // Creates the folder and any missing parents; attributes other than 0 are set afterwards.
  std::string MakeFolder(const std::string& relative, DWORD attributes = 0) const {
    std::string full = path_;
    size_t start = 0;
    while (start <= relative.size()) {
      size_t end = relative.find('\\', start);
      if (end == std::string::npos) end = relative.size();
      full += relative.substr(start, end - start);
      ::CreateDirectoryA(full.c_str(), nullptr);
      full += '\\';
      start = end + 1;
    }
    full.pop_back();
    if (attributes) ::SetFileAttributesA(full.c_str(), attributes);
    return full;
  }

  // Creates the file (and its folders) holding content.
  std::string MakeFile(const std::string& relative, const std::string& content = "junk",
                       DWORD attributes = 0) const {
    size_t cut = relative.rfind('\\');
    if (cut != std::string::npos) MakeFolder(relative.substr(0, cut));
    std::string full = path_ + relative;
    HANDLE file = ::CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      ::WriteFile(file, content.data(), DWORD(content.size()), &written, nullptr);
      ::CloseHandle(file);
    }
    if (attributes) ::SetFileAttributesA(full.c_str(), attributes);
    return full;
  }

  static void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        std::string full = folder + "\\" + name;
        bool isFolder = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        bool isLink = data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
        // Attributes are cleared on what the tree holds itself, never on a link's target.
        if (!isLink) ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (isFolder && !isLink) {
          RemoveTree(full);
        } else if (!::DeleteFileA(full.c_str())) {
          ::RemoveDirectoryA(full.c_str());
        }
      } while (::FindNextFileA(find, &data));
      ::FindClose(find);
    }
    ::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryA(folder.c_str());
  }

private:
  std::string path_;
};

// The scanned machine's drives C: and D: live inside the test folder; its Windows is C:\Windows.
template <class TMachine> void MakeDrives(TTestFolder& tree, TMachine& machine) {
  tree.MakeFolder("C\\Windows\\Temp");
  tree.MakeFolder("D");
  machine.Drives['C'] = tree / "C";
  machine.Drives['D'] = tree / "D";
  machine.WindowsDir = L"C:\\Windows";
}
