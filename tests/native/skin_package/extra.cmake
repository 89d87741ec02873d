# The skinpack tool's round trip runs with these tests (tools are configured
# before testing is enabled, so the test is declared here).
if(TARGET skinpack)
  add_test(NAME skinpack_roundtrip
    COMMAND bash ${CMAKE_SOURCE_DIR}/tools/skinpack/roundtrip_test.sh $<TARGET_FILE:skinpack>
            ${KELMAR_TEST_DATA}/bmp ${CMAKE_CURRENT_BINARY_DIR}/skinpack_roundtrip)
endif()
