#pragma once
#include "main/CleanerState.h"
#include "main/SystemServices.h"

#include <cstdint>
#include <string>
#include <vector>

// Where a folder lies as the scan searches it: the text with a trailing backslash, and its final
// path from the system.
TSearchedFolder LocateSearchedFolder(TSystemServices& services, const std::wstring& folder);

// What became of one file handed to the wiper; every result but wrRemoved leaves the file where
// it was.
enum TWipeResult : uint8_t {
  wrRemoved,
  wrInUse,          // another program holds it open
  wrAccessDenied,   // the system refuses to open, clear or delete it
  wrNotOverwritten, // a write or flush failed or fell short, so it was kept
  wrGone,           // no longer there
  wrChanged,        // not where, or not what, the scan listed (a link on the way, another folder)
};

// Overwrites files three times with the program's pseudo-random bytes and deletes them, touching
// only the file that was listed: a file reached through a link, or through a folder that became a
// link after the scan, is left alone; a file whose data other hard links still name loses only
// this name, neither overwritten nor with its attributes changed. Every check is made on the open
// file, attributes change and the file is deleted through that same handle, so a link swapped in
// on the way after the checks redirects nothing.
class TFileWiper {
public:
  explicit TFileWiper(TSystemServices& services);

  // The folders the scan searched, with where each lay then. Files are only wiped when their final
  // path lies exactly below that place, under the same relative path as listed.
  void TrustFolders(const std::vector<TSearchedFolder>& searchedFolders);

  // wrRemoved only when the file is overwritten and gone. Otherwise why it was given up: with the
  // file untouched when it cannot be opened or fails the checks, and kept with whatever attributes
  // it had when an overwrite fails.
  TWipeResult OverwriteAndDeleteFile(const std::wstring& path);

  // The size of one pass buffer of pseudo-random bytes; every pass repeats it over the file.
  static constexpr size_t kPassBytes = 4096;

private:
  bool IsListedFile(TOpenFile& file, const std::wstring& path) const;
  bool OverwritePass(TOpenFile& file, uint64_t length);
  static TWipeResult OpenFailure(DWORD error);

  TSystemServices& services_;
  // Both texts without trailing backslashes.
  std::vector<TSearchedFolder> folders_;
  // Writes go out in large pieces cut from the pass buffer repeated, so the bytes on disk are
  // the same as writing the 4096-byte buffer again and again.
  std::vector<uint8_t> chunk_;
};
