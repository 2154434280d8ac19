#pragma once
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "main/FoundFilesList.h"
#include "main/SystemServices.h"
#include "main/TypeNameCache.h"

class TScanProgress;
struct TCleanerState;

// Removes the rows from row to the end; removing gives memory back and never needs any.
void DropRowsFrom(TFoundFilesList& list, int row);

// Appends one row through append, whole or not at all: memory running out halfway through would
// leave a row listed without its size, type or tick, and the clean run takes up every listed row.
template <class TAppend> void AppendWhole(TFoundFilesList& list, TAppend append) {
  const int before = list.RowCount();
  try {
    append();
  } catch (const std::bad_alloc&) {
    DropRowsFrom(list, before);
    throw;
  }
}

// The two recursive walks of a scan: SearchFiles lists every file of a folder tree as a file row of
// the found-files list; AnalyzeFolder only adds up the sizes, so that the scan can scale the
// progress bar before it searches. Neither descends into a folder entry that is a reparse point
// (junction, directory symlink): what lies behind one is outside the category, and the clean run
// would destroy it; a link to its own ancestor would recurse until the stack ran out.
class TFileSearch {
public:
  TFileSearch(TSystemServices& services, TFoundFilesList& list, TCleanerState& state,
              TScanProgress& progress);

  // Appends a file row under the state's FileParentRow for every file below folder (with or without
  // its trailing backslash), subfolders' files where the subfolder was met.
  void SearchFiles(const std::wstring& folder, bool recurse);
  // Adds the size of every file below folder, at all depths, to total; groupCaption only shows in
  // the status text. The entries are kept until the next SearchFiles of the same folder, which
  // then shows them (the same rows, texts, progress and message runs) without enumerating again.
  void AnalyzeFolder(const std::wstring& folder, uint64_t& total, const std::wstring& groupCaption);

  // Once the associations may have changed, the shell is asked afresh for type names.
  void ForgetTypeNames() { typeNames_.Clear(); }
  // How many folders the walks could not list for want of rights, since this search was made.
  int DeniedFolders() const { return deniedFolders_; }

private:
  // One folder as the size pass enumerated it: every entry in the order the file system gave
  // them, and the same for each subfolder it entered, in the order it met them.
  struct TListedFolder {
    bool Listed = false;
    std::vector<TFindEntry> Entries;
    std::vector<std::unique_ptr<TListedFolder>> Subfolders;
  };

  void Analyze(const std::wstring& base, uint64_t& total, const std::wstring& groupCaption,
               TListedFolder& listed);
  void SearchListed(const std::wstring& base, const TListedFolder& listed);
  void AddFile(const std::wstring& base, const TFindEntry& entry);
  std::unique_ptr<TDirectoryListing> List(const std::wstring& base, TFindEntry& first);

  TSystemServices& services_;
  TFoundFilesList& list_;
  TCleanerState& state_;
  TScanProgress& progress_;
  TTypeNameCache typeNames_;
  // The last size pass's listing and the folder it was of; the search right after it goes over
  // these entries instead of asking the file system for them again.
  std::unique_ptr<TListedFolder> analyzed_;
  std::wstring analyzedBase_;
  int deniedFolders_ = 0;
  std::wstring path_; // the file being listed
};
