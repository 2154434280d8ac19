#pragma once
#include <string>

// Paths reach the file system in the "\\?\" form, which takes a path of any length and every
// name as it is stored: an ordinary Win32 path is cut at 260 characters and rewritten on the way
// (trailing dots and spaces dropped, "con.tmp" or "NUL" taken for a device), so it could name
// another file than the one listed, or none. The list and the log keep the ordinary form.

// "C:\a\b" gives "\\?\C:\a\b", "\\srv\share\x" gives "\\?\UNC\srv\share\x". Forward slashes
// become backslashes, empty steps go and "." and ".." steps are resolved in the text, as the
// ordinary form would have them, since the long form takes every character literally. Any other
// text (relative, or already in the long form) comes back as it is.
std::wstring LongPathForm(const std::wstring& path);

// The ordinary form of a long-form path ("\\?\C:\a" gives "C:\a", "\\?\UNC\srv\x" gives
// "\\srv\x"); any other text comes back as it is.
std::wstring OrdinaryPathForm(const std::wstring& path);

// Whether a listed name can be joined to its folder's path and name exactly that entry: not
// empty, not "." or "..", and without a character a path gives a meaning of its own (separators,
// the colon that names a stream of another file, wildcards, quotes, pipes, controls). Such names
// do not come from Windows itself, but a file system driver or a foreign disk can hold them.
bool IsNameableEntry(const std::wstring& name);
