# The app tests also start the real program and read a DLL of known icons.
add_dependencies(${target} kelmar)
add_library(kelmar_testicons SHARED ${KELMAR_TEST_DATA}/testicons/testicons.c ${KELMAR_TEST_DATA}/testicons/testicons.rc)
set_target_properties(kelmar_testicons PROPERTIES PREFIX "")
add_dependencies(${target} kelmar_testicons)
target_compile_definitions(${target} PRIVATE
  KELMAR_EXE="$<TARGET_FILE:kelmar>"
  KELMAR_TESTICONS_DLL="$<TARGET_FILE:kelmar_testicons>")
# A second DLL with one icon group per kind of image (4, 8 and 32 bits, PNG,
# a size the system scales), for the equality of the reader with the system.
add_library(kelmar_testkinds SHARED ${KELMAR_TEST_DATA}/testicons/testicons.c ${KELMAR_TEST_DATA}/testicons/kinds.rc)
set_target_properties(kelmar_testkinds PROPERTIES PREFIX "")
add_dependencies(${target} kelmar_testkinds)
target_compile_definitions(${target} PRIVATE KELMAR_TESTKINDS_DLL="$<TARGET_FILE:kelmar_testkinds>")
# A small drive for the full-disk save test (skipped where it cannot be mounted).
add_test(NAME win_app_small_drive_setup COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/small_drive.sh setup ${CMAKE_BINARY_DIR})
add_test(NAME win_app_small_drive_cleanup COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/small_drive.sh cleanup ${CMAKE_BINARY_DIR})
set_tests_properties(win_app_small_drive_setup PROPERTIES FIXTURES_SETUP small_drive)
set_tests_properties(win_app_small_drive_cleanup PROPERTIES FIXTURES_CLEANUP small_drive)
cmake_language(EVAL CODE
  "cmake_language(DEFER CALL set_tests_properties [[${target}]] PROPERTIES FIXTURES_REQUIRED small_drive)")
# Original icons saved by the app test, checked afterwards by icoutils against
# what wrestool extracts from the same library.
set(originals_dir ${CMAKE_BINARY_DIR}/originals)
target_compile_definitions(${target} PRIVATE KELMAR_ORIGINALS_DIR="Z:${originals_dir}")
add_test(NAME win_app_originals_readers
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_originals.sh ${originals_dir}
                 ${CMAKE_BINARY_DIR}/wineprefix/drive_c/windows/system32/shell32.dll)
set_tests_properties(win_app_originals_readers PROPERTIES FIXTURES_REQUIRED originals SKIP_RETURN_CODE 77)
cmake_language(EVAL CODE
  "cmake_language(DEFER CALL set_tests_properties [[${target}]] PROPERTIES FIXTURES_SETUP originals)")
# A library without icons, the stub a system library becomes once its icons
# moved to a .mun file.
add_library(kelmar_stub SHARED ${KELMAR_TEST_DATA}/testicons/testicons.c)
set_target_properties(kelmar_stub PROPERTIES PREFIX "")
add_dependencies(${target} kelmar_stub)
target_compile_definitions(${target} PRIVATE KELMAR_STUB_DLL="$<TARGET_FILE:kelmar_stub>")
# The system's imaging component decodes the PNG files the form writes.
target_link_libraries(${target} PRIVATE windowscodecs ole32 uuid)
# The real program at four system scales, in a Wine prefix of its own.
# It drives the screen's mouse and keys: one desktop test at a time.
add_test(NAME win_app_scale_programs COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/scale_programs.sh ${CMAKE_BINARY_DIR})
set_tests_properties(win_app_scale_programs PROPERTIES RESOURCE_LOCK desktop TIMEOUT 600)
cmake_language(EVAL CODE
  "cmake_language(DEFER CALL set_tests_properties win_app_scale_programs PROPERTIES DEPENDS [[${target}]])")
# The command line's save run from a shell script, its files read back by
# icoutils and ImageMagick.
add_test(NAME win_app_batch_script
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/batch_script.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:kelmar>
                 $<TARGET_FILE:kelmar_testicons>)
set_tests_properties(win_app_batch_script PROPERTIES SKIP_RETURN_CODE 77 RESOURCE_LOCK desktop TIMEOUT 300)
# The libraries a start does not need are bound when first called
# (framework/system_library.h): the program must not import them.
add_test(NAME win_app_start_imports
         COMMAND sh -c "! '${CMAKE_OBJDUMP}' -p \"$1\" | grep -iE 'DLL Name: (shell32|ole32|oleaut32|oleacc|uxtheme|comdlg32)'"
                 imports $<TARGET_FILE:kelmar>)
