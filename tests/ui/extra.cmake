# The windows' tests need Qt and the window libraries; they run on Qt's offscreen platform,
# which their own main() selects. Without the desktop program there is nothing to test here.
if(KOTONEL_GUI)
  target_link_libraries(${_target} PRIVATE kotonel_ui kotonel_settings)
else()
  set_property(TARGET ${_target} PROPERTY SOURCES ${CMAKE_CURRENT_LIST_DIR}/no_windows.cc)
endif()
