// files.h -- what the program asks of the file system and of other
// programs: folders, change times, wildcard search, and child processes fed
// through a pipe. One back end per system: linux/files_posix.cpp,
// windows/files_win32.cpp. Paths take '/' on both systems (doubled
// separators included).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// ---- files and folders ------------------------------------------------------------
// Creates every missing folder on the way; true when dir is a folder then.
bool platformMakeFolders(const std::string& dir);
bool platformIsFolder(const std::string& path);
// The size of a plain file; -1 when it is missing or not a plain file.
long long platformFileSize(const std::string& path);
// The last change of a file in nanoseconds of the system's clock; 0 when it
// is missing.
long long platformFileChangeTime(const std::string& path);
// The leaf names of the files in pattern's folder that match its last
// component ('*' any run, '?' one character; a leading '.' only matches a
// '.'), in the order the system lists them. "Routes//prs_*.rt" looks in
// "Routes//".
std::vector<std::string> platformFindFiles(const std::string& pattern);
// The text of the system's last error (errno, or the last Win32 error).
std::string platformLastError();

// ---- programs -------------------------------------------------------------------------
// The full path of program (without its ".exe") on the search path; empty
// when it is not found.
std::string platformFindProgram(const std::string& program);

struct childProcess {
  long long id = -1;     // the process (pid or handle), -1 when none
  long long input = -1;  // the write end of its standard input, when piped
};
struct childEnd {
  bool exited = false;   // false: ended by a signal
  int code = 0;          // exit code, or the signal's number
};
// Starts args[0] (a full path) with args; with pipeInput its standard input
// is a pipe the program writes to, otherwise it inherits the program's.
// The child gets a process group of its own: the terminal's interrupt
// reaches only the program, which then ends the child's input properly.
bool platformStartChild(const std::vector<std::string>& args, bool pipeInput, childProcess& child,
                        std::string& error);
// False when the child takes no more (it ended or closed its input).
bool platformWriteChild(childProcess& child, const void* data, size_t size);
void platformCloseChildInput(childProcess& child);
childEnd platformWaitChild(childProcess& child);
