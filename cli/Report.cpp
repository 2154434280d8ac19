#include "cli/Report.h"

#include <cstdio>

#include "cli/Console.h"

namespace {

const wchar_t* StatusText(TFoundItem::TStatus status) {
  switch (status) {
  case TFoundItem::stRemoved:
    return L"removed";
  case TFoundItem::stLeft:
    return L"left";
  default:
    return L"found";
  }
}

struct TTotals {
  uint64_t Files = 0, Bytes = 0, RemovedFiles = 0, RemovedBytes = 0, LeftFiles = 0, LeftBytes = 0;
};

TTotals Totals(const TRunReport& report) {
  TTotals totals;
  for (const TFoundItem& item : report.Items) {
    ++totals.Files;
    totals.Bytes += item.Bytes;
    if (item.Status == TFoundItem::stRemoved) {
      ++totals.RemovedFiles;
      totals.RemovedBytes += item.Bytes;
    } else if (item.Status == TFoundItem::stLeft) {
      ++totals.LeftFiles;
      totals.LeftBytes += item.Bytes;
    }
  }
  return totals;
}

bool IsSurrogate(wchar_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

} // namespace

bool Complete(const TRunReport& report) {
  if (report.Interrupted || !report.Skipped.empty()) return false;
  for (const TFoundItem& item : report.Items)
    if (item.Status == TFoundItem::stLeft) return false;
  return true;
}

std::string JsonString(const std::wstring& text) {
  std::string json = "\"";
  char escape[8];
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                      text[i + 1] <= 0xDFFF;
    if (pair) {
      json += Utf8(text.substr(i, 2));
      ++i;
    } else if (c == L'"' || c == L'\\') {
      json += '\\';
      json += char(c);
    } else if (c < 0x20 || IsSurrogate(c)) {
      std::snprintf(escape, sizeof(escape), "\\u%04x", unsigned(c));
      json += escape;
    } else {
      json += Utf8(std::wstring(1, c));
    }
  }
  return json + "\"";
}

std::string ReportJson(const TRunReport& report, const std::wstring& version) {
  std::string json = "{\n  \"command\": " + JsonString(report.Command) +
                     ",\n  \"version\": " + JsonString(version) + ",\n  \"kinds\": [";
  for (size_t i = 0; i < report.Kinds.size(); ++i)
    json += (i ? ", " : "") + JsonString(report.Kinds[i]);
  json += "],\n  \"skipped\": [";
  for (size_t i = 0; i < report.Skipped.size(); ++i)
    json += std::string(i ? "," : "") + "\n    {\"kind\": " + JsonString(report.Skipped[i].Kind) +
            ", \"reason\": " + JsonString(report.Skipped[i].Reason) + "}";
  json += report.Skipped.empty() ? "],\n" : "\n  ],\n";
  json += "  \"interrupted\": " + std::string(report.Interrupted ? "true" : "false") +
          ",\n  \"files\": [";
  for (size_t i = 0; i < report.Items.size(); ++i) {
    const TFoundItem& item = report.Items[i];
    json += std::string(i ? "," : "") + "\n    {\"kind\": " + JsonString(item.Kind) +
            ", \"user\": " + JsonString(item.User) + ", \"path\": " + JsonString(item.Path) +
            ", \"bytes\": " + std::to_string(item.Bytes) +
            ", \"status\": " + JsonString(StatusText(item.Status)) +
            ", \"reason\": " + JsonString(item.Reason) + "}";
  }
  json += report.Items.empty() ? "],\n" : "\n  ],\n";
  const TTotals t = Totals(report);
  json += "  \"totals\": {\"files\": " + std::to_string(t.Files) +
          ", \"bytes\": " + std::to_string(t.Bytes) +
          ", \"removedFiles\": " + std::to_string(t.RemovedFiles) +
          ", \"removedBytes\": " + std::to_string(t.RemovedBytes) +
          ", \"leftFiles\": " + std::to_string(t.LeftFiles) +
          ", \"leftBytes\": " + std::to_string(t.LeftBytes) + "}\n}\n";
  return json;
}

std::wstring ReportText(const TRunReport& report) {
  std::wstring text;
  for (const TSkippedKind& skipped : report.Skipped)
    text += L"skipped\t" + skipped.Kind + L"\t\t\t\t" + skipped.Reason + L"\n";
  for (const TFoundItem& item : report.Items) {
    text += std::wstring(StatusText(item.Status)) + L"\t" + item.Kind + L"\t" + item.User + L"\t" +
            std::to_wstring(item.Bytes) + L"\t" + (item.Path.empty() ? L"Recycle Bin" : item.Path);
    if (!item.Reason.empty()) text += L"\t" + item.Reason;
    text += L"\n";
  }
  const TTotals t = Totals(report);
  text += L"Total: " + std::to_wstring(t.Files) + L" files, " + std::to_wstring(t.Bytes) +
          L" bytes found";
  if (report.Command == L"clean")
    text += L"; " + std::to_wstring(t.RemovedFiles) + L" removed, " +
            std::to_wstring(t.RemovedBytes) + L" bytes freed; " + std::to_wstring(t.LeftFiles) +
            L" left, " + std::to_wstring(t.LeftBytes) + L" bytes";
  if (report.Interrupted) text += L"; interrupted";
  return text + L"\n";
}
