#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "main/FakeMachine.h"
#include "main/TestFolder.h"
#include "main/UnixLink.h"

// A machine with many users' junk: profile folders U0 to U9 under D:\Users, each with a temp
// folder of 2,000 files of a few kinds at several depths, as browsers and installers leave them.
// The machine's C: is an empty stand-in, so that the "Temporary files" category finds exactly
// these 20,000 files.
class TProfileFixture {
public:
  static constexpr int kProfiles = 10;
  static constexpr int kFilesPerProfile = 2000;

  // A benchmark's smoke run asks for fewer files per profile.
  explicit TProfileFixture(TFakeMachine& machine, int filesPerProfile = kFilesPerProfile)
      : filesPerProfile_(filesPerProfile) {
    tree_.MakeFolder("C\\Windows\\Temp");
    machine.Drives['C'] = tree_ / "C";
    machine.Drives['D'] = tree_ / "D";
    machine.WindowsDir = L"C:\\Windows";
    machine.SetRecent("D:\\Users\\U0\\AppData\\Roaming\\Microsoft\\Windows\\Recent");
    for (int profile = 0; profile < kProfiles; ++profile)
      tempFolders_.push_back(tree_ / "D\\Users\\U" + std::to_string(profile) +
                             "\\AppData\\Local\\Temp\\");
    // Under Wine every file made through the Windows side costs milliseconds, so the tree is
    // made (and removed) from the Unix side when there is one.
    unixRoot_ = UnixPathOf(tree_ / "D");
    if (unixRoot_.empty() || !MakeFromUnix()) MakeFromWindows();
  }
  ~TProfileFixture() {
    if (!unixRoot_.empty()) RunUnixShell("rm -rf '" + unixRoot_ + "'");
  }
  TProfileFixture(const TProfileFixture&) = delete;
  TProfileFixture& operator=(const TProfileFixture&) = delete;

  // The real folders that stand for the profiles' temp folders and for C:\Windows\Temp.
  const std::vector<std::string>& TempFolders() const { return tempFolders_; }
  std::string SystemTempFolder() const { return tree_ / "C\\Windows\\Temp\\"; }

private:
  // File i of every profile: its subfolder, name, kind and size (i mod 512 bytes).
  static constexpr const char* kExtensions[] = {".tmp", ".log",   ".dat", "",
                                                ".txt", ".cache", ".js",  ".png"};
  static constexpr const char* kSubfolders[] = {"", "cache/", "cache/entries/", "x/y/z/",
                                                "session/"};

  void MakeFromWindows() {
    std::string content(512, 'j');
    for (const std::string& temp : tempFolders_)
      for (int i = 0; i < filesPerProfile_; ++i) {
        std::string name =
            kSubfolders[i % 5] + std::string("f") + std::to_string(i) + kExtensions[i % 8];
        std::replace(name.begin(), name.end(), '/', '\\');
        tree_.MakeFile(temp.substr(tree_.Path().size()) + name, content.substr(0, size_t(i % 512)));
      }
  }

  bool MakeFromUnix() {
    std::string script;
    for (int profile = 0; profile < kProfiles; ++profile) {
      std::string temp = unixRoot_ + "/Users/U" + std::to_string(profile) + "/AppData/Local/Temp/";
      script += "mkdir -p '" + temp + "' && cd '" + temp +
                "' && mkdir -p cache/entries x/y/z session || exit 1\n";
      script += "i=0; while [ $i -lt " + std::to_string(filesPerProfile_) + " ]; do\n";
      script += "  case $((i % 5)) in 0) d=;; 1) d=cache/;; 2) d=cache/entries/;; 3) d=x/y/z/;; "
                "4) d=session/;; esac\n";
      script += "  case $((i % 8)) in 0) e=.tmp;; 1) e=.log;; 2) e=.dat;; 3) e=;; 4) e=.txt;; "
                "5) e=.cache;; 6) e=.js;; 7) e=.png;; esac\n";
      script += "  n=$((i % 512)); printf \"%${n}s\" '' > \"$d\"f$i$e; i=$((i + 1))\ndone\n";
    }
    std::string scriptFile = tree_ / "make.sh";
    HANDLE file = ::CreateFileA(scriptFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    ::WriteFile(file, script.data(), DWORD(script.size()), &written, nullptr);
    ::CloseHandle(file);
    if (!RunUnixShell("sh '" + UnixPathOf(scriptFile) + "'")) return false;
    // The script makes the profiles in order; the last one's last file ends it.
    const int last = filesPerProfile_ - 1;
    std::string lastFile = tempFolders_.back() + kSubfolders[last % 5] + "f" +
                           std::to_string(last) + kExtensions[last % 8];
    std::replace(lastFile.begin(), lastFile.end(), '/', '\\');
    bool made = false;
    for (int i = 0; i < 1200 && !made; ++i) {
      made = ::GetFileAttributesA(lastFile.c_str()) != INVALID_FILE_ATTRIBUTES;
      if (!made) ::Sleep(50);
    }
    ::DeleteFileA(scriptFile.c_str());
    return made;
  }

  int filesPerProfile_;
  TTestFolder tree_;
  std::string unixRoot_;
  std::vector<std::string> tempFolders_;
};
