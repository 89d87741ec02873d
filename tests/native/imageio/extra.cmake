# The icon resource reader is checked on real PE32 and PE32+ files: the test
# icon DLLs, linked (stripped, no C library) by the mingw-w64 cross compilers
# for both machines, and Wine's own libraries.
set(pe_dir ${CMAKE_BINARY_DIR}/pe-icons)
set(pe_dlls)
foreach(arch i686 x86_64)
  foreach(name testicons kinds)
    set(dll ${pe_dir}/${name}_${arch}.dll)
    add_custom_command(OUTPUT ${dll}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${pe_dir}
      COMMAND ${arch}-w64-mingw32-windres -I${KELMAR_TEST_DATA}/testicons ${KELMAR_TEST_DATA}/testicons/${name}.rc
              -O coff -o ${dll}.res
      COMMAND ${arch}-w64-mingw32-gcc -shared -s -nostdlib -nostartfiles -Wl,--entry=0 -o ${dll}
              ${KELMAR_TEST_DATA}/testicons/testicons.c ${dll}.res
      DEPENDS ${KELMAR_TEST_DATA}/testicons/${name}.rc ${KELMAR_TEST_DATA}/testicons/testicons.c
      VERBATIM)
    list(APPEND pe_dlls ${dll})
  endforeach()
endforeach()
add_custom_target(${target}_dlls DEPENDS ${pe_dlls})
add_dependencies(${target} ${target}_dlls)
target_compile_definitions(${target} PRIVATE KELMAR_PE_DIR="${pe_dir}"
  KELMAR_WINE_DLL_DIR="/usr/lib/x86_64-linux-gnu/wine/x86_64-windows")
target_compile_definitions(${target} PRIVATE KELMAR_TESTICONS_DIR="${KELMAR_TEST_DATA}/testicons")
