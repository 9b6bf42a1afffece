# Queuer.exe, the playlist window. Its list logic lives in queue/ (pure, tested natively); what is
# here is Windows only.
if(WIN32)
  ox_program(Queuer FOLDER queuer
    WIN32 queuer/QueuerWindow.cpp queuer/TrackSources.cpp
    MAIN queuer/QueuerMain.cpp queuer/Queuer.rc
    DPI_AWARE)
endif()
