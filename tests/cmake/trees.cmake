# The contents trees on the offscreen platform: building from a description file, finding,
# syncing, switching and collapsing.
add_executable(trees_tests html/trees/TreeListTest.cpp html/trees/TreesTestMain.cpp packs/PackTestUtil.cpp)
target_include_directories(trees_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(trees_tests PRIVATE bookshell_app Qt6::Test GTest::gtest)
gtest_discover_tests(trees_tests DISCOVERY_TIMEOUT 60)
