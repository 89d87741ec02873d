# The skinpack tool's round trip and skingen's command line run with these
# tests (tools are configured before testing is enabled, so the tests are
# declared here).
if(TARGET skinpack)
  add_test(NAME skinpack_roundtrip
    COMMAND bash ${CMAKE_SOURCE_DIR}/tools/skinpack/roundtrip_test.sh $<TARGET_FILE:skinpack>
            ${KELMAR_TEST_DATA}/bmp ${CMAKE_CURRENT_BINARY_DIR}/skinpack_roundtrip)
endif()
if(TARGET skingen)
  add_test(NAME skingen_command_line
    COMMAND bash ${CMAKE_SOURCE_DIR}/tools/skingen/cli_test.sh $<TARGET_FILE:skingen>
            ${CMAKE_CURRENT_BINARY_DIR}/skingen_command_line)
endif()
