# The command dispatcher's order of steps, against a target that records what it is asked.
add_executable(dispatcher_tests skin/CommandDispatcherTest.cpp)
target_include_directories(dispatcher_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(dispatcher_tests PRIVATE bookshell_app GTest::gtest_main)
gtest_discover_tests(dispatcher_tests DISCOVERY_TIMEOUT 60)
