# The command-line tests start real Kotonel processes and drive the command window in-process,
# so they need the desktop program; without it the test program holds no tests.
if(KOTONEL_GUI)
  add_dependencies(${_target} Kotonel kotonel-say)
  target_link_libraries(${_target} PRIVATE kotonel_ui)
else()
  set_property(TARGET ${_target} PROPERTY SOURCES ${CMAKE_CURRENT_LIST_DIR}/no_program.cc)
endif()
