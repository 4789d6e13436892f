# The desktop program: bin/Kotonel, with the help text beside it in the build tree (an install
# puts it in share/kotonel/).
find_package(Qt6 REQUIRED COMPONENTS Widgets)
add_executable(Kotonel ${PROJECT_SOURCE_DIR}/app/kotonel.cpp)
set_target_properties(Kotonel PROPERTIES AUTOMOC ON)
target_link_libraries(Kotonel PRIVATE kotonel_ui)
target_compile_options(Kotonel PRIVATE ${KOTONEL_WARNINGS})
add_dependencies(Kotonel kotonel_dll)
add_custom_command(TARGET Kotonel POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/readme.txt
          ${KOTONEL_BIN_DIR}/readme.txt
  COMMENT "Copying the help text")
install(TARGETS Kotonel RUNTIME DESTINATION bin)

# Renders the windows into PNG files for the documentation (scripts/screenshots.sh).
add_executable(kotonel-screenshots EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/app/kotonel_screenshots.cpp)
target_link_libraries(kotonel-screenshots PRIVATE kotonel_ui)
target_compile_options(kotonel-screenshots PRIVATE ${KOTONEL_WARNINGS})
add_dependencies(kotonel-screenshots Kotonel)
