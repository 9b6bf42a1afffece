# The setup (its amd64 build, with the copy of the installation folder it packed) installed, upgraded
# and removed under wine64 in a Wine prefix of its own; the x86 setup's payload compared with it.
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_test(NAME installer_tests COMMAND bash "${CMAKE_CURRENT_SOURCE_DIR}/installer/setup-test.sh"
           "${CMAKE_BINARY_DIR}/../setup" "${PROJECT_VERSION}" "${CMAKE_BINARY_DIR}/installer/stage" "${CMAKE_BINARY_DIR}/installer-test"
           "${OX_TEST_RESULTS}/installer_tests.xml")
  # Its prefix is its own, but the player it starts shows windows on the same display: beside a test
  # that types into a window of its own, that window could lose the keyboard focus to it.
  set_tests_properties(installer_tests PROPERTIES RESOURCE_LOCK desktop)
endif()
