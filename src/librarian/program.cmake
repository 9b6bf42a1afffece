# Librarian.exe, the collection editor: the library view, selective play, and the files the
# player hands over.
ox_program(Librarian FOLDER librarian DPI_AWARE
  PURE librarian/LibrarianRules.cpp
  WIN32 librarian/Library.cpp librarian/LibrarianWindow.cpp
  MAIN librarian/LibrarianMain.cpp)
if(WIN32)
  target_link_libraries(ox_librarian PUBLIC comctl32)
endif()
