#pragma once
#include <string>
#include <unordered_map>

class TSystemServices;

// Remembers the shell's type name per file extension for the length of one scan. Asking the
// shell costs milliseconds per file, and within one scan its answer depends on the extension
// alone, so each distinct extension is asked once. Extensions are compared exactly as written
// ("TMP" and "tmp" are asked separately), which can only cost an extra query, never a wrong
// text. A new scan starts with Clear, since associations may have changed in between.
class TTypeNameCache {
public:
  explicit TTypeNameCache(TSystemServices& services) : services_(services) {}

  // The type name of the file at path, whose name part is name.
  std::wstring TypeName(const std::wstring& path, const std::wstring& name);
  void Clear() { names_.clear(); }

private:
  TSystemServices& services_;
  std::unordered_map<std::wstring, std::wstring> names_;
};
