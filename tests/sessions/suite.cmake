# Session scripts run by the real cadhost; each tests/sessions/*.ks carries
# its expectations as "#:" directives (see run_session.py).
if(TARGET cadhost)
  file(GLOB KESTRIN_SESSION_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.ks)
  foreach(script ${KESTRIN_SESSION_SCRIPTS})
    get_filename_component(stem ${script} NAME_WE)
    add_test(NAME session.${stem}
      COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/run_session.py
              $<TARGET_FILE:cadhost> ${CMAKE_BINARY_DIR}/modules ${script})
    set_tests_properties(session.${stem} PROPERTIES LABELS sessions)
  endforeach()
endif()

# The examples users are pointed to must keep running; they load the built
# plug-in (@MODULES@ is the folder of Kestrin.arx).
if(TARGET cadhost AND TARGET zorString)
  file(GLOB KESTRIN_EXAMPLE_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/examples/*.ks)
  foreach(script ${KESTRIN_EXAMPLE_SCRIPTS})
    get_filename_component(stem ${script} NAME_WE)
    add_test(NAME example.${stem}
      COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/run_session.py
              $<TARGET_FILE:cadhost> $<TARGET_FILE_DIR:zorString> ${script})
    set_tests_properties(example.${stem} PROPERTIES LABELS sessions FIXTURES_REQUIRED kestrin_module)
  endforeach()
endif()

# The README's picture of the desktop program is made by the program itself:
# the script that makes it must keep working (its picture is checked for the
# palette's caption bar over the drawing).
if(TARGET cadhost AND TARGET zorString)
  add_test(NAME example.desktop-screenshot
    COMMAND ${CMAKE_COMMAND} -E env CADHOST=$<TARGET_FILE:cadhost> DIST=$<TARGET_FILE_DIR:zorString>
            ${CMAKE_SOURCE_DIR}/scripts/screenshot.sh ${CMAKE_CURRENT_BINARY_DIR}/desktop.png)
  add_test(NAME example.desktop-screenshot-picture
    COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/check_screenshot.py ${CMAKE_CURRENT_BINARY_DIR}/desktop.png)
  set_tests_properties(example.desktop-screenshot PROPERTIES LABELS sessions FIXTURES_REQUIRED kestrin_module
                       FIXTURES_SETUP desktop_screenshot)
  set_tests_properties(example.desktop-screenshot-picture PROPERTIES LABELS sessions FIXTURES_REQUIRED desktop_screenshot)
endif()

# Ctrl+C and Ctrl+D at a pseudo-terminal (and SIGINT through a pipe): the
# host asks before a changed drawing is lost, and cancels what waits.
if(TARGET cadhost AND TARGET zorString)
  add_test(NAME session.autosave_recovery
    COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/autosave_recovery.py $<TARGET_FILE:cadhost> ${CMAKE_BINARY_DIR}/modules)
  set_tests_properties(session.autosave_recovery PROPERTIES LABELS sessions)
  add_test(NAME session.terminal_keys
    COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/terminal_keys.py
            $<TARGET_FILE:cadhost> ${CMAKE_BINARY_DIR}/modules $<TARGET_FILE:zorString>)
  set_tests_properties(session.terminal_keys PROPERTIES LABELS sessions FIXTURES_REQUIRED kestrin_module)
endif()
