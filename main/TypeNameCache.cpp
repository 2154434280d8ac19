#include "main/TypeNameCache.h"

#include "main/SystemServices.h"

const std::wstring& TTypeNameCache::TypeName(const std::wstring& path, const std::wstring& name) {
  // The extension with its dot; a name without a dot has the empty extension, which is a key of
  // its own (the shell's plain "File").
  size_t dot = name.rfind(L'.');
  if (dot == std::wstring::npos)
    extension_.clear();
  else
    extension_.assign(name, dot);
  auto found = names_.find(extension_);
  if (found != names_.end()) return found->second;
  std::wstring typeName = services_.ShellTypeName(path);
  // An empty answer may come from a file that vanished since it was listed rather than from
  // the extension; it is not remembered, so the next file of that kind is asked again.
  if (typeName.empty()) {
    unremembered_.clear();
    return unremembered_;
  }
  return names_.emplace(extension_, std::move(typeName)).first->second;
}
