# Plantor run in the folder it was built into, over the session scripts of
# tests/setup/sessions; each script carries its expectations as "#:"
# directives (see run_plantor.py). The user's example runs too.
if(TARGET Plantor)
  file(GLOB PLANTOR_SESSIONS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/sessions/*.ks
       ${CMAKE_SOURCE_DIR}/examples/setup/*.ks)
  foreach(script ${PLANTOR_SESSIONS})
    get_filename_component(stem ${script} NAME_WE)
    add_test(NAME plantor.${stem}
      COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/run_plantor.py $<TARGET_FILE:Plantor>
              ${CMAKE_SOURCE_DIR}/tests/platform/registry/read_regedit4.py ${script} $<TARGET_FILE:cadhost>)
    set_tests_properties(plantor.${stem} PROPERTIES LABELS plantor)
  endforeach()
endif()
