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
// when missing. Always with a trailing '/'.
std::string WritableFolder();
// The executable's file name without folder and extension ("Kotonel").
std::string ProgramName();

}  // namespace kotonel
