# The Debian package, made by CPack from this build and checked unpacked
# (tests/packaging/check_package.py). Not in the sanitizer build, whose
# programs are not the ones shipped.
if(NOT KESTRIN_SANITIZE AND TARGET cadhost)
  add_test(NAME packaging.deb
    COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/check_package.py --cpack ${CMAKE_BINARY_DIR}/CPackConfig.cmake)
  set_tests_properties(packaging.deb PROPERTIES LABELS packaging TIMEOUT 300)
endif()
