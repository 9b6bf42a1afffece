ox_program(History FOLDER history
  WIN32 history/HistoryWindow.cpp
  MAIN history/HistoryMain.cpp history/History.rc
  DPI_AWARE)
