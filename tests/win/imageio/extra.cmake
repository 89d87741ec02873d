# The writer tests leave their files in one folder, which the independent
# readers (icoutils, ImageMagick) then check natively.
set(imageio_files ${CMAKE_BINARY_DIR}/imageio-files)
target_compile_definitions(${target} PRIVATE KELMAR_IMAGEIO_FILES="Z:${imageio_files}")
add_test(NAME win_imageio_readers
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_readers.sh ${imageio_files})
set_tests_properties(win_imageio_readers PROPERTIES FIXTURES_REQUIRED imageio_files SKIP_RETURN_CODE 77)
# The writer test itself is added after this file is read. A deferred call
# reads its variables when it runs, by which time ${target} names the last
# area: expand it now.
cmake_language(EVAL CODE
  "cmake_language(DEFER CALL set_tests_properties [[${target}]] PROPERTIES FIXTURES_SETUP imageio_files)")
