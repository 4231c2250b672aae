# Pixel buffers, the window cross-fade and the per-element fader, on the offscreen platform.
add_executable(effects_tests
  effects/EffectsTestMain.cpp
  effects/FastBMPTest.cpp
  effects/EffCarTest.cpp
  effects/EffBtnCarTest.cpp
)
target_include_directories(effects_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(effects_tests PRIVATE bookshell_app GTest::gtest)
gtest_discover_tests(effects_tests DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
