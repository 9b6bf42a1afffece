# The collection editor's tests. The model and the window's arithmetic are pure and join pure_tests.
target_sources(pure_tests PRIVATE librarian/CollectionModelTest.cpp librarian/LibrarianRulesTest.cpp)
target_link_libraries(pure_tests PRIVATE ox_librarian)

if(WIN32)
  # The player's side of the cross-process tests.
  add_executable(librarian_peer librarian/CollectionPeer.cpp)
  target_link_libraries(librarian_peer PRIVATE ox_queue ox_warnings)

  ox_test(librarian_tests LOCK wineprefix-global desktop LIBS ox_librarian ox_test_support SOURCES
    librarian/LibrarianTest.cpp
    support/ScratchInstallation.cpp
  )
  add_dependencies(librarian_tests Librarian librarian_peer ox_codec_wav ox_codec_mp3)
endif()
