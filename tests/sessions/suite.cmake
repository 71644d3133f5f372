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
