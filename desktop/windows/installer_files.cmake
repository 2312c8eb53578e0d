# Writes what the installer script includes from the staged folder: the files to install,
# the same files for the uninstaller to delete one by one and then their folders, deepest
# first (so that it never removes what a user put there), and their size in KiB for Apps &
# features.
# cmake -D STAGE=<folder> -D OUTPUT=<file.nsh> -P installer_files.cmake
cmake_policy(VERSION 3.25)

# NSIS reads "$" in a string as the start of a variable; Windows parts folders with "\".
function(nsis_path text out)
  string(REPLACE "$" "$$" text "${text}")
  string(REPLACE "/" "\\" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${STAGE} ${STAGE}/*)
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${STAGE} ${STAGE}/*)
if(NOT files)
  message(FATAL_ERROR "${STAGE} is empty: there is nothing to install")
endif()
set(folders ${entries})
list(REMOVE_ITEM folders ${files})
list(SORT files)

set(install "!macro TRELVANE_INSTALL_FILES\n")
set(uninstall "!macro TRELVANE_UNINSTALL_FILES\n")
set(bytes 0)
foreach(file IN LISTS files)
  get_filename_component(folder "${file}" DIRECTORY)
  if(NOT DEFINED folder_now OR NOT folder STREQUAL folder_now)
    nsis_path("${folder}" windows_folder)
    if(folder)
      string(APPEND install "  SetOutPath \"$INSTDIR\\${windows_folder}\"\n")
    else()
      string(APPEND install "  SetOutPath \"$INSTDIR\"\n")
    endif()
    set(folder_now "${folder}")
  endif()
  string(REPLACE "$" "$$" source "${STAGE}/${file}")
  string(APPEND install "  File \"${source}\"\n")
  nsis_path("${file}" windows_file)
  string(APPEND uninstall "  Delete \"$INSTDIR\\${windows_file}\"\n")
  file(SIZE "${STAGE}/${file}" size)
  math(EXPR bytes "${bytes} + ${size}")
endforeach()

# Deepest first: a folder is empty only once the folders inside it are gone.
list(SORT folders ORDER DESCENDING)
foreach(folder IN LISTS folders)
  nsis_path("${folder}" windows_folder)
  string(APPEND uninstall "  RMDir \"$INSTDIR\\${windows_folder}\"\n")
endforeach()

math(EXPR kib "(${bytes} + 1023) / 1024")
file(WRITE ${OUTPUT} "${install}!macroend\n${uninstall}!macroend\n"
  "!define TRELVANE_SIZE_KB ${kib}\n")
