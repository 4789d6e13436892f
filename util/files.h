// File helpers. Every error is caught and answered with false or an empty result; nothing here
// throws. A file the program writes whole goes to a temporary file of its own, created
// exclusively beside the target, and is renamed over the target once it is complete on disk.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "util/lists.h"

namespace kotonel {

using Bytes = std::vector<uint8_t>;

bool FileExists(const std::string& path);
bool IsDirectory(const std::string& path);
// True also when there was nothing to delete; false only when the deletion failed.
bool DeleteFile(const std::string& path);
// Moves only when the paths differ, the old one exists and the new one does not.
bool RenameFile(const std::string& oldPath, const std::string& newPath);

// The reads below never throw. On failure they answer false and, when why is given, put there
// the system's reason ("No such file or directory", "Is a directory") for the caller to show;
// on success they empty it. Only regular files are read: a folder, a named pipe or a device is
// refused at once.

// Appends the lines of a code page 932 text file to list. A line ends at CR LF, a lone CR or a
// lone LF; a last line without an ending still counts, a final line ending adds no empty line.
bool ReadLines(const std::string& path, StringList& list, std::string* why = nullptr);
// Writes every item as a line in code page 932 ending in CR LF (through WriteFileAtomic).
bool WriteLines(const std::string& path, const StringList& list);
// Splits decoded text into lines with the same rules as ReadLines.
std::vector<std::u32string> SplitLines(std::u32string_view text);

// A missing file gives one zero byte and false. position > 0 reads from that byte (1-based).
bool ReadBytes(const std::string& path, Bytes& bytes, int64_t position = 0,
               std::string* why = nullptr);
// Writes the whole array at byte position (1-based) when position > 0; at the start of the
// file it replaces the file, so a shorter array never leaves old bytes behind.
bool WriteBytes(const std::string& path, const Bytes& bytes, int64_t position = 0);
// Whole-file write through OutputFile, so a failure never leaves half a file. error, when
// given, receives why it failed ("PATH: reason").
bool WriteFileAtomic(const std::string& path, const std::string& data,
                     std::string* error = nullptr);
// The whole file as it is on disk.
bool ReadWholeFile(const std::string& path, std::string& data, std::string* why = nullptr);

// A file being written whole. For a regular file (new or existing) the bytes go to a temporary
// file created exclusively (0600, no symlink followed) in the target's folder, and Commit syncs
// it and renames it over the target, with the existing file's mode (a new file gets
// 0666 & ~umask). A symlink is followed only when it belongs to the user or root, to a
// regular file the user may write, which is then replaced the same way. A character device
// or FIFO is written through and never replaced (a disk device is refused); "-" is standard
// output. A regular file that cannot be replaced (its folder is not writable, it has other
// links or another owner) is rewritten in place, cut to its new length at Commit. Nothing is
// written into a folder given to RefuseWritesInto.
class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();  // an uncommitted temporary file is removed
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Checks that path can be written and gets it ready; false with Error() set.
  bool Open(const std::string& path);
  // Appends (a file rewritten in place is cut to what was written at Commit).
  bool Write(const void* data, size_t size);
  // Overwrites bytes already written; only where CanSeek().
  bool WriteAt(uint64_t offset, const void* data, size_t size);
  // True when the bytes go to a temporary file of ours (seekable, renamed at Commit).
  bool CanSeek() const { return fd_ >= 0 && !tempPath_.empty(); }
  // Puts everything in place: synced and renamed, or flushed to the device.
  bool Commit();
  // Drops what was written: the temporary file goes; a device keeps what it was given.
  void Discard();

  bool IsOpen() const { return fd_ >= 0; }
  // The open descriptor (readable too when CanSeek()), or -1.
  int Descriptor() const { return fd_; }
  const std::string& Path() const { return path_; }
  const std::string& Error() const { return error_; }

 private:
  bool Fail(const std::string& what, int err);
  bool WriteAll(const void* data, size_t size);

  std::string path_;      // as given
  std::string target_;    // the file renamed over or written (symlinks resolved)
  std::string tempPath_;  // our temporary file; empty when writing through
  int fd_ = -1;
  bool ownFd_ = true;                     // false for standard output
  bool inPlace_ = false;                  // an existing file rewritten in place
  mode_t mode_ = 0;                       // for the temporary file at Commit
  gid_t group_ = static_cast<gid_t>(-1);  // the replaced file's group, kept when we may
  uint64_t written_ = 0;
  std::string error_;
};

// True for the name of a temporary file that OutputFile makes.
bool IsOurTemporaryName(const std::string& name);
// Removes the temporary files OutputFile left in folder (a process killed while writing):
// only ours, owned by the user, whose writing process is gone. Other files are never touched.
void RemoveLeftoverTemporaryFiles(const std::string& folder);

// Refuses every later write into folder (files other users could replace or read there);
// reason says why, for the user. FolderWritesRefused gives the reason, empty when allowed.
void RefuseWritesInto(const std::string& folder, const std::string& reason);
std::string FolderWritesRefused(const std::string& folder);

std::string FolderOf(const std::string& path);  // with a trailing '/', or "" for a bare name
std::string FileNameOf(const std::string& path);

}  // namespace kotonel
