# The list windows (the playlist window and the previously-played window): their list logic
# natively, and under Wine the programs themselves beside a running player.
target_sources(pure_tests PRIVATE queuer/ListLogicTest.cpp)
if(WIN32)
  ox_test(queuer_tests LOCK wineprefix-global desktop LIBS ox_queue ox_test_support SOURCES
    queuer/QueuerTest.cpp
    support/ScratchInstallation.cpp
  )
  add_dependencies(queuer_tests Queuer History ox_codec_wav ox_codec_mp3)
endif()
