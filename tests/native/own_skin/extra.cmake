# The tests read the packages that the build made from skins/default and
# skins/dark.
add_dependencies(${target} kelmar_skin_package)
foreach(skin KELMAR_SKIN_PACKAGE KELMAR_SKIN_DARK_PACKAGE)
  target_compile_definitions(${target} PRIVATE
    ${skin}="${${skin}}" ${skin}_144="${${skin}_144}" ${skin}_192="${${skin}_192}")
endforeach()
