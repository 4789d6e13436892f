#include "util/program.h"

#include <grp.h>
#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

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

std::string DataFolder() {
  std::string program = ProgramFolder();
  if (program.empty() || IsDirectory(program + "dll")) return program;
  // bin/ beside share/: the parent folder, resolved so that messages show a plain path.
  std::string shared = FolderOf(program.substr(0, program.size() - 1)) + "share/kotonel/";
  if (IsDirectory(shared + "dll")) {
    if (char* real = ::realpath(shared.c_str(), nullptr)) {
      shared = WithSlash(real);
      std::free(real);
    }
    return shared;
  }
  return program;
}

std::string DictionaryFolder() {
  return DataFolder() + "dll/";
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

namespace {

std::string UserConfigFolder() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg && xdg[0] == '/')
    base = WithSlash(xdg);
  else if (const char* home = std::getenv("HOME"); home && *home)
    base = WithSlash(home) + ".config/";
  else
    base = "/tmp/";
  return base + "Kotonel/";
}

// Older versions kept the settings beside the executable wherever it was installed: the file
// goes, once, to the user's folder so that the word list is not lost.
void MoveOldSettings(const std::string& oldPath, const std::string& folder) {
  std::string newPath = folder + FileNameOf(oldPath);
  if (!FileExists(oldPath) || FileExists(newPath) || FolderWritesRefused(folder) != "") return;
  std::string data;
  bool moved = RenameFile(oldPath, newPath);
  if (!moved && ReadWholeFile(oldPath, data) && WriteFileAtomic(newPath, data)) {
    moved = true;
    if (!DeleteFile(oldPath))
      std::cerr << "Kotonel: " << oldPath << " could not be removed after it was copied\n";
  }
  if (moved)
    std::cerr << "Kotonel: the settings file " << oldPath << " was moved to " << newPath << "\n";
  else
    std::cerr << "Kotonel: the settings file " << oldPath << " could not be moved to " << newPath
              << "\n";
}

}  // namespace

std::string WritableFolder() {
  if (const char* dir = std::getenv("KOTONEL_CONFIG_DIR"); dir && *dir) {
    std::string folder = WithSlash(dir);
    MakeFolders(folder);
    return Guarded(folder);
  }
  std::string program = ProgramFolder();
  std::string settings = program + ProgramName() + ".ini";
  bool portableCopy = IsDirectory(program + "dll");
  bool asks = !program.empty() &&
              (FileExists(program + "portable") || (portableCopy && FileExists(settings)));
  if (asks) {
    if (::access(program.c_str(), W_OK) == 0 && !OthersMayWriteInto(program)) return program;
    std::cerr << "Kotonel: " << program
              << (OthersMayWriteInto(program) ? " may be written by other users"
                                              : " is not writable")
              << ": the settings are kept in " << UserConfigFolder() << " instead\n";
  }
  std::string folder = UserConfigFolder();
  MakeFolders(folder);
  Guarded(folder);
  if (!asks && !portableCopy && !program.empty()) MoveOldSettings(settings, folder);
  return folder;
}

std::string ProgramName() {
  std::string name = FileNameOf(ExecutablePath());
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name.empty() ? std::string("Kotonel") : name;
}

}  // namespace kotonel
