# The playlist window: its list logic natively, and under Wine the edits against a player taking
# records from another process, and the program itself.
target_sources(pure_tests PRIVATE queuer/ListLogicTest.cpp)
