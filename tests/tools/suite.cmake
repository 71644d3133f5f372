# The build tools and the companion files they make in KESTRIN_DIST_DIR,
# each checked by a reader that is not ours (ezdxf, chmls, python3-chm,
# Pillow) or against the module itself.
if(TARGET shapec AND TARGET pixart)
  set(TOOLS_TESTS ${CMAKE_CURRENT_LIST_DIR})
  file(GLOB BAD_SHAPES CONFIGURE_DEPENDS ${TOOLS_TESTS}/bad/*.shp)
  file(GLOB BAD_ARTS CONFIGURE_DEPENDS ${TOOLS_TESTS}/bad/*.txt)
  file(GLOB BAD_MAPS CONFIGURE_DEPENDS ${TOOLS_TESTS}/bad/*.map)
  add_test(NAME tools.shapec.bad-input
    COMMAND /usr/bin/python3 ${TOOLS_TESTS}/run_bad_inputs.py shapec $<TARGET_FILE:shapec> ${BAD_SHAPES})
  add_test(NAME tools.pixart.bad-input
    COMMAND /usr/bin/python3 ${TOOLS_TESTS}/run_bad_inputs.py pixart $<TARGET_FILE:pixart> ${BAD_ARTS})
  add_test(NAME tools.hershey2shp.bad-input
    COMMAND /usr/bin/python3 ${TOOLS_TESTS}/run_bad_inputs.py hershey2shp ${CMAKE_SOURCE_DIR}/tools/hershey2shp.py ${BAD_MAPS})

  add_test(NAME companion.zor-shx COMMAND /usr/bin/python3 ${TOOLS_TESTS}/check_shx.py ${KESTRIN_DIST_DIR}/zor.shx)
  add_test(NAME companion.help
    COMMAND /usr/bin/python3 ${TOOLS_TESTS}/check_chm.py ${KESTRIN_DIST_DIR}/Kestrin.chm
            index.htm palette.htm symbols.htm keyboard.htm edit.htm install.htm)
  add_test(NAME companion.menu COMMAND /usr/bin/python3 ${TOOLS_TESTS}/check_mns.py ${KESTRIN_DIST_DIR}/Zor_arx.mns)

  add_executable(dump_resources ${TOOLS_TESTS}/dump_resources.cpp)
  target_link_libraries(dump_resources PRIVATE zorstring_objects cadhostapi)
  set_target_properties(dump_resources PROPERTIES BUILD_RPATH "$ORIGIN/../lib")
  add_test(NAME companion.bitmaps
    COMMAND /usr/bin/python3 ${TOOLS_TESTS}/check_bitmaps.py $<TARGET_FILE:dump_resources>
            ${CMAKE_BINARY_DIR}/data/buttons ${KESTRIN_DIST_DIR}/Dtext.bmp ${KESTRIN_DIST_DIR}/Txe.bmp)
  add_test(NAME companion.dist-files
    COMMAND /usr/bin/python3 ${TOOLS_TESTS}/check_dist.py ${KESTRIN_DIST_DIR}
            zor.shx Zor_arx.mns Kestrin.arx Kestrin.chm Dtext.bmp Txe.bmp Plantor)
  set_tests_properties(tools.shapec.bad-input tools.pixart.bad-input tools.hershey2shp.bad-input
    companion.zor-shx companion.help companion.menu companion.bitmaps companion.dist-files
    PROPERTIES LABELS companion)
endif()
