# The options program: the settings table, key choice and the rows' arithmetic natively; the
# program itself next to a running player under Wine.
target_sources(pure_tests PRIVATE launcher/SettingsTableTest.cpp launcher/KeyChoiceTest.cpp launcher/OptionRowsTest.cpp)
target_link_libraries(pure_tests PRIVATE ox_launcher)
target_compile_definitions(pure_tests PRIVATE "OX_SOURCE_DIR=\"${PROJECT_SOURCE_DIR}\"")
if(WIN32)
  ox_test(launcher_tests LOCK wineprefix-global desktop LIBS ox_launcher ox_test_support SOURCES launcher/LauncherTest.cpp)
  add_dependencies(launcher_tests rill Launcher skins)
endif()
