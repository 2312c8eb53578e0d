# Makes the Trelvane folder afresh from the build's install rules, and refuses it when it
# holds a DLL that its licence notice does not name.
# cmake -D BUILD=<build folder> -D STAGE=<folder> -D NOTICE=<notice, inside the folder> -P stage.cmake
cmake_policy(VERSION 3.25)
file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${STAGE}
  OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "Installing into ${STAGE} failed")
endif()

file(READ ${STAGE}/${NOTICE} notice)
file(GLOB_RECURSE dlls RELATIVE ${STAGE} ${STAGE}/*.dll)
foreach(dll IN LISTS dlls)
  get_filename_component(name ${dll} NAME)
  string(FIND "${notice}" "${name}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${dll} is shipped, but ${NOTICE} does not say what it is and "
      "under which licence")
  endif()
endforeach()
