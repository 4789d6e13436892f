# The windows' tests need Qt and the window libraries; they run on Qt's offscreen platform,
# which their own main() selects. Without the desktop program there is nothing to test here.
if(KOTONEL_GUI)
  # QTest's key clicks go through the shortcut machinery, as a real key press does.
  find_package(Qt6 REQUIRED COMPONENTS Test)
  target_link_libraries(${_target} PRIVATE kotonel_ui kotonel_settings Qt6::Test)
else()
  set_property(TARGET ${_target} PROPERTY SOURCES ${CMAKE_CURRENT_LIST_DIR}/no_windows.cc)
endif()
