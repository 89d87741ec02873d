# The tests read the package that the build made from skins/default.
add_dependencies(${target} kelmar_skin_package)
target_compile_definitions(${target} PRIVATE KELMAR_SKIN_PACKAGE="${KELMAR_SKIN_PACKAGE}")
target_compile_definitions(${target} PRIVATE
  KELMAR_SKIN_PACKAGE_144="${KELMAR_SKIN_PACKAGE_144}" KELMAR_SKIN_PACKAGE_192="${KELMAR_SKIN_PACKAGE_192}")
