# Besides the test program: the installed layout and speech-dispatcher, each from a fresh
# `cmake --install` into a temporary prefix, run by scripts.
add_test(NAME InstalledLayout
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/install_layout_test.sh ${CMAKE_BINARY_DIR})
add_test(NAME SpeechDispatcher
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/speechd_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(InstalledLayout SpeechDispatcher PROPERTIES
                     LABELS app TIMEOUT 300 SKIP_RETURN_CODE 77)
