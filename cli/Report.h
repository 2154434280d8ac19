#pragma once
#include <string>
#include <vector>

#include "cli/HeadlessRuns.h"

// A kind asked for and left out, with why.
struct TSkippedKind {
  std::wstring Kind;
  std::wstring Reason;
};

struct TRunReport {
  std::wstring Command; // "preview" or "clean"
  std::vector<std::wstring> Kinds;
  std::vector<TSkippedKind> Skipped;
  std::vector<TFoundItem> Items;
  bool Interrupted = false;
};

// Whether everything asked for was done: no kind skipped, nothing left, not interrupted.
bool Complete(const TRunReport& report);

// A JSON string literal of the text in UTF-8. A lone surrogate, which a file name may hold but
// UTF-8 cannot, is written as its \u escape, so that the path stays exact.
std::string JsonString(const std::wstring& text);

// The whole report as one JSON document (shape in README).
std::string ReportJson(const TRunReport& report, const std::wstring& version);
// The same for people: one tab-separated line per file, then the totals.
std::wstring ReportText(const TRunReport& report);
