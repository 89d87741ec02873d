# The description of a package whose pictures are drawn for another DPI: the
# program's own description with "dpi=N" as the first entry of [VERSION].
#   cmake -DDPI=N -DIN=skin.ini -DOUT=path/skin.ini -P drawing_description.cmake
file(READ "${IN}" text)
string(REGEX MATCH "\\[VERSION\\]\r?\n" version_line "${text}")
if(version_line STREQUAL "")
  message(FATAL_ERROR "${IN}: no [VERSION] section")
endif()
string(REPLACE "${version_line}" "${version_line}dpi=${DPI}\n" text "${text}")
file(WRITE "${OUT}" "${text}")
