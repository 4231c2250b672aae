# The settings store, machine keys and software records.
add_executable(settings_tests platform/SettingsStoreTest.cpp)
target_include_directories(settings_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(settings_tests PRIVATE bookshell_platform GTest::gtest_main)
gtest_discover_tests(settings_tests DISCOVERY_TIMEOUT 60)
