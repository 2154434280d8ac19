#include "main/CleaningLocations.h"

#include "main/IniFile.h"
#include "main/LongPath.h"

namespace {

constexpr const wchar_t* kOldLocalData = L"\\Local Settings\\";
constexpr const wchar_t* kNewLocalData = L"\\AppData\\Local\\";
constexpr const wchar_t* kOldMarker = L"Documents and Settings";
// Firefox's profile list is a few hundred bytes; a file far larger is not one.
constexpr size_t kMaxProfileListBytes = 1 << 20;

bool Contains(const std::wstring& text, const wchar_t* part) {
  return text.find(part) != std::wstring::npos;
}

// The users root is cut from the Recent folder after the drive's marker: the 1-based position of
// the marker (0 when the drive form is absent) plus the length of what it keeps after it.
std::wstring CutUsersRoot(const std::wstring& recent, const wchar_t* driveMarker, size_t keep) {
  size_t found = recent.find(driveMarker);
  size_t position = found == std::wstring::npos ? 0 : found + 1;
  std::wstring root = recent.substr(0, position + keep);
  // Without a drive the cut falls short of the marker's backslash; a users root always ends
  // with one all the same, since profile names are joined to it as they are.
  if (root.empty() || root.back() != L'\\') root += L'\\';
  return root;
}

void AddOnce(std::vector<std::wstring>& folders, std::wstring folder) {
  for (const std::wstring& known : folders)
    if (SameTextIgnoringCase(known, folder)) return;
  folders.push_back(std::move(folder));
}

// The browsers name their profile folders "Default", "Profile 1", "Profile 2", ... and keep a
// guest and a system profile; other folders of "User Data" hold other things.
bool IsBrowserProfileFolder(const std::wstring& name) {
  if (SameTextIgnoringCase(name, L"Default") || SameTextIgnoringCase(name, L"Guest Profile") ||
      SameTextIgnoringCase(name, L"System Profile"))
    return true;
  const std::wstring prefix = L"Profile ";
  return name.size() > prefix.size() && SameTextIgnoringCase(name.substr(0, 8), prefix) &&
         name.find_first_not_of(L"0123456789", prefix.size()) == std::wstring::npos;
}

// userData's Default profile's cache first (the folder the category always had), then the cache
// of every other profile folder.
void AddProfileCaches(TSystemServices& services, const std::wstring& userData,
                      std::vector<std::wstring>& folders) {
  AddOnce(folders, userData + L"Default\\Cache");
  for (const std::wstring& name : ListSubfolders(services, userData))
    if (IsBrowserProfileFolder(name)) AddOnce(folders, userData + name + L"\\Cache");
}

// A relative profile path that cannot lead out of the folder it is joined to.
bool IsSafeRelativePath(const std::wstring& path) {
  if (path.find(L':') != std::wstring::npos) return false;
  if (!path.empty() && (path[0] == L'\\' || path[0] == L'/')) return false;
  for (size_t start = 0; start <= path.size();) {
    size_t end = path.find_first_of(L"\\/", start);
    if (end == std::wstring::npos) end = path.size();
    if (path.compare(start, end - start, L"..") == 0) return false;
    start = end + 1;
  }
  return true;
}

bool IsProfileSection(const std::wstring& name) {
  return name.size() > 7 && SameTextIgnoringCase(name.substr(0, 7), L"Profile") &&
         name.find_first_not_of(L"0123456789", 7) == std::wstring::npos;
}

} // namespace

std::wstring ReadRegistryString(TSystemServices& services, HKEY root, const std::wstring& keyPath,
                                const std::wstring& valueName) {
  TRegistryValue value;
  if (!services.QueryRegistryValue(root, keyPath, valueName, value) || value.Type != REG_SZ)
    return {};
  // The stored data normally ends with a zero, but nothing forces a writer to store one; cutting
  // at the first zero keeps every character either way.
  return value.Data.substr(0, value.Data.find(L'\0'));
}

std::wstring ReadShellFolder(TSystemServices& services, const std::wstring& valueName) {
  return ReadRegistryString(services, HKEY_CURRENT_USER, kShellFoldersKey, valueName);
}

