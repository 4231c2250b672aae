# The interface description and the skin's records.
add_executable(skin_tests skin/InterfaceDescriptionTest.cpp)
target_include_directories(skin_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(skin_tests PRIVATE bookshell_app GTest::gtest_main)
gtest_discover_tests(skin_tests DISCOVERY_TIMEOUT 60)
