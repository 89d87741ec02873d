# The real program that the files are dropped on.
add_dependencies(${target} kelmar)
target_compile_definitions(${target} PRIVATE KELMAR_EXE="$<TARGET_FILE:kelmar>")
