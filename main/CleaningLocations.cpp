#include "main/CleaningLocations.h"

#include "ui/Numbers.h"

namespace {

constexpr const char* kOldLocalData = "\\Local Settings\\";
constexpr const char* kNewLocalData = "\\AppData\\Local\\";
constexpr const char* kOldMarker = "Documents and Settings";

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

// The users root is cut from the Recent folder after the drive's marker: the 1-based position of
// the marker (0 when the drive form is absent) plus the length of what it keeps after it.
std::string CutUsersRoot(const std::string& recent, const char* driveMarker, size_t keep) {
  size_t found = recent.find(driveMarker);
  size_t position = found == std::string::npos ? 0 : found + 1;
  std::string root = recent.substr(0, position + keep);
  // Without a drive the cut falls short of the marker's backslash; a users root always ends
  // with one all the same, since profile names are joined to it as they are.
  if (root.empty() || root.back() != '\\') root += '\\';
  return root;
}

} // namespace

std::string ReadRegistryString(TSystemServices& services, HKEY root, const std::string& keyPath,
                               const std::string& valueName) {
  TRegistryValue value;
  if (!services.QueryRegistryValue(root, keyPath, valueName, value) || value.Type != REG_SZ)
    return {};
  // The stored data normally ends with a zero, but nothing forces a writer to store one; cutting
  // at the first zero keeps every character either way.
  return value.Data.substr(0, value.Data.find('\0'));
}

std::string ReadShellFolder(TSystemServices& services, const std::string& valueName) {
  return ReadRegistryString(services, HKEY_CURRENT_USER, kShellFoldersKey, valueName);
}

std::string GetWindowsFolder(TSystemServices& services) {
  return services.WindowsDirectory();
}

std::vector<std::string> ListSubfolders(TSystemServices& services, const std::string& folder) {
  std::vector<std::string> names;
  if (folder.empty()) return names;
  std::string pattern = folder;
  if (pattern.back() != '\\') pattern += '\\';
  pattern += "*.*";
  TFindEntry entry;
  auto listing = services.FindFirst(pattern, entry);
  if (!listing) return names;
  do {
    if (entry.Attributes == FILE_ATTRIBUTE_DIRECTORY && entry.Name != "." && entry.Name != "..")
      names.push_back(entry.Name);
  } while (listing->FindNext(entry));
  return names;
}

TProfileLayout ResolveProfileLayout(const std::string& recentFolder) {
  TProfileLayout layout;
  layout.RecentFolder = recentFolder;
  if (Contains(recentFolder, kOldMarker)) {
    layout.UsersRoot = CutUsersRoot(recentFolder, ":\\Documents and Settings", 24);
    layout.NewProfileLayout = false;
    layout.LocalDataPart = kOldLocalData;
  } else if (Contains(recentFolder, "\\Users\\")) {
    layout.UsersRoot = CutUsersRoot(recentFolder, ":\\Users", 7);
    layout.LocalDataPart = kNewLocalData;
  } else {
    layout.UsersRoot = "C:\\Users\\";
    layout.LocalDataPart = kNewLocalData;
  }
  return layout;
}

TProfileLayout ResolveProfileLayout(TSystemServices& services) {
  return ResolveProfileLayout(ReadShellFolder(services, "Recent"));
}

const char* GroupCaption(TPerUserCategory category) {
  switch (category) {
  case pcUserTemp:
    return "User Temp Files";
  case pcInternetExplorer:
    return "Internet Explorer Temp Files";
  case pcFirefox:
    return "Mozilla Firefox Temp Files";
  case pcChrome:
    return "Google Chrome Temp Files";
  case pcOpera:
    return "Opera Temp Files";
  case pcUnityWebPlayer:
    return "Unity WebPlayer Temp Files";
  }
  return "";
}

TFolderPieces PerUserFolderPieces(TPerUserCategory category, const TProfileLayout& layout) {
  const std::string& local = layout.LocalDataPart;
  // The browsers keep their caches under local data in the newer layout and under the
  // application data inside local data in the older one.
  const std::string browserBase = layout.NewProfileLayout ? local : local + "Application Data\\";
  switch (category) {
  case pcUserTemp:
    return {"", local, "Temp"};
  case pcInternetExplorer:
    return {layout.NewProfileLayout ? local + "Microsoft\\Windows\\" : local, "",
            "Temporary Internet Files"};
  case pcFirefox:
    return {browserBase, "", "Mozilla\\Firefox\\"};
  case pcChrome:
    return {browserBase, "", "Google\\Chrome\\User Data\\Default\\Cache"};
  case pcOpera:
    return {browserBase, "", "Opera\\Opera\\cache"};
  case pcUnityWebPlayer:
    return {browserBase, "", "Unity\\WebPlayer\\Cache"};
  }
  return {};
}

std::string PerUserFolder(const TProfileLayout& layout, const std::string& profile,
                          const TFolderPieces& pieces, const std::string& suffix) {
  return layout.UsersRoot + profile + pieces.PieceA + pieces.PieceB + pieces.Tail + suffix;
}

std::string FirefoxProfileList(const std::string& usersRoot, const std::string& profile) {
  const char* part = Contains(usersRoot, kOldMarker) ? "\\Application Data\\Mozilla\\Firefox\\"
                                                     : "\\AppData\\Roaming\\Mozilla\\Firefox\\";
  return usersRoot + profile + part + "profiles.ini";
}

std::optional<std::string> FirefoxProfileSuffix(TSystemServices& services,
                                                const std::string& usersRoot,
                                                const std::string& profile) {
  std::string path =
      services.ReadProfileString(FirefoxProfileList(usersRoot, profile), "Profile0", "Path", "");
  if (path.find(':') != std::string::npos) return std::nullopt;
  if (!path.empty() && (path[0] == '\\' || path[0] == '/')) return std::nullopt;
  for (size_t start = 0; start <= path.size();) {
    size_t end = path.find_first_of("\\/", start);
    if (end == std::string::npos) end = path.size();
    if (path.compare(start, end - start, "..") == 0) return std::nullopt;
    start = end + 1;
  }
  return path + "\\Cache";
}

bool StaysInside(const std::string& path, const std::string& folder) {
  auto full = [](const std::string& text) {
    std::wstring wide = AnsiToWide(text);
    DWORD n = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0) return std::wstring();
    std::wstring result(n, L'\0');
    n = ::GetFullPathNameW(wide.c_str(), DWORD(result.size()), result.data(), nullptr);
    result.resize(n < result.size() ? n : 0);
    while (!result.empty() && result.back() == L'\\')
      result.pop_back();
    return result;
  };
  std::wstring inner = full(path), outer = full(folder);
  if (inner.empty() || outer.empty() || inner.size() < outer.size()) return false;
  if (inner.size() > outer.size() && inner[outer.size()] != L'\\') return false;
  return ::CompareStringOrdinal(inner.c_str(), int(outer.size()), outer.c_str(), int(outer.size()),
                                TRUE) == CSTR_EQUAL;
}

bool QueryRecycleBinSize(TSystemServices& services, uint64_t& bytes) {
  constexpr DWORD kTrustedShellVersion = (4u << 16) | 72u;
  return services.GetFileVersionMS("shell32.dll") >= kTrustedShellVersion &&
         services.QueryRecycleBin(bytes) == S_OK;
}

std::string PrefetchFolder(TSystemServices& services) {
  std::string windows = GetWindowsFolder(services);
  return windows.empty() ? std::string() : windows + "\\Prefetch";
}
