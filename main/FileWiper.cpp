#include "main/FileWiper.h"

#include "main/CleanRandom.h"
#include "main/IniFile.h"

#include <algorithm>
#include <cstring>

namespace {

// Largest single write; a pass over a bigger file repeats it.
constexpr size_t kChunkBytes = 1 << 20;

std::wstring WithoutTrailingBackslashes(std::wstring path) {
  while (!path.empty() && path.back() == L'\\')
    path.pop_back();
  return path;
}

// Paths compare as the file system does: ordinal, without regard to letter case.
bool SamePath(const std::wstring& a, const std::wstring& b) {
  return SameTextIgnoringCase(a, b);
}

} // namespace

TSearchedFolder LocateSearchedFolder(TSystemServices& services, const std::wstring& folder) {
  TSearchedFolder located;
  located.Listed = folder.empty() || folder.back() == L'\\' ? folder : folder + L'\\';
  if (!located.Listed.empty()) located.Final = services.FinalFolderPath(located.Listed);
  return located;
}

TFileWiper::TFileWiper(TSystemServices& services) : services_(services) {}

void TFileWiper::TrustFolders(const std::vector<TSearchedFolder>& searchedFolders) {
  folders_.clear();
  for (const TSearchedFolder& searched : searchedFolders) {
    TSearchedFolder folder{WithoutTrailingBackslashes(searched.Listed),
                           WithoutTrailingBackslashes(searched.Final)};
    // A folder that could not be opened when it was searched admits nothing.
    if (!folder.Listed.empty() && !folder.Final.empty()) folders_.push_back(std::move(folder));
  }
}

bool TFileWiper::IsListedFile(TOpenFile& file, const std::wstring& path) const {
  // The file is opened as itself: a link shows as a reparse point and is never worked through.
  DWORD attributes = file.Attributes();
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return false;
  std::wstring final = file.FinalPath();
  if (final.empty()) return false;
  for (const TSearchedFolder& folder : folders_) {
    size_t n = folder.Listed.size();
    if (path.size() <= n + 1 || path[n] != L'\\' || !SamePath(path.substr(0, n), folder.Listed))
      continue;
    // Links above the searched folder, or the folder itself being one, were there when the scan
    // looked (a profile moved to another drive); below it, the file must lie exactly where the
    // list says.
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
    // A full disk or a failing device writes less than asked: the old bytes are still there.
    if (file.Write(chunk_.data(), count) != count) return false;
    remaining -= count;
  }
  return file.Flush();
}

TWipeResult TFileWiper::OpenFailure(DWORD error) {
  switch (error) {
  case ERROR_SHARING_VIOLATION:
  case ERROR_LOCK_VIOLATION:
    return wrInUse;
  case ERROR_FILE_NOT_FOUND:
  case ERROR_PATH_NOT_FOUND:
    return wrGone;
  default:
    return wrAccessDenied;
  }
}

TWipeResult TFileWiper::OverwriteAndDeleteFile(const std::wstring& path) {
  std::unique_ptr<TOpenFile> file = services_.OpenExisting(path);
  // Read at once: anything the system is asked next may overwrite it.
  const TWipeResult openFailure = file ? wrRemoved : OpenFailure(::GetLastError());
  // Windows opens a read-only file for writing only once its read-only bit is off. The bit goes
  // through a handle that has passed the same checks first, on a file of one name only, and comes
  // back through it when the file then still cannot be cleaned.
  std::unique_ptr<TOpenFile> keeper;
  DWORD cleared = 0;
  // Attributes cleared through the open file itself; a file that stays gets them back.
  DWORD changed = 0;
  auto giveUp = [&](TWipeResult why) {
    if (file) {
      if (changed) file->SetAttributes(changed);
      file->Close();
    }
    if (cleared) keeper->SetAttributes(cleared);
    return why;
  };
  if (!file) {
    keeper = services_.OpenAttributes(path);
    if (!keeper) return openFailure;
    if (!IsListedFile(*keeper, path)) return wrChanged;
    if (keeper->LinkCount() != 1) return openFailure;
    DWORD attributes = keeper->Attributes();
    if (!(attributes & FILE_ATTRIBUTE_READONLY) || !keeper->SetAttributes(0)) return openFailure;
    cleared = attributes;
    file = services_.OpenExisting(path);
    if (!file) return giveUp(OpenFailure(::GetLastError()));
  }
  if (!IsListedFile(*file, path)) return giveUp(wrChanged);
  // Attributes belong to the file, not to one of its names: a hard-linked file keeps them all,
  // and its data, which its other names still show, is not overwritten. Only this name goes.
  DWORD links = file->LinkCount();
  if (links == 0) return giveUp(wrAccessDenied);
  if (links == 1) {
    DWORD attributes = file->Attributes();
    if ((attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) &&
        file->SetAttributes(0))
      changed = attributes;
    // Nobody else can open the file while the handle is held, so its length stays what it is
    // now. It is read before the first write: asking again after writing costs Wine a slower
    // flush.
    uint64_t length = 0;
    bool overwritten = file->Length(length);
    for (int pass = 0; pass < 3 && overwritten; ++pass)
      overwritten = OverwritePass(*file, length);
    // Deleting a file whose old bytes may still be on the disk would report a wipe that did not
    // happen; it stays, and the user is told.
    if (!overwritten) return giveUp(wrNotOverwritten);
  }
  if (!file->Delete()) return giveUp(wrAccessDenied);
  file->Close();
  return wrRemoved;
}
