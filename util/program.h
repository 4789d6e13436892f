// Where the program lives and where it may write.
#pragma once

#include <string>

namespace kotonel {

// The folder of the running executable, with a trailing '/'.
std::string ProgramFolder();
// The program folder + "dll/": the dictionary files and the voice folders.
std::string DictionaryFolder();
// Where the program writes its own files: $KOTONEL_CONFIG_DIR when set, else the program
// folder when writable, else $XDG_CONFIG_HOME/Kotonel/ (default ~/.config/Kotonel/). Created
// when missing. Always with a trailing '/'. A program folder that others may write into is
// passed over; a chosen folder that others may write into is given to RefuseWritesInto, so
// nothing is written there (the window says so at start).
std::string WritableFolder();
// True when a user other than this one (or root) could create, replace or remove files in
// folder: it belongs to another user, or its group (other than the user's own private group)
// or everyone may write into it without the sticky bit.
bool OthersMayWriteInto(const std::string& folder);
// The executable's file name without folder and extension ("Kotonel").
std::string ProgramName();

}  // namespace kotonel
