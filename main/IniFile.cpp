#include "main/IniFile.h"

#include <windows.h>

namespace {

std::wstring Trimmed(const std::wstring& text) {
  const wchar_t* blanks = L" \t\r\n";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::wstring Converted(UINT codePage, DWORD flags, const std::string& bytes, bool& ok) {
  ok = true;
  if (bytes.empty()) return {};
  int n = ::MultiByteToWideChar(codePage, flags, bytes.data(), int(bytes.size()), nullptr, 0);
  ok = n > 0;
  if (!ok) return {};
  std::wstring text(size_t(n), L'\0');
  ::MultiByteToWideChar(codePage, flags, bytes.data(), int(bytes.size()), text.data(), n);
  return text;
}

} // namespace

bool SameTextIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) ==
         CSTR_EQUAL;
}

std::wstring TIniFile::Decode(const std::string& bytes) {
  std::string body = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? bytes.substr(3) : bytes;
  bool ok = false;
  std::wstring text = Converted(CP_UTF8, MB_ERR_INVALID_CHARS, body, ok);
  if (ok) return text;
  return Converted(CP_ACP, 0, body, ok);
}

TIniFile::TIniFile(const std::wstring& text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = Trimmed(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == L';') continue;
    if (line[0] == L'[') {
      size_t close = line.find(L']');
      sections_.push_back(
          {Trimmed(line.substr(1, close == std::wstring::npos ? close : close - 1)), {}});
      continue;
    }
    size_t equals = line.find(L'=');
    if (sections_.empty() || equals == std::wstring::npos) continue;
    std::wstring value = Trimmed(line.substr(equals + 1));
    if (value.size() >= 2 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0])
      value = value.substr(1, value.size() - 2);
    sections_.back().Entries.push_back({Trimmed(line.substr(0, equals)), std::move(value)});
  }
}

const TIniFile::TSection* TIniFile::Find(const std::wstring& section) const {
  for (const TSection& candidate : sections_)
    if (SameTextIgnoringCase(candidate.Name, section)) return &candidate;
  return nullptr;
}

std::vector<std::wstring> TIniFile::Sections() const {
  std::vector<std::wstring> names;
  for (const TSection& section : sections_)
    if (Find(section.Name) == &section) names.push_back(section.Name);
  return names;
}

std::wstring TIniFile::ReadString(const std::wstring& section, const std::wstring& key,
                                  const std::wstring& defaultValue) const {
  const TSection* found = Find(section);
  if (!found) return defaultValue;
  for (const TEntry& entry : found->Entries)
    if (SameTextIgnoringCase(entry.Key, key)) return entry.Value;
  return defaultValue;
}
