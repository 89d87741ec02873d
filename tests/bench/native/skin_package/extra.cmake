# The program's own package, as the build makes it.
add_dependencies(${target} kelmar_skin_package)
target_compile_definitions(${target} PRIVATE KELMAR_SKIN_PACKAGE="${KELMAR_SKIN_PACKAGE}")
