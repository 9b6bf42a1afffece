# The options program: the settings table and key choice natively; the program under Wine.
target_sources(pure_tests PRIVATE launcher/SettingsTableTest.cpp launcher/KeyChoiceTest.cpp)
target_compile_definitions(pure_tests PRIVATE "OX_SOURCE_DIR=\"${PROJECT_SOURCE_DIR}\"")
