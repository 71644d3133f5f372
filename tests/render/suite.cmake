# The drawing renderer: its own tests (layout, shape reader, scenes, golden
# pictures, the program), and its shape reader against ezdxf's.
if(TARGET krender)
  find_package(ZLIB REQUIRED)
  kestrin_test_program(render_tests render "" krender kfonts kdxf kplatform kbase ZLIB::ZLIB ${CMAKE_DL_LIBS})
  target_compile_definitions(render_tests PRIVATE KESTRIN_DIST_DIR="${KESTRIN_DIST_DIR}"
    KESTRIN_RENDER_DRAWINGS="${CMAKE_CURRENT_BINARY_DIR}/render-drawings")
  add_dependencies(render_tests companion_files)
  # Drawings of other programs' kinds (dimensions, hatches, outline-font styles), written by ezdxf.
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/render-drawings/hatch.dxf
    COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/make_drawings.py ${CMAKE_CURRENT_BINARY_DIR}/render-drawings
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make_drawings.py)
  add_custom_target(render_test_drawings ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/render-drawings/hatch.dxf)
  add_dependencies(render_tests render_test_drawings)

  set(RENDER_TESTS ${CMAKE_CURRENT_LIST_DIR})
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/allcodes.shx
    COMMAND shapec -o ${CMAKE_CURRENT_BINARY_DIR}/allcodes.shx ${RENDER_TESTS}/allcodes.shp
    DEPENDS shapec ${RENDER_TESTS}/allcodes.shp)
  add_custom_target(render_test_fonts ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/allcodes.shx)
  add_test(NAME companion.render.zor-shapes
    COMMAND /usr/bin/python3 ${RENDER_TESTS}/check_shx_reader.py $<TARGET_FILE:shxdump> ${KESTRIN_DIST_DIR}/zor.shx)
  add_test(NAME companion.render.all-shape-codes
    COMMAND /usr/bin/python3 ${RENDER_TESTS}/check_shx_reader.py $<TARGET_FILE:shxdump> ${CMAKE_CURRENT_BINARY_DIR}/allcodes.shx)
  set_tests_properties(companion.render.zor-shapes companion.render.all-shape-codes PROPERTIES LABELS companion)
endif()
