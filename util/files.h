// File helpers. Every error is caught and answered with false or an empty result; nothing here
// throws. Files the program writes go to NAME.tmp first and are renamed over NAME.
#pragma once

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
// Writes every item as a line in code page 932 ending in CR LF (through NAME.tmp).
bool WriteLines(const std::string& path, const StringList& list);
// Splits decoded text into lines with the same rules as ReadLines.
std::vector<std::u32string> SplitLines(std::u32string_view text);

// A missing file gives one zero byte and false. position > 0 reads from that byte (1-based).
bool ReadBytes(const std::string& path, Bytes& bytes, int64_t position = 0,
               std::string* why = nullptr);
// Writes the whole array at byte position (1-based) when position > 0; at the start of the
// file it replaces the file, so a shorter array never leaves old bytes behind.
bool WriteBytes(const std::string& path, const Bytes& bytes, int64_t position = 0);
// Whole-file write through PATH.tmp and a rename, so a failure never leaves half a file.
bool WriteFileAtomic(const std::string& path, const std::string& data);
// The whole file as it is on disk.
bool ReadWholeFile(const std::string& path, std::string& data, std::string* why = nullptr);

std::string FolderOf(const std::string& path);  // with a trailing '/', or "" for a bare name
std::string FileNameOf(const std::string& path);

}  // namespace kotonel
