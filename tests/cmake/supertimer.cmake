# The timer component: real worker threads handing ticks to the window thread.
add_executable(supertimer_tests app/SuperTimerTest.cpp)
target_include_directories(supertimer_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(supertimer_tests PRIVATE bookshell_app GTest::gtest)
gtest_discover_tests(supertimer_tests DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
