# A _cp literal with a character that code page 1251 lacks must be refused by
# the compiler, not turned into '?'.
add_test(NAME Cp1251Literal.RefusesMissingCharacterAtCompileTime
  COMMAND ${CMAKE_CXX_COMPILER} -std=c++20 -fsyntax-only -I ${CMAKE_SOURCE_DIR}
          ${CMAKE_CURRENT_SOURCE_DIR}/base/compile_fail/missing_character.cpp)
set_tests_properties(Cp1251Literal.RefusesMissingCharacterAtCompileTime PROPERTIES WILL_FAIL TRUE LABELS base_tests)
# The same file with a representable literal compiles, so the failure above is
# the missing character and nothing else.
add_test(NAME Cp1251Literal.AcceptsRepresentableText
  COMMAND ${CMAKE_COMMAND} -E env sh -c
          "sed 's/ ✓//' '${CMAKE_CURRENT_SOURCE_DIR}/base/compile_fail/missing_character.cpp' | ${CMAKE_CXX_COMPILER} -std=c++20 -fsyntax-only -I '${CMAKE_SOURCE_DIR}' -x c++ -")
set_tests_properties(Cp1251Literal.AcceptsRepresentableText PROPERTIES LABELS base_tests)
