#pragma once
#include "main/SystemServices.h"
#include "ui/Handles.h"

#include <vector>

// The name of the run lock's mutex. In the global namespace, so that a scheduled clean in
// another session and the window of the signed-in user also keep out of each other's way.
inline constexpr const wchar_t* kRunMutexName = L"Global\\Varnox.ScanOrClean";

// The system services as Windows provides them.
class TWin32Services : public TSystemServices {
public:
  std::unique_ptr<TDirectoryListing> FindFirst(const std::wstring& pattern,
                                               TFindEntry& first) override;
  bool QueryRegistryValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
                          TRegistryValue& value) override;
  bool WriteRegistryString(HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
                           const std::wstring& text) override;
  std::wstring WindowsDirectory() override;
  std::wstring ShellTypeName(const std::wstring& path) override;
  bool FileTypesMayHaveChanged() override;
  DWORD GetFileVersionMS(const std::wstring& fileName) override;
  HRESULT QueryRecycleBin(uint64_t& totalBytes, uint64_t& items) override;
  bool EmptyRecycleBin(HWND owner) override;
  bool ProcessSnapshot(std::vector<TProcessEntry>& processes) override;
  bool TerminateProcessById(DWORD processId) override;
  int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                     UINT type) override;
  void ShellOpen(HWND owner, const std::wstring& path) override;
  bool IsElevated() override;
  bool RestartElevated(HWND owner, const std::wstring& parameters) override;
  std::unique_ptr<TOpenFile> OpenExisting(const std::wstring& path) override;
  std::unique_ptr<TOpenFile> OpenAttributes(const std::wstring& path) override;
  std::wstring FinalFolderPath(const std::wstring& path) override;
  std::unique_ptr<TRunLock> HoldRunLock() override;
  bool ReadSmallFile(const std::wstring& path, size_t maxBytes, std::string& bytes) override;

private:
  // A registry key under watch: the system sets the event when anything below it changes.
  struct TWatchedKey {
    TRegKey Key;
    THandle Changed;
  };
  // The keys the associations live under; empty while none is watched.
  std::vector<TWatchedKey> fileTypeWatches_;
};
