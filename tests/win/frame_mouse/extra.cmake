# The frame tests also drive the real program.
add_dependencies(${target} kelmar)
target_compile_definitions(${target} PRIVATE KELMAR_EXE="$<TARGET_FILE:kelmar>")
