# The app tests also start the real program.
add_dependencies(${target} kelmar)
target_compile_definitions(${target} PRIVATE KELMAR_EXE="$<TARGET_FILE:kelmar>")
