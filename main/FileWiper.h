#pragma once
#include "main/SystemServices.h"

#include <cstdint>
#include <string>
#include <vector>

// Overwrites files three times with the program's pseudo-random bytes and deletes them, touching
// only the file that was listed: a file reached through a link, or through a folder that became a
// link after the scan, is left alone, and a file whose data other hard links still name is deleted
// by name without being overwritten.
class TFileWiper {
public:
  explicit TFileWiper(TSystemServices& services);

  // Notes where each searched folder really lies now. Files are only wiped below one of these
  // folders, and only when nothing between the folder and the file is a link. A folder that is
  // itself a link now, or cannot be reached, admits no file.
  void TrustFolders(const std::vector<std::string>& searchedFolders);

  // True only when the file is gone. False, with the file untouched, when it cannot be opened
  // (missing, held open by another program, access denied) or fails the link check.
  bool OverwriteAndDeleteFile(const std::string& path);

  // The size of one pass buffer of pseudo-random bytes; every pass repeats it over the file.
  static constexpr size_t kPassBytes = 4096;

private:
  struct TTrustedFolder {
    std::string Listed; // as the scan searched it, without a trailing backslash
    std::string Final;  // where it lies, links above it resolved, without a trailing backslash
  };

  bool IsListedFile(TOpenFile& file, const std::string& path) const;
  bool OverwritePass(TOpenFile& file, uint64_t length);

  TSystemServices& services_;
  std::vector<TTrustedFolder> folders_;
  // Writes go out in large pieces cut from the pass buffer repeated, so the bytes on disk are
  // the same as writing the 4096-byte buffer again and again.
  std::vector<uint8_t> chunk_;
};
