# The skinned main window on the offscreen platform: clicks, switches, keys, drops, animations
# and a record from a real second process, on the sample book and on small made-up discs.
if(TARGET samplebook)
  add_executable(send_record app/send_record.cpp)
  target_link_libraries(send_record PRIVATE bookshell_platform)

  add_executable(mainform_tests app/MainFormTest.cpp app/WidgetTestMain.cpp support/PrivateFolders.cpp app/TestDisc.cpp packs/PackTestUtil.cpp)
  target_include_directories(mainform_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(mainform_tests PRIVATE bookshell_app Qt6::Test GTest::gtest)
  target_compile_definitions(mainform_tests PRIVATE
    SAMPLE_RUN="${CMAKE_BINARY_DIR}/samplebook/disc/run" SEND_RECORD="$<TARGET_FILE:send_record>")
  add_dependencies(mainform_tests samplebook send_record)
  gtest_discover_tests(mainform_tests DISCOVERY_TIMEOUT 60)
endif()

if(TARGET samplebook)
  add_executable(x11_tests app/X11WindowTest.cpp app/X11TestMain.cpp support/PrivateFolders.cpp)
  target_include_directories(x11_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(x11_tests PRIVATE bookshell_app GTest::gtest)
  target_compile_definitions(x11_tests PRIVATE SAMPLE_RUN="${CMAKE_BINARY_DIR}/samplebook/disc/run")
  add_dependencies(x11_tests samplebook)
  gtest_discover_tests(x11_tests DISCOVERY_TIMEOUT 60)
endif()
