#include "main/TypeNameCache.h"

#include "main/SystemServices.h"

std::wstring TTypeNameCache::TypeName(const std::wstring& path, const std::wstring& name) {
  // The extension with its dot; a name without a dot has the empty extension, which is a key of
  // its own (the shell's plain "File").
  size_t dot = name.rfind(L'.');
  std::wstring extension = dot == std::wstring::npos ? std::wstring() : name.substr(dot);
  auto found = names_.find(extension);
  if (found != names_.end()) return found->second;
  std::wstring typeName = services_.ShellTypeName(path);
  // An empty answer may come from a file that vanished since it was listed rather than from
  // the extension; it is not remembered, so the next file of that kind is asked again.
  if (!typeName.empty()) names_.emplace(std::move(extension), typeName);
  return typeName;
}
