#include "main/FileSearch.h"

#include "main/CleanerState.h"
#include "main/FoundFilesList.h"
#include "main/ScanProgress.h"
#include "main/SystemServices.h"

namespace {
std::string WithBackslash(const std::string& folder) {
  return !folder.empty() && folder.back() == '\\' ? folder : folder + '\\';
}

bool IsDotEntry(const std::string& name) {
  return name == "." || name == "..";
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
} // namespace

TFileSearch::TFileSearch(TSystemServices& services, TFoundFilesList& list, TCleanerState& state,
                         TScanProgress& progress)
    : services_(services), list_(list), state_(state), progress_(progress), typeNames_(services) {}

void TFileSearch::SearchFiles(const std::string& folder, bool recurse) {
  // An empty text would stand for the root of the current drive.
  if (folder.empty()) return;
  TFoundFilesList::TUpdateLock lock(list_);
  TScanProgress::TWalkScope walk(progress_);
  const std::string base = WithBackslash(folder);
  TFindEntry entry;
  auto listing = services_.FindFirst(base + "*.*", entry);
  if (!listing) return;
  bool more = true;
  while (more) {
    if (IsFolder(entry)) {
      if (recurse && IsPlainSubfolder(entry)) SearchFiles(base + entry.Name, recurse);
    } else {
      std::string path = base + entry.Name;
      progress_.SetStatus("Search: " + path);
      state_.FoundBytes += entry.Size;
      progress_.SetPosition(state_.FoundBytes / 1024);
      // The browsers' own index files are counted but never offered for cleaning; only the exact
      // lower-case name is theirs.
      if (entry.Name != "index.dat") {
        std::string typeName = typeNames_.TypeName(path, entry.Name);
        list_.AppendFileRow(path, entry.Size, typeName);
      }
    }
    more = listing->FindNext(entry);
    progress_.LetMessagesRun();
  }
}

void TFileSearch::AnalyzeFolder(const std::string& folder, uint64_t& total,
                                const std::string& groupCaption) {
  if (folder.empty()) return;
  TScanProgress::TWalkScope walk(progress_);
  const std::string base = WithBackslash(folder);
  TFindEntry entry;
  auto listing = services_.FindFirst(base + "*.*", entry);
  if (!listing) return;
  do {
    progress_.LetMessagesRun();
    if (IsDotEntry(entry.Name)) continue;
    if (IsFolder(entry)) {
      if (!IsPlainSubfolder(entry)) continue;
      AnalyzeFolder(base + entry.Name, total, groupCaption);
      progress_.SetStatus("Analysis: " + groupCaption + " " + entry.Name);
    } else {
      total += entry.Size;
    }
  } while (listing->FindNext(entry));
}
