# The link protocol, favourites and history items against recording hosts, and the picture
# query against picture windows in other processes.
add_executable(picture_peer html/links/picture_peer.cpp)
target_include_directories(picture_peer PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(picture_peer PRIVATE bookshell_app)

add_executable(links_tests
  html/links/LinksTestMain.cpp
  html/links/LinkProtocolTest.cpp
  html/links/FavoritesTest.cpp
  html/links/PictureQueryTest.cpp
  support/PrivateFolders.cpp
)
target_include_directories(links_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(links_tests PRIVATE bookshell_app GTest::gtest)
target_compile_definitions(links_tests PRIVATE PICTURE_PEER="$<TARGET_FILE:picture_peer>")
add_dependencies(links_tests picture_peer)
gtest_discover_tests(links_tests DISCOVERY_TIMEOUT 60)
