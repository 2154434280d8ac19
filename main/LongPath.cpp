#include "main/LongPath.h"

#include <string_view>
#include <vector>

namespace {

constexpr const wchar_t* kLongPrefix = L"\\\\?\\";
constexpr const wchar_t* kLongUncPrefix = L"\\\\?\\UNC\\";

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.compare(0, std::wstring(prefix).size(), prefix) == 0;
}

bool IsDriveLetterPath(const std::wstring& path) {
  return path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/') &&
         ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
}

// The steps after the root, with "." and ".." resolved; ".." never climbs above the root.
std::wstring ResolvedSteps(const std::wstring& rest) {
  std::vector<std::wstring> steps;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find_first_of(L"\\/", start);
    if (end == std::wstring::npos) end = rest.size();
    std::wstring step = rest.substr(start, end - start);
    if (step == L"..") {
      if (!steps.empty()) steps.pop_back();
    } else if (!step.empty() && step != L".") {
      steps.push_back(std::move(step));
    }
    start = end + 1;
  }
  std::wstring joined;
  for (const std::wstring& step : steps) {
    if (!joined.empty()) joined += L'\\';
    joined += step;
  }
  // A folder named with its trailing backslash keeps it.
  const wchar_t last = rest.empty() ? 0 : rest.back();
  if (!joined.empty() && (last == L'\\' || last == L'/')) joined += L'\\';
  return joined;
}

} // namespace

std::wstring LongPathForm(const std::wstring& path) {
  if (StartsWith(path, kLongPrefix)) return path;
  if (IsDriveLetterPath(path))
    return kLongPrefix + path.substr(0, 2) + L'\\' + ResolvedSteps(path.substr(3));
  if (path.size() > 2 && (path[0] == L'\\' || path[0] == L'/') &&
      (path[1] == L'\\' || path[1] == L'/'))
    return kLongUncPrefix + ResolvedSteps(path.substr(2));
  return path;
}

std::wstring OrdinaryPathForm(const std::wstring& path) {
  if (StartsWith(path, kLongUncPrefix)) return L"\\\\" + path.substr(8);
  if (StartsWith(path, kLongPrefix) && path.size() >= 6 && path[5] == L':') return path.substr(4);
  return path;
}

bool IsNameableEntry(const std::wstring& name) {
  if (name.empty() || name == L"." || name == L"..") return false;
  // Asked for every entry the scan lists, so the set is not built for each character.
  constexpr std::wstring_view kMeaningful = L"\\/:*?\"<>|";
  for (wchar_t c : name)
    if (c < 0x20 || kMeaningful.find(c) != std::wstring_view::npos) return false;
  return true;
}
