# The Debian package: cpack -G DEB in a build configured with -DCMAKE_INSTALL_PREFIX=/usr (the
# installed program finds its sample book under the prefix it was built for). Dependencies come
# from the binaries through dpkg-shlibdeps; the copyright file, the changelog and the manual
# pages are compressed where Debian's policy wants them.
include(GNUInstallDirs)
set(CPACK_PACKAGE_NAME bookshell)
set(CPACK_PACKAGE_VENDOR "The Bookshell developers")
set(CPACK_PACKAGE_CONTACT "Bookshell maintainers <maintainers@users.noreply.c-seed-27972dc4.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reader for CD-ROM reference books")
set(CPACK_PACKAGE_DESCRIPTION
    "Bookshell opens an original disc of a reference book, such as a car repair\n"
    "manual, from a mounted disc, a disc folder or a disc image, and shows the\n"
    "book as its skin describes it: a shaped window, pages with their own links,\n"
    "contents trees, search, history, favourites, printing, music, video and\n"
    "slide shows. The package holds the reader, the bookpack tool and a small\n"
    "sample book.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The page engine's helper process, a sound server and the General MIDI sound font (without it
# MIDI songs are refused like any file that cannot play) are found at run time, not linked.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, pulseaudio | pipewire-pulse, fonts-dejavu-core, fluid-soundfont-gm")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

# Debian's documentation files, compressed as installed (a native package's changelog is
# changelog.gz).
set(doc ${CMAKE_CURRENT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${doc})
foreach(name changelog bookshell.1 bookpack.1)
  set(source ${PROJECT_SOURCE_DIR}/packaging/${name})
  if(name MATCHES "\\.1$")
    set(source ${PROJECT_SOURCE_DIR}/desktop/${name})
  endif()
  set(target ${doc}/${name}.gz)
  add_custom_command(OUTPUT ${target} COMMAND gzip -9n -c ${source} > ${target} DEPENDS ${source} VERBATIM)
  list(APPEND package_docs ${target})
endforeach()
add_custom_target(package_docs ALL DEPENDS ${package_docs})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${doc}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/bookshell)
install(FILES ${doc}/bookshell.1.gz ${doc}/bookpack.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
include(CPack)
