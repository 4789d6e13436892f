#include "util/program.h"

#include <grp.h>
#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "util/files.h"

namespace kotonel {

namespace {

std::string ExecutablePath() {
  char buf[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return std::string();
  return std::string(buf, static_cast<size_t>(n));
}

std::string WithSlash(std::string path) {
  if (!path.empty() && path.back() != '/') path += '/';
  return path;
}

bool MakeFolders(const std::string& path) {
  for (size_t p = 1; p < path.size(); ++p) {
    if (path[p] != '/') continue;
    std::string part = path.substr(0, p);
    if (!IsDirectory(part) && ::mkdir(part.c_str(), 0700) != 0) return false;
  }
  return IsDirectory(path);
}

}  // namespace

std::string ProgramFolder() {
  return FolderOf(ExecutablePath());
}

std::string DictionaryFolder() {
  return ProgramFolder() + "dll/";
}

bool OthersMayWriteInto(const std::string& folder) {
  struct stat st;
  if (folder.empty() || ::stat(folder.c_str(), &st) != 0) return false;
  uid_t me = ::geteuid();
  if (st.st_uid != me && st.st_uid != 0) return true;
  if (st.st_mode & S_ISVTX) return false;  // others cannot remove or replace the user's files
  if (st.st_mode & S_IWOTH) return true;
  if (!(st.st_mode & S_IWGRP)) return false;
  // Debian gives each user a group of their own (umask 002): that group is the user alone.
  const struct passwd* user = ::getpwuid(me);
  const struct group* group = ::getgrgid(st.st_gid);
  if (!user || !group || std::string(user->pw_name) != group->gr_name) return true;
  if (user->pw_gid != st.st_gid) return true;
  for (char** member = group->gr_mem; *member; ++member)
    if (std::string(*member) != user->pw_name) return true;
  return false;
}

namespace {

std::string Guarded(std::string folder) {
  if (OthersMayWriteInto(folder))
    RefuseWritesInto(folder, "the folder may be written by other users");
  return folder;
}

}  // namespace

std::string WritableFolder() {
  if (const char* dir = std::getenv("KOTONEL_CONFIG_DIR"); dir && *dir) {
    std::string folder = WithSlash(dir);
    MakeFolders(folder);
    return Guarded(folder);
  }
  std::string program = ProgramFolder();
  if (!program.empty() && ::access(program.c_str(), W_OK) == 0 && !OthersMayWriteInto(program))
    return program;
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    base = WithSlash(xdg);
  else if (const char* home = std::getenv("HOME"); home && *home)
    base = WithSlash(home) + ".config/";
  else
    base = "/tmp/";
  std::string folder = base + "Kotonel/";
  MakeFolders(folder);
  return Guarded(folder);
}

std::string ProgramName() {
  std::string name = FileNameOf(ExecutablePath());
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name.empty() ? std::string("Kotonel") : name;
}

}  // namespace kotonel
