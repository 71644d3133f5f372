# The desktop windows under Qt's offscreen platform (set by GuiTest.h):
# synthetic mouse and key events, no display needed.
if(TARGET kgui)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  kestrin_test_program(gui_tests gui "" kgui kplantor_objects Qt6::Test)
endif()
