# Instance lock, instance records and the channel between windows of different processes.
add_executable(instance_peer platform/instance_peer.cpp)
target_link_libraries(instance_peer PRIVATE bookshell_platform)

add_executable(instance_tests
  platform/InstanceTestMain.cpp support/PrivateFolders.cpp
  platform/InstanceDataTest.cpp
  platform/InstanceLockTest.cpp
  platform/InstanceChannelTest.cpp
)
target_include_directories(instance_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(instance_tests PRIVATE bookshell_platform GTest::gtest)
target_compile_definitions(instance_tests PRIVATE INSTANCE_PEER="$<TARGET_FILE:instance_peer>")
add_dependencies(instance_tests instance_peer)
gtest_discover_tests(instance_tests DISCOVERY_TIMEOUT 60)
