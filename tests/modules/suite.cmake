# Test modules (not product modules): loaded by the loader's tests and by the
# session scripts through cadhost. Each is built as NAME.arx in modules/.
function(kestrin_test_module name)
  add_library(${name} MODULE ${ARGN})
  target_compile_options(${name} PRIVATE ${KESTRIN_MODULE_OPTIONS})
  set_target_properties(${name} PROPERTIES
    PREFIX "" SUFFIX ".arx"
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/modules
    BUILD_RPATH "$ORIGIN/../lib")
endfunction()

kestrin_test_module(recording ${CMAKE_CURRENT_LIST_DIR}/recording/RecordingModule.cpp)
kestrin_test_module(no_entry_point ${CMAKE_CURRENT_LIST_DIR}/broken/NoEntryPoint.cpp)
kestrin_test_module(no_api_version ${CMAKE_CURRENT_LIST_DIR}/broken/NoApiVersion.cpp)
file(GLOB KESTRIN_HELLO_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/hello/*.cpp)
kestrin_test_module(hello ${KESTRIN_HELLO_SOURCES})
target_link_libraries(hello PRIVATE cadhostapi)
set(KESTRIN_TEST_MODULES recording no_entry_point no_api_version hello)

if(TARGET host_tests)
  add_dependencies(host_tests ${KESTRIN_TEST_MODULES})
  target_compile_definitions(host_tests PRIVATE KESTRIN_TEST_MODULE_DIR="${CMAKE_BINARY_DIR}/modules")
endif()
