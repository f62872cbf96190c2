// files_win32.cpp -- folders, change times, wildcard search and child
// processes on Windows. Paths keep their '/' separators: the system takes
// them, doubled ones included.
#include "platform/files.h"

#include <windows.h>

#include <cstring>

static std::string withBackslashes(std::string s) {
  for (char& c : s)
    if (c == '/') c = '\\';
  return s;
}

bool platformMakeFolders(const std::string& dir) {
  std::string path = withBackslashes(dir);
  for (size_t at = 1; at <= path.size(); ++at) {
    if (at < path.size() && path[at] != '\\') continue;
    std::string part = path.substr(0, at);
    if (part.back() == ':' || part.back() == '\\') continue;  // a drive, a doubled separator
    if (!CreateDirectoryA(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return platformIsFolder(dir);
}

bool platformIsFolder(const std::string& path) {
  DWORD a = GetFileAttributesA(withBackslashes(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

long long platformFileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExA(withBackslashes(path).c_str(), GetFileExInfoStandard, &d) ||
      (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return -1;
  return (long long)(uint64_t(d.nFileSizeHigh) << 32 | d.nFileSizeLow);
}

long long platformFileChangeTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (path.empty() || !GetFileAttributesExA(withBackslashes(path).c_str(), GetFileExInfoStandard, &d)) return 0;
  uint64_t t = uint64_t(d.ftLastWriteTime.dwHighDateTime) << 32 | d.ftLastWriteTime.dwLowDateTime;
  return (long long)(t * 100);  // 100-ns steps since 1601
}

// '*' and '?' as the POSIX search reads them, a leading '.' matched only by
// a '.': the system's own matching also tries the short 8.3 names, so its
// finds are checked again here and both systems list the same files.
static bool matches(const char* pattern, const char* name) {
  if (*pattern == 0) return *name == 0;
  if (*pattern == '*') return matches(pattern + 1, name) || (*name && matches(pattern, name + 1));
  if (*name == 0) return false;
  return (*pattern == '?' || *pattern == *name) && matches(pattern + 1, name + 1);
}

std::vector<std::string> platformFindFiles(const std::string& pattern) {
  size_t slash = pattern.find_last_of("/\\");
  std::string leaf = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA(withBackslashes(pattern).c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    const char* name = found.cFileName;
    if (name[0] == '.' && leaf[0] != '.') continue;
    if (matches(leaf.c_str(), name)) names.push_back(name);
  } while (FindNextFileA(h, &found));
  FindClose(h);
  return names;
}

std::string platformLastError() {
  char text[512];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(), 0,
                           text, sizeof text, nullptr);
  while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == '.')) --n;
  return n ? std::string(text, n) : "error " + std::to_string(GetLastError());
}

std::string platformFindProgram(const std::string& program) {
  char path[MAX_PATH * 4];
  DWORD n = SearchPathA(nullptr, program.c_str(), ".exe", sizeof path, path, nullptr);
  return n > 0 && n < sizeof path ? std::string(path, n) : std::string();
}

// One command line from the arguments, quoted so that the C runtime of the
// child splits it back into the same arguments.
static std::string commandLine(const std::vector<std::string>& args) {
  std::string line;
  for (const std::string& a : args) {
    if (!line.empty()) line += ' ';
    if (!a.empty() && a.find_first_of(" \t\"") == std::string::npos) {
      line += a;
      continue;
    }
    line += '"';
    size_t slashes = 0;
    for (char c : a) {
      if (c == '\\') {
        ++slashes;
        continue;
      }
      line.append(c == '"' ? slashes * 2 + 1 : slashes, '\\');
      slashes = 0;
      line += c;
    }
    line.append(slashes * 2, '\\');
    line += '"';
  }
  return line;
}

// An inheritable copy of one of the program's standard handles; null when
// it has none (a windowed program started from the desktop).
static HANDLE inheritableStd(DWORD which) {
  HANDLE h = GetStdHandle(which), copy = nullptr;
  if (!h || h == INVALID_HANDLE_VALUE || GetFileType(h) == FILE_TYPE_UNKNOWN) return nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS))
    return nullptr;
  return copy;
}

// The child writes where the program writes; a program without standard
// handles gives a console child a console window of its own (the first
// run's bake shows its progress there).
bool platformStartChild(const std::vector<std::string>& args, bool pipeInput, childProcess& child,
                        std::string& error) {
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (pipeInput) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 1 << 20)) {
      error = "cannot make a pipe: " + platformLastError();
      return false;
    }
    SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, 0);
  }
  HANDLE out = inheritableStd(STD_OUTPUT_HANDLE), err = inheritableStd(STD_ERROR_HANDLE);
  HANDLE in = pipeInput ? nullptr : inheritableStd(STD_INPUT_HANDLE);
  STARTUPINFOA start;
  std::memset(&start, 0, sizeof start);
  start.cb = sizeof start;
  bool handles = pipeInput || out || err;
  if (handles) {
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = pipeInput ? readEnd : in;
    start.hStdOutput = out;
    start.hStdError = err;
  }
  PROCESS_INFORMATION process;
  std::string line = commandLine(args);
  BOOL ok = CreateProcessA(args[0].c_str(), &line[0], nullptr, nullptr, handles, CREATE_NEW_PROCESS_GROUP,
                           nullptr, nullptr, &start, &process);
  if (!ok) error = platformLastError();
  for (HANDLE h : {readEnd, out, err, in})
    if (h) CloseHandle(h);
  if (!ok) {
    if (writeEnd) CloseHandle(writeEnd);
    return false;
  }
  CloseHandle(process.hThread);
  child.id = (long long)(intptr_t)process.hProcess;
  child.input = writeEnd ? (long long)(intptr_t)writeEnd : -1;
  return true;
}

bool platformWriteChild(childProcess& child, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    DWORD chunk = size > (1u << 30) ? (1u << 30) : DWORD(size), written = 0;
    if (!WriteFile(HANDLE(intptr_t(child.input)), p, chunk, &written, nullptr) || written == 0) return false;
    p += written;
    size -= written;
  }
  return true;
}

void platformCloseChildInput(childProcess& child) {
  if (child.input < 0) return;
  CloseHandle(HANDLE(intptr_t(child.input)));
  child.input = -1;
}

childEnd platformWaitChild(childProcess& child) {
  platformCloseChildInput(child);
  childEnd end;
  if (child.id < 0) return end;
  HANDLE process = HANDLE(intptr_t(child.id));
  WaitForSingleObject(process, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  child.id = -1;
  end.exited = true;
  end.code = int(code);
  return end;
}
