#include "main/FileWiper.h"

#include "main/CleanRandom.h"
#include "ui/Numbers.h"

#include <algorithm>
#include <cstring>

namespace {

// Largest single write; a pass over a bigger file repeats it.
constexpr size_t kChunkBytes = 1 << 20;

std::string WithoutTrailingBackslashes(std::string path) {
  while (!path.empty() && path.back() == '\\')
    path.pop_back();
  return path;
}

// Paths compare as the file system does: ordinal, without regard to letter case.
bool SamePath(const std::string& a, const std::string& b) {
  std::wstring wa = AnsiToWide(a), wb = AnsiToWide(b);
  return ::CompareStringOrdinal(wa.c_str(), int(wa.size()), wb.c_str(), int(wb.size()), TRUE) ==
         CSTR_EQUAL;
}

} // namespace

TFileWiper::TFileWiper(TSystemServices& services) : services_(services) {}

void TFileWiper::TrustFolders(const std::vector<std::string>& searchedFolders) {
  folders_.clear();
  for (const std::string& searched : searchedFolders) {
    std::string listed = WithoutTrailingBackslashes(searched);
    if (listed.empty()) continue;
    // The scan never followed a link below where it started, so a searched folder that is a link
    // now was swapped in since. A drive root ("C:") is never one.
    if (listed.size() > 2) {
      DWORD attributes = services_.GetAttributes(listed);
      if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
          (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        continue;
    }
    std::string final = WithoutTrailingBackslashes(services_.FinalFolderPath(listed + "\\"));
    if (final.empty()) continue;
    folders_.push_back({std::move(listed), std::move(final)});
  }
}

bool TFileWiper::IsListedFile(TOpenFile& file, const std::string& path) const {
  // The file is opened as itself: a link shows as a reparse point and is never worked through.
  DWORD attributes = file.Attributes();
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return false;
  std::string final = file.FinalPath();
  if (final.empty()) return false;
  for (const TTrustedFolder& folder : folders_) {
    size_t n = folder.Listed.size();
    if (path.size() <= n + 1 || path[n] != '\\' || !SamePath(path.substr(0, n), folder.Listed))
      continue;
    // Links above the searched folder are the user's own arrangement (a profile moved to another
    // drive by a junction); below it, the file must lie exactly where the list says.
    if (SamePath(final, folder.Final + path.substr(n))) return true;
  }
  return false;
}

bool TFileWiper::OverwritePass(TOpenFile& file, uint64_t length) {
  uint8_t pass[kPassBytes];
  CleanRandom().Fill(pass, kPassBytes);
  if (!file.SetPosition(0)) return false;
  size_t used = size_t(std::min<uint64_t>(length, kChunkBytes));
  used = (used + kPassBytes - 1) / kPassBytes * kPassBytes;
  if (chunk_.size() < used) chunk_.resize(used);
  for (size_t at = 0; at < used; at += kPassBytes)
    std::memcpy(&chunk_[at], pass, kPassBytes);
  // Every write starts at a multiple of the chunk, itself a multiple of the pass buffer, so each
  // byte lands where writing the 4096 bytes again and again would put it.
  for (uint64_t remaining = length; remaining > 0;) {
    DWORD count = DWORD(std::min<uint64_t>(remaining, kChunkBytes));
    file.Write(chunk_.data(), count);
    remaining -= count;
  }
  file.Flush();
  return true;
}

bool TFileWiper::OverwriteAndDeleteFile(const std::string& path) {
  std::unique_ptr<TOpenFile> file = services_.OpenExisting(path);
  // Windows opens a read-only file for writing only once its attributes are cleared; when it then
  // still cannot be cleaned, it gets them back.
  DWORD cleared = INVALID_FILE_ATTRIBUTES;
  auto giveUp = [&] {
    if (file) file->Close();
    if (cleared != INVALID_FILE_ATTRIBUTES) services_.SetAttributes(path, cleared);
    return false;
  };
  if (!file) {
    DWORD attributes = services_.GetAttributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) || !services_.SetAttributes(path, 0))
      return false;
    cleared = attributes;
    file = services_.OpenExisting(path);
  }
  if (!file || !IsListedFile(*file, path)) return giveUp();
  DWORD attributes = cleared != INVALID_FILE_ATTRIBUTES ? cleared : file->Attributes();
  // The data of a hard-linked file still belongs to its other names: only this name goes, and it
  // is not overwritten. Attributes are shared by all names, so a read-only one stays as it is.
  DWORD links = file->LinkCount();
  if (links == 0 || (links > 1 && (attributes & FILE_ATTRIBUTE_READONLY))) return giveUp();
  // The open handle shares nothing, so the name checked above cannot be swapped for a link
  // before the attributes change; a read-only file could not be deleted otherwise.
  if (cleared == INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
    services_.SetAttributes(path, 0);
  // Nobody else can open the file while the handle is held, so its length stays what it is now.
  // It is read before the first write: asking again after writing costs Wine a slower flush.
  uint64_t length = 0;
  if (links == 1 && file->Length(length))
    for (int pass = 0; pass < 3; ++pass)
      if (!OverwritePass(*file, length)) break;
  file->Close();
  return services_.RemoveFile(path);
}
