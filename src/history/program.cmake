# History.exe, the previously-played window. Its list logic lives in queue/ (pure, tested
# natively); what is here is Windows only.
if(WIN32)
  ox_program(History FOLDER history
    WIN32 history/HistoryWindow.cpp
    MAIN history/HistoryMain.cpp history/History.rc
    DPI_AWARE)
endif()
