# Code outside platform/ reaches the operating system only through platform/:
# the guard checks the tree, and its own test proves it can fail.
add_test(NAME guard.os_calls
  COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/scripts/check-os-calls.py ${CMAKE_SOURCE_DIR})
add_test(NAME guard.os_calls_selftest
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/check_os_calls_test.py ${CMAKE_SOURCE_DIR}/scripts/check-os-calls.py)
set_tests_properties(guard.os_calls guard.os_calls_selftest PROPERTIES LABELS guard)
