# Makes the portable zip: the staged Trelvane folder as the zip's one folder. A zip larger
# than 12 MiB is refused: the Qt build or the DLL walk has taken in more than it should.
# cmake -D STAGE=<folder> -D ZIP=<file> -P make_zip.cmake
cmake_policy(VERSION 3.25)
set(most_bytes 12582912)
get_filename_component(parent ${STAGE} DIRECTORY)
get_filename_component(folder ${STAGE} NAME)
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip ${folder}
  WORKING_DIRECTORY ${parent} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "Zipping ${STAGE} into ${ZIP} failed")
endif()
file(SIZE ${ZIP} bytes)
if(bytes GREATER most_bytes)
  message(FATAL_ERROR "${ZIP} takes ${bytes} bytes, more than 12 MiB")
endif()
