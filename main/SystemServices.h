#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Everything the cleaner asks of the machine goes through TSystemServices, so that tests can put
// a fake machine in its place (another drive, the older profile layout, an old shell, a Recycle
// Bin that cannot be read, other processes, scripted message-box answers). Texts are UTF-16, as
// the system stores names, and paths are given in their ordinary drive-letter form of any
// length: the implementation reaches the file system through the form that names exactly that
// file.

// One entry of a directory listing. Size is the whole 64-bit size (high half * 2^32 + low half).
struct TFindEntry {
  std::wstring Name;
  DWORD Attributes = 0;
  uint64_t Size = 0;
};

// An open directory listing; destroying it closes the search.
class TDirectoryListing {
public:
  virtual ~TDirectoryListing() = default;
  // Fetches the next entry; false when there is none left (or the listing failed).
  virtual bool FindNext(TFindEntry& entry) = 0;
};

// A file opened for reading and writing with no sharing; destroying it closes the file.
class TOpenFile {
public:
  virtual ~TOpenFile() = default;
  // Returns the count of bytes the system reports written.
  virtual DWORD Write(const void* data, DWORD count) = 0;
  virtual bool SetPosition(uint64_t position) = 0;
  virtual bool Length(uint64_t& length) = 0;
  virtual bool Flush() = 0;
  // The path the open handle really leads to, in drive-letter form ("C:\dir\file"); differs from
  // the path that was opened when a link sits on the way. Empty when the system cannot tell.
  virtual std::wstring FinalPath() = 0;
  // How many names the file has (above 1 for a hard-linked file); 0 when it cannot be read.
  virtual DWORD LinkCount() = 0;
  // The attributes of what the handle is open on (a link opened as itself shows
  // FILE_ATTRIBUTE_REPARSE_POINT); INVALID_FILE_ATTRIBUTES when they cannot be read.
  virtual DWORD Attributes() = 0;
  // Sets the attributes of the file the handle is open on (0 clears them all).
  virtual bool SetAttributes(DWORD attributes) = 0;
  // Marks the file the handle is open on for deletion when the handle closes: the name is never
  // looked up again, so a link swapped in on the way since the open cannot redirect it. False
  // when the system refuses (a read-only file, for one).
  virtual bool Delete() = 0;
  virtual void Close() = 0;
};

struct TProcessEntry {
  DWORD ProcessId = 0;
  std::wstring ExeFile;
};

// The raw value read from the registry; Type is REG_SZ, REG_EXPAND_SZ, ...
struct TRegistryValue {
  DWORD Type = REG_NONE;
  // The stored bytes read as UTF-16 (an odd last byte is dropped).
  std::wstring Data;
};

// Held by a scan or clean run, of the window or of the console program, for as long as it runs;
// destroying it lets the next run start.
class TRunLock {
public:
  virtual ~TRunLock() = default;
};

// The message shown when the shell library for emptying the Recycle Bin cannot be loaded.
inline constexpr const wchar_t* kShell32LoadError = L"Failed to load Shell32.dll.";
inline constexpr const wchar_t* kErrorCaption = L"Error";

class TSystemServices {
public:
  virtual ~TSystemServices() = default;

  // Starts listing the entries matching pattern (for example "C:\dir\*.*") with every attribute
  // kind: hidden, system, read-only, archive-marked entries and folders are all returned, and
  // Attributes carries every bit the system reports (reparse points included). An entry whose
  // name no path could name unambiguously (see IsNameableEntry) is passed over. Returns null and
  // leaves first untouched when the listing cannot start or holds no such entry; the calling
  // thread's last error (GetLastError) then says why, ERROR_ACCESS_DENIED for a folder the user
  // may not read.
  virtual std::unique_ptr<TDirectoryListing> FindFirst(const std::wstring& pattern,
                                                       TFindEntry& first) = 0;

  // Reads one value under root\keyPath with query access; false for a missing key or value.
  virtual bool QueryRegistryValue(HKEY root, const std::wstring& keyPath,
                                  const std::wstring& valueName, TRegistryValue& value) = 0;

  // Writes a REG_SZ value under root\keyPath, creating the key; false when it cannot.
  virtual bool WriteRegistryString(HKEY root, const std::wstring& keyPath,
                                   const std::wstring& valueName, const std::wstring& text) = 0;

  // The Windows directory, or an empty text when the system cannot give it.
  virtual std::wstring WindowsDirectory() = 0;

  // The shell's type name of a file (at most 80 characters); empty when the shell gives none.
  virtual std::wstring ShellTypeName(const std::wstring& path) = 0;
  // Whether the file-type associations, from which the shell takes type names, may have changed
  // since the last call; the first call answers true.
  virtual bool FileTypesMayHaveChanged() = 0;

  // The most significant 32 bits of a module's file version (major high, minor low); 0 when the
  // module has no version information or it cannot be read.
  virtual DWORD GetFileVersionMS(const std::wstring& fileName) = 0;

  // Asks the shell for the Recycle Bin of all drives; returns the shell's result (S_OK on
  // success) and, on success, the total size in bytes and the number of items.
  virtual HRESULT QueryRecycleBin(uint64_t& totalBytes, uint64_t& items) = 0;
  // Empties the Recycle Bin of all drives without confirmation, progress display or sound; true
  // when the shell says it did. Tells the user "Failed to load Shell32.dll." when the shell
  // library cannot be loaded.
  virtual bool EmptyRecycleBin(HWND owner) = 0;

  // The running processes; false when the process list cannot be read.
  virtual bool ProcessSnapshot(std::vector<TProcessEntry>& processes) = 0;
  // Opens the process with terminate access and ends it with exit code 0; false on failure.
  virtual bool TerminateProcessById(DWORD processId) = 0;

  // A modal message box; returns the button pressed (IDYES, IDNO, IDOK, ...).
  virtual int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                             UINT type) = 0;
  // Hands a file or folder to the shell's "open" verb.
  virtual void ShellOpen(HWND owner, const std::wstring& path) = 0;
  // Whether this program runs with administrator rights.
  virtual bool IsElevated() = 0;
  // Starts this program again through the shell's "runas" verb, which asks the user for
  // administrator rights, with parameters as its command line; true once it has started.
  virtual bool RestartElevated(HWND owner, const std::wstring& parameters) = 0;

  // Opens an existing file for reading, writing and deleting with no sharing; null when it
  // cannot, the calling thread's last error (GetLastError) then saying why. A link is opened as
  // itself, never followed to its target.
  virtual std::unique_ptr<TOpenFile> OpenExisting(const std::wstring& path) = 0;
  // Opens an existing file for its attributes only, sharing everything, so that the file can
  // still be opened as above while this is held; a link is opened as itself. Writes through it
  // fail.
  virtual std::unique_ptr<TOpenFile> OpenAttributes(const std::wstring& path) = 0;
  // Where a folder really lies, every link on the way resolved, in the form of
  // TOpenFile::FinalPath; empty when the folder cannot be opened.
  virtual std::wstring FinalFolderPath(const std::wstring& path) = 0;

  // The machine-wide lock of scan and clean runs; null while another run holds it.
  virtual std::unique_ptr<TRunLock> HoldRunLock() = 0;

  // The bytes of a small file (an initialisation file), read whole; false when it cannot be
  // read or is larger than maxBytes.
  virtual bool ReadSmallFile(const std::wstring& path, size_t maxBytes, std::string& bytes) = 0;
};
