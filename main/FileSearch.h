#pragma once
#include <cstdint>
#include <string>

#include "main/TypeNameCache.h"

class TSystemServices;
class TFoundFilesList;
class TScanProgress;
struct TCleanerState;

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
  void SearchFiles(const std::string& folder, bool recurse);
  // Adds the size of every file below folder, at all depths, to total; groupCaption only shows in
  // the status text.
  void AnalyzeFolder(const std::string& folder, uint64_t& total, const std::string& groupCaption);

  // A new scan asks the shell afresh for type names.
  void ForgetTypeNames() { typeNames_.Clear(); }

private:
  TSystemServices& services_;
  TFoundFilesList& list_;
  TCleanerState& state_;
  TScanProgress& progress_;
  TTypeNameCache typeNames_;
};
