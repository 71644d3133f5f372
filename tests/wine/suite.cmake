# The Windows build's tests, run under Wine (tests/wine/wine.sh): the test
# programs whole, the palette's sessions through cadhost.exe and Kestrin.arx
# against the same sessions on Linux, and the setup's sessions through
# Plantor.exe, checked with Wine's own reg and regedit.
set(WINE_TESTS ${CMAKE_CURRENT_LIST_DIR})

if(TARGET plugin_tests AND TARGET zorString)
  add_dependencies(plugin_tests zorString)
  target_compile_definitions(plugin_tests PRIVATE KESTRIN_PLUGIN_MODULE="$<TARGET_FILE:zorString>")
endif()

find_package(ZLIB REQUIRED)
kestrin_test_program(render_tests render "" krender kfonts kdxf kplatform kbase ZLIB::ZLIB)
if(TARGET render_tests)
  # The drawings of other programs' kinds, written by ezdxf on the build machine.
  target_compile_definitions(render_tests PRIVATE KESTRIN_DIST_DIR="${KESTRIN_DIST_DIR}"
    KESTRIN_RENDER_DRAWINGS="${CMAKE_CURRENT_BINARY_DIR}/render-drawings")
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/render-drawings/hatch.dxf
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/render/make_drawings.py ${CMAKE_CURRENT_BINARY_DIR}/render-drawings
    DEPENDS ${CMAKE_SOURCE_DIR}/tests/render/make_drawings.py)
  add_custom_target(render_test_drawings ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/render-drawings/hatch.dxf)
  add_dependencies(render_tests companion_files render_test_drawings)
endif()

# The dialogs as Win32 windows need a display: a virtual one (Xvfb), and a
# prefix of their own, whose desktop is made with that display (a desktop made
# without one shows no windows).
set(WINE_DISPLAY_PREFIX ${CMAKE_BINARY_DIR}/wine-display-prefix)
if(TARGET platform_tests)
  add_test(NAME wine.dialog-windows
    COMMAND ${CMAKE_COMMAND} -E env KESTRIN_REQUIRE_DISPLAY=1 WINEPREFIX=${WINE_DISPLAY_PREFIX}
            xvfb-run -a ${WINE_TESTS}/wine.sh $<TARGET_FILE:platform_tests> --gtest_filter=NativeDialogTest.*)
  set_tests_properties(wine.dialog-windows PROPERTIES LABELS "wine;platform_tests" RESOURCE_LOCK wine_display)
endif()

# The same session on both systems gives the same drawing, byte for byte.
set(NATIVE_CADHOST ${KESTRIN_NATIVE_BUILD}/bin/cadhost)
set(NATIVE_DIST ${CMAKE_SOURCE_DIR}/dist)
foreach(script ${CMAKE_SOURCE_DIR}/examples/title-block.ks ${CMAKE_SOURCE_DIR}/examples/edit-attribute.ks)
  get_filename_component(stem ${script} NAME_WE)
  add_test(NAME wine.same-drawing.${stem}
    COMMAND /usr/bin/python3 ${WINE_TESTS}/same_drawing.py ${NATIVE_CADHOST} ${NATIVE_DIST}
            $<TARGET_FILE:cadhost> $<TARGET_FILE_DIR:zorString> ${script})
  set_tests_properties(wine.same-drawing.${stem} PROPERTIES LABELS "wine;sessions")
endforeach()
file(GLOB PALETTE_SESSIONS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/sessions/palette/*.ks)
foreach(script ${PALETTE_SESSIONS})
  get_filename_component(stem ${script} NAME_WE)
  add_test(NAME wine.same-drawing.palette.${stem}
    COMMAND /usr/bin/python3 ${WINE_TESTS}/same_drawing.py ${NATIVE_CADHOST} ${NATIVE_DIST}
            $<TARGET_FILE:cadhost> $<TARGET_FILE_DIR:zorString> ${script})
  set_tests_properties(wine.same-drawing.palette.${stem} PROPERTIES LABELS "wine;sessions")
endforeach()

# Plantor.exe in its folder, installing into the prefix's registry and drive C.
add_test(NAME wine.plantor
  COMMAND /usr/bin/python3 ${WINE_TESTS}/plantor_sessions.py $<TARGET_FILE:Plantor> $<TARGET_FILE:cadhost>
          ${CMAKE_SOURCE_DIR}/tests/setup/sessions ${CMAKE_SOURCE_DIR}/examples/setup ${WINE_TESTS}/setup)
set_tests_properties(wine.plantor PROPERTIES LABELS "wine;plantor" RESOURCE_LOCK wine_registry)

# Plantor.exe without a session script shows its dialog as a Win32 window: a
# program of the test drives it through the system's windows (under Xvfb).
add_executable(drive_plantor ${WINE_TESTS}/DrivePlantor.cpp)
target_link_options(drive_plantor PRIVATE -municode)
add_test(NAME wine.plantor-window
  COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${WINE_DISPLAY_PREFIX}
          xvfb-run -a /usr/bin/python3 ${WINE_TESTS}/plantor_window.py $<TARGET_FILE:Plantor>
          $<TARGET_FILE:drive_plantor> ${CMAKE_SOURCE_DIR}/tests/setup/sessions/two_profiles.reg)
set_tests_properties(wine.plantor-window PROPERTIES LABELS "wine;plantor" RESOURCE_LOCK wine_display)
