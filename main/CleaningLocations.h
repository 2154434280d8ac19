#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "main/SystemServices.h"

// Where each kind of junk lies. Everything here is worked out afresh for every scan from the
// current user's shell folders, the profile folders on the disk, the Windows directory and
// Firefox's profile list; nothing is written.

inline constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Group captions of the single-folder categories; the Recycle Bin's row belongs to the list.
inline constexpr const char* kSystemTempCaption = "System Temp Files";
inline constexpr const char* kRecentFilesCaption = "Recent Files";
inline constexpr const char* kPrefetchCaption = "Prefetch Old Files";

// The system temp folder is fixed, wherever Windows itself is installed.
inline constexpr const char* kSystemTempFolder = "C:\\Windows\\Temp";

// A REG_SZ value without its terminating zero; any other type, or a missing key or value, gives
// an empty text.
std::string ReadRegistryString(TSystemServices& services, HKEY root, const std::string& keyPath,
                               const std::string& valueName);
// A value of the current user's "Shell Folders" key, by the rules of ReadRegistryString.
std::string ReadShellFolder(TSystemServices& services, const std::string& valueName);
std::string GetWindowsFolder(TSystemServices& services);

// The names of the plain folders inside folder (attributes exactly "directory": hidden, system,
// read-only, archive-marked folders and junctions are left out), without "." and "..", in the
// order the file system gives them. An empty folder text lists nothing, since searching it would
// mean the root of the current drive; a folder that cannot be listed gives an empty list.
std::vector<std::string> ListSubfolders(TSystemServices& services, const std::string& folder);

struct TProfileLayout {
  std::string RecentFolder;
  // The folder holding the user-profile folders, always with a trailing backslash.
  std::string UsersRoot;
  // "\Local Settings\" in the older layout, "\AppData\Local\" in the newer one.
  std::string LocalDataPart;
  bool NewProfileLayout = true;
};

// Tells the layout apart by the Recent folder: inside "Documents and Settings" is the older
// layout, inside "\Users\" the newer one, anything else (an empty text included) the newer one
// with its users root on drive C.
TProfileLayout ResolveProfileLayout(const std::string& recentFolder);
// The same for the current user's "Recent" shell folder.
TProfileLayout ResolveProfileLayout(TSystemServices& services);

// The categories searched in every user profile, in the order of the folder table.
enum TPerUserCategory : uint8_t {
  pcUserTemp,
  pcInternetExplorer,
  pcFirefox,
  pcChrome,
  pcOpera,
  pcUnityWebPlayer
};
inline constexpr TPerUserCategory kPerUserCategories[] = {
    pcUserTemp, pcInternetExplorer, pcFirefox, pcChrome, pcOpera, pcUnityWebPlayer};

// The pieces that follow the users root and the profile folder's name, joined without separators.
struct TFolderPieces {
  std::string PieceA;
  std::string PieceB;
  std::string Tail;
};

const char* GroupCaption(TPerUserCategory category);
TFolderPieces PerUserFolderPieces(TPerUserCategory category, const TProfileLayout& layout);

// users root + profile + piece A + piece B + tail + suffix (the suffix is Firefox's only).
std::string PerUserFolder(const TProfileLayout& layout, const std::string& profile,
                          const TFolderPieces& pieces, const std::string& suffix = {});

// Firefox's profile list of one user profile: under "\Application Data\" when the users root is
// a "Documents and Settings" folder, else under "\AppData\Roaming\".
std::string FirefoxProfileList(const std::string& usersRoot, const std::string& profile);
// The "Path" of the list's first profile followed by "\Cache", taken as written (relative to the
// local Firefox folder, forward slashes kept); "\Cache" alone when the file or value is missing.
// The file is the user's to write, so a path that could lead out of the Firefox folder is
// refused (no value): one with a ".." step (after either slash), a drive or stream colon, or a
// leading slash.
std::optional<std::string> FirefoxProfileSuffix(TSystemServices& services,
                                                const std::string& usersRoot,
                                                const std::string& profile);
// Whether path, made absolute as the system resolves it, lies inside folder (or is it).
bool StaysInside(const std::string& path, const std::string& folder);

// The size of the Recycle Bin of all drives in bytes, asked of the shell only when its library is
// at least version 4.72, the first whose answer can be trusted; false when it is not asked or the
// shell cannot tell.
bool QueryRecycleBinSize(TSystemServices& services, uint64_t& bytes);

// The Windows directory followed by "\Prefetch", or an empty text (never to be searched) when the
// Windows directory is unknown.
std::string PrefetchFolder(TSystemServices& services);
