# Copies the sample pages from SOURCE to DEST, turning text files from UTF-8 into CP1251 as
# the disc stores them. Run with cmake -P.
file(REMOVE_RECURSE ${DEST})
file(GLOB_RECURSE files RELATIVE ${SOURCE} ${SOURCE}/*)
foreach(rel IN LISTS files)
  get_filename_component(dir ${DEST}/${rel} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  if(rel MATCHES "\\.(htm|html|css|txt|js)$")
    execute_process(COMMAND iconv -f UTF-8 -t CP1251 ${SOURCE}/${rel}
                    OUTPUT_FILE ${DEST}/${rel} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "${rel} is not UTF-8 text that CP1251 can hold")
    endif()
  else()
    file(COPY ${SOURCE}/${rel} DESTINATION ${dir})
  endif()
endforeach()
