# Launching programs, Windows programs and documents through fake wine and xdg-open.
add_executable(launch_tests platform/LaunchTest.cpp)
target_include_directories(launch_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(launch_tests PRIVATE bookshell_platform GTest::gtest)
gtest_discover_tests(launch_tests DISCOVERY_TIMEOUT 60)
