#pragma once
#include "main/SystemServices.h"

// The system services as Windows provides them.
class TWin32Services : public TSystemServices {
public:
  std::unique_ptr<TDirectoryListing> FindFirst(const std::string& pattern,
                                               TFindEntry& first) override;
  bool QueryRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                          TRegistryValue& value) override;
  std::string WindowsDirectory() override;
  std::string ShellTypeName(const std::string& path) override;
  DWORD GetFileVersionMS(const std::string& fileName) override;
  HRESULT QueryRecycleBin(uint64_t& totalBytes) override;
  bool EmptyRecycleBin(HWND owner) override;
  bool ProcessSnapshot(std::vector<TProcessEntry>& processes) override;
  bool TerminateProcessById(DWORD processId) override;
  int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                     UINT type) override;
  void ShellOpen(HWND owner, const std::string& path) override;
  std::unique_ptr<TOpenFile> OpenExisting(const std::string& path) override;
  std::unique_ptr<TOpenFile> OpenAttributes(const std::string& path) override;
  std::string FinalFolderPath(const std::string& path) override;
  std::string ReadProfileString(const std::string& fileName, const std::string& section,
                                const std::string& key, const std::string& defaultValue) override;
};
