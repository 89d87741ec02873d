# The two programs whose start-up is compared: the real one and a bare
# window with a list view.
add_executable(winbench_bare_list WIN32 ${CMAKE_CURRENT_LIST_DIR}/bare/bare_list.cpp)
target_link_libraries(winbench_bare_list PRIVATE comctl32)
target_link_options(winbench_bare_list PRIVATE -municode)
add_dependencies(${target} kelmar winbench_bare_list)
target_compile_definitions(${target} PRIVATE
  KELMAR_EXE="$<TARGET_FILE:kelmar>"
  BARE_LIST_EXE="$<TARGET_FILE:winbench_bare_list>")
target_link_options(${target} PRIVATE -municode)