std::wstring GetWindowsFolder(TSystemServices& services) {
  return services.WindowsDirectory();
}

std::vector<std::wstring> ListSubfolders(TSystemServices& services, const std::wstring& folder) {
  std::vector<std::wstring> names;
  if (folder.empty()) return names;
  std::wstring pattern = folder;
  if (pattern.back() != L'\\') pattern += L'\\';
  pattern += L"*.*";
  TFindEntry entry;
  auto listing = services.FindFirst(pattern, entry);
  if (!listing) return names;
  do {
    if (entry.Attributes == FILE_ATTRIBUTE_DIRECTORY && entry.Name != L"." && entry.Name != L"..")
      names.push_back(entry.Name);
  } while (listing->FindNext(entry));
  return names;
}

TProfileLayout ResolveProfileLayout(const std::wstring& recentFolder) {
  TProfileLayout layout;
  layout.RecentFolder = recentFolder;
  if (Contains(recentFolder, kOldMarker)) {
    layout.UsersRoot = CutUsersRoot(recentFolder, L":\\Documents and Settings", 24);
    layout.NewProfileLayout = false;
    layout.LocalDataPart = kOldLocalData;
  } else if (Contains(recentFolder, L"\\Users\\")) {
    layout.UsersRoot = CutUsersRoot(recentFolder, L":\\Users", 7);
    layout.LocalDataPart = kNewLocalData;
  } else {
    layout.UsersRoot = L"C:\\Users\\";
    layout.LocalDataPart = kNewLocalData;
  }
  return layout;
}

TProfileLayout ResolveProfileLayout(TSystemServices& services) {
  return ResolveProfileLayout(ReadShellFolder(services, L"Recent"));
}

const wchar_t* GroupCaption(TPerUserCategory category) {
  switch (category) {
  case pcUserTemp:
    return L"User Temp Files";
  case pcInternetExplorer:
    return L"Internet Explorer Temp Files";
  case pcFirefox:
    return L"Mozilla Firefox Temp Files";
  case pcChrome:
    return L"Google Chrome Temp Files";
  case pcEdge:
    return L"Microsoft Edge Temp Files";
  case pcOpera:
    return L"Opera Temp Files";
  case pcUnityWebPlayer:
    return L"Unity WebPlayer Temp Files";
  }
  return L"";
}

TFolderPieces PerUserFolderPieces(TPerUserCategory category, const TProfileLayout& layout) {
  const std::wstring& local = layout.LocalDataPart;
  // The browsers keep their caches under local data in the newer layout and under the
  // application data inside local data in the older one.
  const std::wstring browserBase = layout.NewProfileLayout ? local : local + L"Application Data\\";
  switch (category) {
  case pcUserTemp:
    return {L"", local, L"Temp"};
  case pcInternetExplorer:
    return {layout.NewProfileLayout ? local + L"Microsoft\\Windows\\" : local, L"",
            L"Temporary Internet Files"};
  case pcFirefox:
    return {browserBase, L"", L"Mozilla\\Firefox\\"};
  case pcChrome:
    return {browserBase, L"", L"Google\\Chrome\\User Data\\Default\\Cache"};
  case pcEdge:
    return {browserBase, L"", L"Microsoft\\Edge\\User Data\\Default\\Cache"};
  case pcOpera:
    return {browserBase, L"", L"Opera\\Opera\\cache"};
  case pcUnityWebPlayer:
    return {browserBase, L"", L"Unity\\WebPlayer\\Cache"};
  }
  return {};
}

std::wstring PerUserFolder(const TProfileLayout& layout, const std::wstring& profile,
                           const TFolderPieces& pieces, const std::wstring& suffix) {
  return layout.UsersRoot + profile + pieces.PieceA + pieces.PieceB + pieces.Tail + suffix;
}

