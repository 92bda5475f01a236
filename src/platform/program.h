#pragma once
// Who the running program is, and where it keeps its own files (login file,
// configuration, history, backups, exports).
#include <string>

namespace platform {

// The program's name: "vistrel", "basinsetup" or "sentinax". It names the
// settings file and the program folder. Each program sets it first thing in
// main(), before it starts a thread; until then it is the file name of the
// running executable (so tests get their test program's name). A name that is
// empty, "." or "..", or holds '/' or '\0', is refused with false.
bool SetProgramName(const std::string& name);
std::string GetProgramName();

// $ZAVORO_DATA_DIR/<program> when that variable is set, else
// $XDG_DATA_HOME/zavoro/<program>, else ~/.local/share/zavoro/<program>.
// Every call makes sure the folder exists (created with mode 0700 where
// missing); empty when it cannot be made.
std::string GetProgramFolder();
// <program folder>/<file name>; empty when the folder cannot be made.
std::string GetProgramFilePath(const std::string& fileName);

// Opens a file that holds a password: created with mode 0600, and an existing
// file is narrowed to 0600 before anything is written. flags are open(2)'s
// (O_CLOEXEC is always added). Returns the descriptor, or -1.
int OpenPrivateFile(const std::string& path, int flags);

// Makes the directory and its missing parents (mode 0700); true when it exists.
bool MakeDirectories(const std::string& path);

// The directory under the user's XDG base directory: the value of the
// variable when it holds an absolute path, else $HOME/<fallback>; empty when
// neither is known.
std::string XdgDirectory(const char* variable, const char* homeFallback);

}  // namespace platform
