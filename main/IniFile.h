#pragma once
#include <string>
#include <vector>

// An initialisation file as Firefox writes its profile list: UTF-8 text (with or without a byte
// order mark); bytes that are not valid UTF-8 are read in the system's ANSI code page, as older
// writers left them. Section and key names match without regard to letter case, and the first
// section and the first key of a name count, as the system's profile-string service has it.
class TIniFile {
public:
  // The file's text from its bytes.
  static std::wstring Decode(const std::string& bytes);

  explicit TIniFile(const std::wstring& text);

  // The names of the sections, in the order the file gives them, each once.
  std::vector<std::wstring> Sections() const;
  // The value of key in section without the blanks around it (and without one pair of quotes
  // around it); defaultValue when there is no such section or key.
  std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& defaultValue) const;

private:
  struct TEntry {
    std::wstring Key;
    std::wstring Value;
  };
  struct TSection {
    std::wstring Name;
    std::vector<TEntry> Entries;
  };
  const TSection* Find(const std::wstring& section) const;

  std::vector<TSection> sections_;
};

// Letter case aside, the two texts are equal (ordinal, as the system compares names).
bool SameTextIgnoringCase(const std::wstring& a, const std::wstring& b);
