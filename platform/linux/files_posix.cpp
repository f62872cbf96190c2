// files_posix.cpp -- folders, change times, wildcard search and child
// processes on POSIX.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

bool platformMakeFolders(const std::string& dir) {
  for (size_t at = 1; at <= dir.size(); ++at) {
    if (at < dir.size() && dir[at] != '/') continue;
    std::string part = dir.substr(0, at);
    if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  return platformIsFolder(dir);
}

bool platformIsFolder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

long long platformFileSize(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return (long long)st.st_size;
}

long long platformFileChangeTime(const std::string& path) {
  struct stat st;
  if (path.empty() || stat(path.c_str(), &st) != 0) return 0;
  return (long long)st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
}

std::vector<std::string> platformFindFiles(const std::string& pattern) {
  size_t slash = pattern.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : pattern.substr(0, slash + 1);
  std::string leaf = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* e = readdir(dir))
      if (fnmatch(leaf.c_str(), e->d_name, FNM_PERIOD) == 0) names.push_back(e->d_name);
    closedir(dir);
  }
  return names;
}

std::string platformLastError() { return std::strerror(errno); }

std::string platformFindProgram(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string list = path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    std::string folder = list.substr(start, end - start);
    std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return std::string();
}

// A child that stops reading must turn into a failed write, not end the
// program: the broken-pipe signal is ignored while an input pipe is open.
static int openInputs = 0;
static void (*oldPipeHandler)(int) = SIG_DFL;

bool platformStartChild(const std::vector<std::string>& args, bool pipeInput, childProcess& child,
                        std::string& error) {
  int fds[2] = {-1, -1};
  if (pipeInput && pipe2(fds, O_CLOEXEC) != 0) {
    error = std::string("cannot make a pipe: ") + std::strerror(errno);
    return false;
  }
  std::vector<char*> argv;
  for (const std::string& s : args) argv.push_back(const_cast<char*>(s.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (pipeInput) posix_spawn_file_actions_adddup2(&actions, fds[0], 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  pid_t pid = -1;
  int rc = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (pipeInput) close(fds[0]);
  if (rc != 0) {
    if (pipeInput) close(fds[1]);
    error = std::strerror(rc);
    return false;
  }
  child.id = pid;
  child.input = fds[1];
  if (pipeInput && openInputs++ == 0) oldPipeHandler = signal(SIGPIPE, SIG_IGN);
  return true;
}

bool platformWriteChild(childProcess& child, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = write(int(child.input), p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= size_t(n);
  }
  return true;
}

void platformCloseChildInput(childProcess& child) {
  if (child.input < 0) return;
  close(int(child.input));
  child.input = -1;
  if (--openInputs == 0) signal(SIGPIPE, oldPipeHandler);
}

childEnd platformWaitChild(childProcess& child) {
  platformCloseChildInput(child);
  childEnd end;
  if (child.id < 0) return end;
  int status = 0;
  while (waitpid(pid_t(child.id), &status, 0) < 0 && errno == EINTR) {
  }
  child.id = -1;
  end.exited = !WIFSIGNALED(status);
  end.code = WIFSIGNALED(status) ? WTERMSIG(status) : WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return end;
}
