#include "main/KindsArgument.h"

namespace {
constexpr const wchar_t* kPrefix = L"/kinds=";
constexpr int kBoxCount = 10;

std::wstring Trimmed(const std::wstring& text) {
  const size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}
} // namespace

std::wstring KindsArgument(const std::vector<int>& boxes) {
  std::wstring argument = kPrefix;
  for (size_t i = 0; i < boxes.size(); ++i)
    argument += (i ? L"," : L"") + std::to_wstring(boxes[i]);
  return argument;
}

bool ParseKindsArgument(const std::wstring& commandLine, std::vector<int>& boxes) {
  const std::wstring text = Trimmed(commandLine);
  const std::wstring prefix = kPrefix;
  if (text.compare(0, prefix.size(), prefix) != 0) return false;
  std::vector<int> parsed;
  // Nothing after the sign means nothing ticked; otherwise numbers of one or two digits, each
  // naming a box, separated by single commas.
  for (size_t at = prefix.size(); at < text.size();) {
    size_t end = text.find(L',', at);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring item = text.substr(at, end - at);
    if (item.empty() || item.size() > 2 || item.find_first_not_of(L"0123456789") != item.npos)
      return false;
    const int box = std::stoi(item);
    if (box < 1 || box > kBoxCount) return false;
    parsed.push_back(box);
    if (end == text.size()) break;
    at = end + 1;
    if (at == text.size()) return false;
  }
  boxes = std::move(parsed);
  return true;
}
