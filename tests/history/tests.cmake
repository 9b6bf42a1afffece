# The previously-played window, wired up under Wine (its list logic is tested with the playlist
# window's).
if(WIN32)
  ox_test(history_tests LOCK wineprefix-global LIBS ox_queue ox_test_support SOURCES
    history/HistoryTest.cpp
    support/ScratchInstallation.cpp
  )
  add_dependencies(history_tests History ox_codec_wav ox_codec_mp3)
endif()
