# The setup (its amd64 build, packed from this build's installation folder) installed, upgraded and
# removed under wine64 in a Wine prefix of its own; the x86 setup's payload compared with it.
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_test(NAME installer_tests COMMAND bash "${CMAKE_CURRENT_SOURCE_DIR}/installer/setup-test.sh"
           "${CMAKE_BINARY_DIR}/../setup" "${PROJECT_VERSION}" "${OX_DIST_DIR}" "${CMAKE_BINARY_DIR}/installer-test"
           "${OX_TEST_RESULTS}/installer_tests.xml")
endif()
