ox_program(Queuer FOLDER queuer
  WIN32 queuer/QueuerWindow.cpp queuer/TrackSources.cpp
  MAIN queuer/QueuerMain.cpp queuer/Queuer.rc
  DPI_AWARE)
