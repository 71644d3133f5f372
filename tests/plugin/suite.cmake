# The plug-in's session scripts, run by the real cadhost with the built
# module, and the path of the module for the unit tests that load it through
# the host's module loader.
if(TARGET plugin_tests AND TARGET zorString)
  add_dependencies(plugin_tests zorString)
  target_compile_definitions(plugin_tests PRIVATE KESTRIN_PLUGIN_MODULE="$<TARGET_FILE:zorString>")
endif()

if(TARGET cadhost AND TARGET zorString)
  # The module is built before the scripts that load it run.
  add_test(NAME plugin.build_module
    COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target zorString)
  set_tests_properties(plugin.build_module PROPERTIES FIXTURES_SETUP kestrin_module LABELS plugin_sessions)

  foreach(folder frame palette edit info profile undo)
    file(GLOB scripts CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/sessions/${folder}/*.ks)
    foreach(script ${scripts})
      get_filename_component(stem ${script} NAME_WE)
      add_test(NAME session.${folder}.${stem}
        COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/sessions/run_session.py
                $<TARGET_FILE:cadhost> $<TARGET_FILE_DIR:zorString> ${script})
      set_tests_properties(session.${folder}.${stem} PROPERTIES
        LABELS "sessions;plugin_sessions" FIXTURES_REQUIRED kestrin_module)
    endforeach()
  endforeach()
endif()
