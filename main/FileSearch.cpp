#include "main/FileSearch.h"

#include "grid/Grid.h"
#include "main/CleanerState.h"
#include "main/ScanProgress.h"
#include "main/SystemServices.h"

namespace {
std::wstring WithBackslash(const std::wstring& folder) {
  return !folder.empty() && folder.back() == L'\\' ? folder : folder + L'\\';
}

bool IsDotEntry(const std::wstring& name) {
  return name == L"." || name == L"..";
}

bool IsFolder(const TFindEntry& entry) {
  return entry.Attributes & FILE_ATTRIBUTE_DIRECTORY;
}

// A folder entry the walks may enter: a real subfolder, not "." or "..", and not a link that leads
// somewhere else.
bool IsPlainSubfolder(const TFindEntry& entry) {
  return IsFolder(entry) && !IsDotEntry(entry.Name) &&
         !(entry.Attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The grid's update lock for one walk. Letting it go brings the grid up to date, which can need
// memory; a destructor must not throw, so while a walk unwinds because memory ran out, that is
// left to whoever handles the error.
class TWalkLock {
public:
  explicit TWalkLock(TVxGrid& grid) : grid_(grid) { grid_.LockUpdates(); }
  TWalkLock(const TWalkLock&) = delete;
  TWalkLock& operator=(const TWalkLock&) = delete;
  ~TWalkLock() {
    try {
      grid_.UnlockUpdates();
    } catch (const std::bad_alloc&) {
    }
  }

private:
  TVxGrid& grid_;
};
} // namespace

void DropRowsFrom(TFoundFilesList& list, int row) {
  // From the end back: the last row never has descendants for its removal to take along.
  while (list.RowCount() > row)
    list.Grid().DeleteRowAt(list.RowCount() - 1);
}

TFileSearch::TFileSearch(TSystemServices& services, TFoundFilesList& list, TCleanerState& state,
                         TScanProgress& progress)
    : services_(services), list_(list), state_(state), progress_(progress), typeNames_(services) {}

void TFileSearch::AddFile(const std::wstring& base, const TFindEntry& entry) {
  // Built in the room of the last file's path: one allocation per file is a measurable share of
  // the scan.
  std::wstring& path = path_.assign(base).append(entry.Name);
  progress_.SetStatus(L"Search: ", path);
  state_.FoundBytes += entry.Size;
  progress_.SetPosition(state_.FoundBytes / 1024);
  // The browsers' own index files are counted but never offered for cleaning; only the exact
  // lower-case name is theirs.
  if (entry.Name != L"index.dat") {
    const std::wstring& typeName = typeNames_.TypeName(path, entry.Name);
    AppendWhole(list_, [&] { list_.AppendFileRow(path, entry.Size, typeName); });
  }
}

std::unique_ptr<TDirectoryListing> TFileSearch::List(const std::wstring& base, TFindEntry& first) {
  auto listing = services_.FindFirst(base + L"*.*", first);
  // A folder that is missing holds nothing to clean; one the user may not read might, and the
  // user is told once the scan ends.
  if (!listing && ::GetLastError() == ERROR_ACCESS_DENIED) ++deniedFolders_;
  return listing;
}

void TFileSearch::SearchFiles(const std::wstring& folder, bool recurse) {
  // An empty text would stand for the root of the current drive.
  if (folder.empty()) return;
  const std::wstring base = WithBackslash(folder);
  std::unique_ptr<TListedFolder> analyzed = std::move(analyzed_);
  if (analyzed && recurse && base == analyzedBase_) {
    SearchListed(base, *analyzed);
    return;
  }
  TWalkLock lock(list_.Grid());
  TScanProgress::TWalkScope walk(progress_);
  TFindEntry entry;
  auto listing = List(base, entry);
  if (!listing) return;
  bool more = true;
  while (more) {
    if (IsFolder(entry)) {
      if (recurse && IsPlainSubfolder(entry)) SearchFiles(base + entry.Name, recurse);
    } else {
      AddFile(base, entry);
    }
    more = listing->FindNext(entry);
    progress_.LetMessagesRun();
  }
}

void TFileSearch::SearchListed(const std::wstring& base, const TListedFolder& listed) {
  TWalkLock lock(list_.Grid());
  TScanProgress::TWalkScope walk(progress_);
  if (!listed.Listed) return;
  size_t subfolder = 0;
  for (const TFindEntry& entry : listed.Entries) {
    if (IsFolder(entry)) {
      if (IsPlainSubfolder(entry))
        SearchListed(base + entry.Name + L'\\', *listed.Subfolders[subfolder++]);
    } else {
      AddFile(base, entry);
    }
    progress_.LetMessagesRun();
  }
}

void TFileSearch::AnalyzeFolder(const std::wstring& folder, uint64_t& total,
                                const std::wstring& groupCaption) {
  analyzed_.reset();
  if (folder.empty()) return;
  auto listed = std::make_unique<TListedFolder>();
  const std::wstring base = WithBackslash(folder);
  Analyze(base, total, groupCaption, *listed);
  // Kept only once the whole tree is in: a pass cut short by an error leaves nothing to reuse.
  analyzed_ = std::move(listed);
  analyzedBase_ = base;
}

void TFileSearch::Analyze(const std::wstring& base, uint64_t& total,
                          const std::wstring& groupCaption, TListedFolder& listed) {
  TScanProgress::TWalkScope walk(progress_);
  TFindEntry entry;
  auto listing = List(base, entry);
  if (!listing) return;
  listed.Listed = true;
  do {
    progress_.LetMessagesRun();
    if (IsFolder(entry)) {
      if (IsPlainSubfolder(entry)) {
        listed.Subfolders.push_back(std::make_unique<TListedFolder>());
        Analyze(base + entry.Name + L'\\', total, groupCaption, *listed.Subfolders.back());
        progress_.SetStatus(L"Analysis: " + groupCaption + L" " + entry.Name);
      }
    } else {
      total += entry.Size;
    }
    listed.Entries.push_back(std::move(entry));
  } while (listing->FindNext(entry));
}
