#pragma once
#include <string>
#include <unordered_map>

class TSystemServices;

// Remembers the shell's type name per file extension. Asking the shell costs milliseconds per
// file, and while the associations stay as they are its answer depends on the extension alone,
// so each distinct extension is asked once. Extensions are compared exactly as written ("TMP"
// and "tmp" are asked separately), which can only cost an extra query, never a wrong text. The
// owner calls Clear when the associations may have changed.
class TTypeNameCache {
public:
  explicit TTypeNameCache(TSystemServices& services) : services_(services) {}

  // The type name of the file at path, whose name part is name; valid until the next call.
  const std::wstring& TypeName(const std::wstring& path, const std::wstring& name);
  void Clear() { names_.clear(); }

private:
  TSystemServices& services_;
  std::unordered_map<std::wstring, std::wstring> names_;
  std::wstring extension_; // reused, so that a known extension costs no allocation
  std::wstring unremembered_;
};