std::vector<std::wstring> PerUserFolders(TSystemServices& services, const TProfileLayout& layout,
                                         TPerUserCategory category, const std::wstring& profile) {
  const TFolderPieces pieces = PerUserFolderPieces(category, layout);
  const std::wstring browserBase = layout.UsersRoot + profile + pieces.PieceA;
  std::vector<std::wstring> folders;
  switch (category) {
  case pcFirefox: {
    const std::wstring firefox = PerUserFolder(layout, profile, pieces);
    for (const std::wstring& path : FirefoxProfilePaths(services, layout.UsersRoot, profile))
      for (const wchar_t* cache : {L"\\Cache", L"\\cache2"})
        if (StaysInside(firefox + path + cache, firefox)) AddOnce(folders, firefox + path + cache);
    return folders;
  }
  case pcChrome:
    AddProfileCaches(services, browserBase + L"Google\\Chrome\\User Data\\", folders);
    return folders;
  case pcEdge:
    AddProfileCaches(services, browserBase + L"Microsoft\\Edge\\User Data\\", folders);
    return folders;
  default:
    break;
  }
  folders.push_back(PerUserFolder(layout, profile, pieces));
  // Windows 8 moved the internet cache; the older layout's systems never had the new one.
  if (category == pcInternetExplorer && layout.NewProfileLayout)
    AddOnce(folders, browserBase + L"INetCache");
  if (category == pcOpera) AddOnce(folders, browserBase + L"Opera Software\\Opera Stable\\Cache");
  return folders;
}

std::wstring FirefoxProfileList(const std::wstring& usersRoot, const std::wstring& profile) {
  return usersRoot + profile +
         (Contains(usersRoot, kOldMarker) ? L"\\Application Data\\Mozilla\\Firefox\\"
                                          : L"\\AppData\\Roaming\\Mozilla\\Firefox\\") +
         L"profiles.ini";
}

std::vector<std::wstring> FirefoxProfilePaths(TSystemServices& services,
                                              const std::wstring& usersRoot,
                                              const std::wstring& profile) {
  const std::wstring list = FirefoxProfileList(usersRoot, profile);
  const std::wstring listFolder = list.substr(0, list.find_last_of(L'\\') + 1);
  std::string bytes;
  std::vector<std::wstring> paths;
  bool anyValue = false;
  if (services.ReadSmallFile(list, kMaxProfileListBytes, bytes)) {
    TIniFile ini(TIniFile::Decode(bytes));
    for (const std::wstring& section : ini.Sections()) {
      if (!IsProfileSection(section)) continue;
      std::wstring path = ini.ReadString(section, L"Path", L"");
      if (path.empty()) continue;
      anyValue = true;
      // A profile kept elsewhere is searched only when it lies in the user's own Firefox folder;
      // its cache then lies at the same place below the local one.
      if (ini.ReadString(section, L"IsRelative", L"1") == L"0") {
        if (!StaysInside(path, listFolder)) continue;
        std::wstring inner = LongPathForm(path), outer = LongPathForm(listFolder);
        path = inner.size() > outer.size() ? inner.substr(outer.size()) : std::wstring();
      }
      if (IsSafeRelativePath(path)) AddOnce(paths, path);
    }
  }
  if (!anyValue) paths.push_back(L"");
  return paths;
}

bool StaysInside(const std::wstring& path, const std::wstring& folder) {
  auto full = [](const std::wstring& text) {
    std::wstring resolved = LongPathForm(text);
    // Only an absolute path has a long form; nothing else can be said to lie anywhere.
    if (resolved == text) return std::wstring();
    while (!resolved.empty() && resolved.back() == L'\\')
      resolved.pop_back();
    return resolved;
  };
  std::wstring inner = full(path), outer = full(folder);
  if (inner.empty() || outer.empty() || inner.size() < outer.size()) return false;
  if (inner.size() > outer.size() && inner[outer.size()] != L'\\') return false;
  return SameTextIgnoringCase(inner.substr(0, outer.size()), outer);
}

bool QueryRecycleBinSize(TSystemServices& services, uint64_t& bytes, uint64_t* items) {
  constexpr DWORD kTrustedShellVersion = (4u << 16) | 72u;
  uint64_t count = 0;
  if (services.GetFileVersionMS(L"shell32.dll") < kTrustedShellVersion ||
      services.QueryRecycleBin(bytes, count) != S_OK)
    return false;
  if (items) *items = count;
  return true;
}

std::wstring PrefetchFolder(TSystemServices& services) {
  std::wstring windows = GetWindowsFolder(services);
  return windows.empty() ? std::wstring() : windows + L"\\Prefetch";
}
