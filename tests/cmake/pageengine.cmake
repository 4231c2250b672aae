# The page engine against the real browser, on the offscreen platform.
file(GLOB PAGE_ENGINE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/html/engine/*.cpp)
add_executable(pageengine_tests ${PAGE_ENGINE_TEST_SOURCES})
target_include_directories(pageengine_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(pageengine_tests PRIVATE Qt6::Network bookshell_pageengine GTest::gtest Qt6::Test)
gtest_discover_tests(pageengine_tests DISCOVERY_TIMEOUT 120
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
