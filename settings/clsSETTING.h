// Saves the values of a window's controls to the settings file and restores them, generically:
// each control is known by its object name (a control array shares one name and tells its
// element by the dynamic property "index") and by the type name its Qt class maps onto.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "util/lists.h"

class QString;
class QWidget;

namespace kotonel {

// Error numbers shown when a settings line cannot be applied.
enum : int {
  kSettingTypeMismatch = 13,    // a value that cannot be read as a number or boolean
  kSettingNoSuchElement = 340,  // a control array has no element of that index
  kSettingNoSuchControl = 730,  // no control of that name on the window
  kSettingBadLine = 1001,       // not name TAB index TAB value
  kSettingBeforeHeader = 1002,  // a line above the header
  kSettingNotStorable = 1003,   // a character the Shift_JIS file cannot hold
  kSettingNotOldFormat = 1004,  // a line of the older format without a group number
};

// A line of the settings file that was not applied.
struct SettingError {
  int32_t lineNumber = 0;  // in the file, from 1
  int number = 0;
  std::u32string line;
  char32_t character = 0;  // the character kSettingNotStorable is about
};

// The lines left out of one load: the first few in full (what the message lists), and how many
// in all, so that a file of a million bad lines does not keep a million copies of them.
struct SettingErrors {
  static constexpr size_t kListed = 10;
  std::vector<SettingError> listed;  // by line number
  size_t count = 0;

  void Add(SettingError error);  // errors of one source come in increasing line order
  void Merge(const SettingErrors& other);
  bool Empty() const { return count == 0; }
};

// The one message that names the lines left out: which line, why, and what it held.
QString SettingErrorText(const SettingErrors& errors);

// "U+301C" and the like.
QString CodePointText(char32_t c);

// The first character of text that code page 932 cannot store as itself (an emoji, or the
// wave dash U+301C, which would come back as the full-width tilde), or 0 when there is none.
char32_t FirstNotStorable(std::u32string_view text);

// Reads the settings file whole. Only a regular file is read: a folder, device or FIFO in its
// place is a failure (a FIFO would block, a device could be endless). Never throws.
enum class SettingsFileRead { Missing, Read, Failed };
SettingsFileRead ReadSettingsFile(const std::string& path, std::string& bytes, std::string* why);

class clsSETTING {
 public:
  // The lower-case type name by which a control is saved: "textbox", "checkbox", "hscrollbar",
  // "vscrollbar", "optionbutton", "combobox", "listbox", "label", "frame", "commandbutton",
  // "tabstrip", or "" for widgets that are not controls of their own.
  static std::string TypeName(const QWidget* control);

  // Appends one line per saved value (name TAB index TAB value) to colINI, whose header the
  // caller has already added, and writes all lines to strFILE through a temporary file. Line
  // breaks inside a value are left out so that every value stays on its own line.
  // Returns false when the file could not be written.
  bool 設定書込(QWidget* objFRM, const std::string& strFILE, StringList& colINI);
  // Applies the lines (without the header) in order. A line that cannot be applied (no two
  // tabs, an unknown control, an unreadable value) is skipped and every other line applied;
  // empty lines are passed over. lineNumbers gives each line's number in the file; without it
  // the lines are taken to follow a header on line 1.
  // Numbers outside a control's range are taken to the nearest end (sliders) or ignored
  // (check boxes, combo boxes); nothing outside a list is ever addressed.
  void 設定読込(QWidget* objFRM, const StringList& colINI,
                const std::vector<int32_t>& lineNumbers = {});

  // Told once, after reading, of all the lines that were skipped (not called when none were).
  // Without it one warning box titled programName names them.
  std::function<void(const SettingErrors& errors)> onError;
  std::string programName = "Kotonel";

 private:
  void Report(const SettingErrors& errors);
};

}  // namespace kotonel
