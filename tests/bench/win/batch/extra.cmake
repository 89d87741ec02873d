# The program is started from the benchmark as a script starts it.
add_dependencies(${target} kelmar)
target_compile_definitions(${target} PRIVATE KELMAR_EXE="$<TARGET_FILE:kelmar>")
