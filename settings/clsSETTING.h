// Saves the values of a window's controls to the settings file and restores them, generically:
// each control is known by its object name (a control array shares one name and tells its
// element by the dynamic property "index") and by the type name its Qt class maps onto.
#pragma once

#include <functional>
#include <string>

#include "util/lists.h"

class QWidget;

namespace kotonel {

// Error numbers shown when a settings line cannot be applied.
enum : int {
  kSettingTypeMismatch = 13,    // a value that cannot be read as a number or boolean
  kSettingNoSuchElement = 340,  // a control array has no element of that index
  kSettingNoSuchControl = 730,  // no control of that name on the window
};

class clsSETTING {
 public:
  // The lower-case type name by which a control is saved: "textbox", "checkbox", "hscrollbar",
  // "vscrollbar", "optionbutton", "combobox", "listbox", "label", "frame", "commandbutton",
  // "tabstrip", or "" for widgets that are not controls of their own.
  static std::string TypeName(const QWidget* control);

  // Appends one line per saved value (name TAB index TAB value) to colINI, whose header the
  // caller has already added, and writes all lines to strFILE through a temporary file.
  // Returns false when the file could not be written.
  bool 設定書込(QWidget* objFRM, const std::string& strFILE, StringList& colINI);
  // Applies the lines (without the header) in order; a line without two tabs ends the reading.
  // Numbers outside a control's range are taken to the nearest end (sliders) or ignored
  // (check boxes, combo boxes); nothing outside a list is ever addressed.
  void 設定読込(QWidget* objFRM, const StringList& colINI);

  // Told the error number of every line that could not be applied; reading goes on after it.
  // Without it a warning box titled programName shows the number.
  std::function<void(int number, const std::u32string& line)> onError;
  std::string programName = "Kotonel";

 private:
  void Report(int number, const std::u32string& line);
};

}  // namespace kotonel
