# The process's memory figures.
target_link_libraries(${target} PRIVATE psapi)
