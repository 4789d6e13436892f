// Where the program lives, where its data is and where it may write.
#pragma once

#include <string>

namespace kotonel {

// The folder of the running executable, with a trailing '/'.
std::string ProgramFolder();
// The folder holding readme.txt, font.ini and dll/, with a trailing '/': the program folder
// when a dll/ folder sits beside the executable (a build tree, an unpacked portable copy), else
// ../share/kotonel/ next to it (an installed program: bin/ beside share/), resolved. When
// neither has a dll/ folder, the program folder, so a missing dictionary names that place.
std::string DataFolder();
// DataFolder() + "dll/": the dictionary files and the voice folders.
std::string DictionaryFolder();
// Where the program writes its own files (settings, lock and handle files), always with a
// trailing '/', created when missing:
//  1. $KOTONEL_CONFIG_DIR when set;
//  2. the program folder of a portable copy that asks for it: a file named "portable" there, or
//     a settings file there beside a dll/ folder (a copied old installation); passed over, with
//     a message, when others may write into it;
//  3. $XDG_CONFIG_HOME/Kotonel/ (default ~/.config/Kotonel/).
// A shared bin/ folder is never written into just because it is writable. An installed
// program (no dll/ beside it) that finds its settings file beside itself, where older versions
// kept it, moves that file once into the folder of 3, with a message on standard error. A
// chosen folder that others may write into is given to RefuseWritesInto, so nothing is
// written there (the window says so at start).
std::string WritableFolder();
// True when a user other than this one (or root) could create, replace or remove files in
// folder: it belongs to another user, or its group (other than the user's own private group)
// or everyone may write into it without the sticky bit.
bool OthersMayWriteInto(const std::string& folder);
// The executable's file name without folder and extension ("Kotonel").
std::string ProgramName();

}  // namespace kotonel
