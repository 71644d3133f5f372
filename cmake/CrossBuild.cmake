# What a cross build for Windows needs from the build machine.
#
# The build tools (shapec, pixart) must run where the build runs, so they come
# from the native build of the same tree (the default preset's build/release,
# KESTRIN_NATIVE_BUILD): `cmake --build --preset default --target shapec pixart`
# makes them. The companion files in dist/ are made again here by those tools.
set(KESTRIN_NATIVE_BUILD "${CMAKE_SOURCE_DIR}/build/release" CACHE PATH "Native build whose tools run at build time")
# Wine runs the Windows programs of the tests.
set(KESTRIN_WINE /usr/lib/wine/wine64 CACHE FILEPATH "wine64, which runs the Windows programs")

function(kestrin_native_tool name)
  set(path ${KESTRIN_NATIVE_BUILD}/bin/${name})
  if(NOT EXISTS ${path})
    message(FATAL_ERROR "the build tool ${name} is missing at ${path}: build the native tools first "
                        "(cmake --preset default && cmake --build --preset default --target shapec pixart)")
  endif()
  add_executable(${name} IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES IMPORTED_LOCATION ${path})
endfunction()

# The compiler's own libraries, which every program and module loads: copied
# beside the programs (bin/) and the installable files (dist/), where the
# Windows loader looks first.
function(kestrin_copy_runtime)
  set(dlls)
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll zlib1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll} OUTPUT_VARIABLE found
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}")
      find_file(found_${dll} ${dll} PATHS /usr/${KESTRIN_MINGW_TRIPLE}/lib NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
      set(found ${found_${dll}})
    endif()
    if(NOT EXISTS "${found}")
      message(FATAL_ERROR "the runtime library ${dll} of the cross compiler is missing")
    endif()
    list(APPEND dlls ${found})
  endforeach()
  set(copied)
  foreach(dir ${CMAKE_RUNTIME_OUTPUT_DIRECTORY} ${KESTRIN_DIST_DIR})
    foreach(dll ${dlls})
      get_filename_component(dll_name ${dll} NAME)
      add_custom_command(OUTPUT ${dir}/${dll_name}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
        COMMAND ${CMAKE_COMMAND} -E copy ${dll} ${dir}/${dll_name}
        DEPENDS ${dll})
      list(APPEND copied ${dir}/${dll_name})
    endforeach()
  endforeach()
  add_custom_target(mingw_runtime ALL DEPENDS ${copied})
endfunction()
