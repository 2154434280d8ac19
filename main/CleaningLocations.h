#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "main/SystemServices.h"

// Where each kind of junk lies. Everything here is worked out afresh for every scan from the
// current user's shell folders, the profile folders on the disk, the Windows directory and
// Firefox's profile list; nothing is written.

inline constexpr const wchar_t* kShellFoldersKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Group captions of the single-folder categories; the Recycle Bin's row belongs to the list.
inline constexpr const wchar_t* kSystemTempCaption = L"System Temp Files";
inline constexpr const wchar_t* kRecentFilesCaption = L"Recent Files";
inline constexpr const wchar_t* kPrefetchCaption = L"Prefetch Old Files";

// The system temp folder is fixed, wherever Windows itself is installed.
inline constexpr const wchar_t* kSystemTempFolder = L"C:\\Windows\\Temp";

// A REG_SZ value without its terminating zero; any other type, or a missing key or value, gives
// an empty text.
std::wstring ReadRegistryString(TSystemServices& services, HKEY root, const std::wstring& keyPath,
                                const std::wstring& valueName);
// A value of the current user's "Shell Folders" key, by the rules of ReadRegistryString.
std::wstring ReadShellFolder(TSystemServices& services, const std::wstring& valueName);
std::wstring GetWindowsFolder(TSystemServices& services);

// The names of the plain folders inside folder (attributes exactly "directory": hidden, system,
// read-only, archive-marked folders and junctions are left out), without "." and "..", in the
// order the file system gives them. An empty folder text lists nothing, since searching it would
// mean the root of the current drive; a folder that cannot be listed gives an empty list.
std::vector<std::wstring> ListSubfolders(TSystemServices& services, const std::wstring& folder);

struct TProfileLayout {
  std::wstring RecentFolder;
  // The folder holding the user-profile folders, always with a trailing backslash.
  std::wstring UsersRoot;
  // "\Local Settings\" in the older layout, "\AppData\Local\" in the newer one.
  std::wstring LocalDataPart;
  bool NewProfileLayout = true;
};

// Tells the layout apart by the Recent folder: inside "Documents and Settings" is the older
// layout, inside "\Users\" the newer one, anything else (an empty text included) the newer one
// with its users root on drive C.
TProfileLayout ResolveProfileLayout(const std::wstring& recentFolder);
// The same for the current user's "Recent" shell folder.
TProfileLayout ResolveProfileLayout(TSystemServices& services);

// The categories searched in every user profile, in the order of the folder table.
enum TPerUserCategory : uint8_t {
  pcUserTemp,
  pcInternetExplorer,
  pcFirefox,
  pcChrome,
  pcEdge,
  pcOpera,
  pcUnityWebPlayer
};
inline constexpr TPerUserCategory kPerUserCategories[] = {
    pcUserTemp, pcInternetExplorer, pcFirefox, pcChrome, pcEdge, pcOpera, pcUnityWebPlayer};

// The pieces of a category's first folder that follow the users root and the profile folder's
// name, joined without separators.
struct TFolderPieces {
  std::wstring PieceA;
  std::wstring PieceB;
  std::wstring Tail;
};

const wchar_t* GroupCaption(TPerUserCategory category);
TFolderPieces PerUserFolderPieces(TPerUserCategory category, const TProfileLayout& layout);

// users root + profile + piece A + piece B + tail + suffix.
std::wstring PerUserFolder(const TProfileLayout& layout, const std::wstring& profile,
                           const TFolderPieces& pieces, const std::wstring& suffix = {});

// Every folder of the category in one user profile, each once, in the order they are searched:
// the category's first folder, then where today's versions of the program keep the same kind of
// files (the system's INetCache, Opera's "Opera Stable" cache, the cache of every browser
// profile of Chrome and Edge). Firefox has no first folder of its own: each profile of its
// profile list gives its "Cache" and its "cache2" folder.
std::vector<std::wstring> PerUserFolders(TSystemServices& services, const TProfileLayout& layout,
                                         TPerUserCategory category, const std::wstring& profile);

// Firefox's profile list of one user profile: under "\Application Data\" when the users root is
// a "Documents and Settings" folder, else under "\AppData\Roaming\".
std::wstring FirefoxProfileList(const std::wstring& usersRoot, const std::wstring& profile);
// The "Path" of every [ProfileN] section of the list, in the list's order, relative to the local
// Firefox folder and as written (forward slashes kept); one empty path when the file or every
// value is missing. The file is the user's to write, so a path that could lead out of the
// Firefox folder is left out: one with a ".." step (after either slash), a drive or stream
// colon, or a leading slash. An absolute path (IsRelative=0) is taken only when it lies inside
// the folder of the list itself, and then for the same place below the local Firefox folder.
std::vector<std::wstring> FirefoxProfilePaths(TSystemServices& services,
                                              const std::wstring& usersRoot,
                                              const std::wstring& profile);
// Whether path, its "." and ".." steps resolved, lies inside folder (or is it); both absolute.
bool StaysInside(const std::wstring& path, const std::wstring& folder);

// The size of the Recycle Bin of all drives in bytes, asked of the shell only when its library is
// at least version 4.72, the first whose answer can be trusted; false when it is not asked or the
// shell cannot tell. items, when given, gets the number of items it holds.
bool QueryRecycleBinSize(TSystemServices& services, uint64_t& bytes, uint64_t* items = nullptr);

// The Windows directory followed by "\Prefetch", or an empty text (never to be searched) when the
// Windows directory is unknown.
std::wstring PrefetchFolder(TSystemServices& services);
