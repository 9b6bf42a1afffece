# Launcher.exe, the options program: its menu and settings window.
ox_program(Launcher FOLDER launcher DPI_AWARE
  PURE launcher/OptionRows.cpp
  WIN32 launcher/KeysPart.cpp launcher/Launcher.cpp launcher/OptionsMenu.cpp launcher/PageParts.cpp
        launcher/RowStore.cpp launcher/SkinPreview.cpp
        launcher/SettingsWindow.cpp launcher/WindowBasics.cpp
  MAIN launcher/LauncherMain.cpp launcher/Launcher.rc)
