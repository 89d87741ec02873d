# The include rules of the source folders (ARCHITECTURE.md, "Layers"):
#   - portable files (base/, imageio/, skin/*/, widgets/, every name without
#     "_win32") include no Windows header, no Win32 adapter and nothing of the
#     framework or the application;
#   - base/ includes only base/;
#   - framework/ includes only base/ and framework/.
# Run: cmake -DSOURCE_DIR=<repository>/src -P check_includes.cmake
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR not set")
endif()

set(windows_headers
  "windows|winuser|wingdi|winbase|commctrl|commdlg|shellapi|shlobj|shlwapi|ole2|objbase|oleacc|oleidl"
  "|wincodec|uxtheme|dwmapi|mmsystem|richedit|winnls|winreg|shobjidl|psapi|htmlhelp")
string(JOIN "" windows_headers ${windows_headers})
set(failures 0)

# Reports every include line of `file` that matches `pattern`.
function(forbid file pattern why)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    string(TOLOWER "${line}" lower)
    if(lower MATCHES "${pattern}")
      file(RELATIVE_PATH rel ${SOURCE_DIR} ${file})
      message(SEND_ERROR "${rel}: ${line} (${why})")
      math(EXPR failures "${failures} + 1")
      set(failures ${failures} PARENT_SCOPE)
    endif()
  endforeach()
endfunction()

file(GLOB_RECURSE portable_candidates
  ${SOURCE_DIR}/base/* ${SOURCE_DIR}/imageio/* ${SOURCE_DIR}/skin/* ${SOURCE_DIR}/widgets/*)
set(checked 0)
foreach(file IN LISTS portable_candidates)
  get_filename_component(name ${file} NAME)
  if(name MATCHES "_win32\\." OR NOT name MATCHES "\\.(h|cpp)$")
    continue()
  endif()
  math(EXPR checked "${checked} + 1")
  forbid(${file} "<(${windows_headers})\\.h>" "a portable file includes a Windows header")
  forbid(${file} "_win32\\.h\"" "a portable file includes a Win32 adapter")
  forbid(${file} "\"(framework|app)/" "a portable file includes the framework or the application")
endforeach()

file(GLOB base_files ${SOURCE_DIR}/base/*)
foreach(file IN LISTS base_files)
  forbid(${file} "\"(imageio|skin|widgets|framework|app)/" "base/ includes only base/")
endforeach()

file(GLOB framework_files ${SOURCE_DIR}/framework/*)
foreach(file IN LISTS framework_files)
  forbid(${file} "\"(imageio|skin|widgets|app)/" "framework/ includes only base/ and framework/")
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "no portable files found under ${SOURCE_DIR}")
endif()
if(failures GREATER 0)
  message(FATAL_ERROR "${failures} include(s) break the layers")
endif()
message(STATUS "${checked} portable files, base/ and framework/: includes follow the layers")
