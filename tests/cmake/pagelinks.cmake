# Real clicks on every link form of the sample book's links page, in the main window on the
# offscreen platform.
if(TARGET samplebook)
  add_executable(pagelinks_tests app/PageLinksTest.cpp app/WidgetTestMain.cpp support/PrivateFolders.cpp app/TestDisc.cpp packs/PackTestUtil.cpp)
  target_include_directories(pagelinks_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(pagelinks_tests PRIVATE bookshell_app Qt6::Test GTest::gtest)
  target_compile_definitions(pagelinks_tests PRIVATE SAMPLE_RUN="${CMAKE_BINARY_DIR}/samplebook/disc/run")
  add_dependencies(pagelinks_tests samplebook)
  gtest_discover_tests(pagelinks_tests DISCOVERY_TIMEOUT 120)
endif()
