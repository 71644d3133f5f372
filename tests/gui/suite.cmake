# The desktop windows under Qt's offscreen platform (set by GuiTest.h):
# synthetic mouse and key events, no display needed.
if(TARGET kgui)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  kestrin_test_program(gui_tests gui "" kgui kplantor_objects Qt6::Test)
  # The desktop program's whole session loads the plug-in, built before.
  if(TARGET zorString)
    add_dependencies(gui_tests zorString)
    target_compile_definitions(gui_tests PRIVATE KESTRIN_PLUGIN_MODULE="$<TARGET_FILE:zorString>")
  endif()
endif()
