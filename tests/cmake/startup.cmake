# Start-up, host paths and the window keys: unit tests plus system tests that start the program.
add_executable(bookshell_startup_tests
  platform/HostPathsTest.cpp
  platform/FileSearchTest.cpp
  app/StartupTest.cpp
  app/StartupProcessTest.cpp
  app/TestDisc.cpp
  app/QtTestMain.cpp support/PrivateFolders.cpp
  packs/PackTestUtil.cpp
)
target_include_directories(bookshell_startup_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(bookshell_startup_tests PRIVATE bookshell_app GTest::gtest)
target_compile_definitions(bookshell_startup_tests PRIVATE BOOKSHELL_EXE="$<TARGET_FILE:bookshell>")
add_dependencies(bookshell_startup_tests bookshell)
gtest_discover_tests(bookshell_startup_tests DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
