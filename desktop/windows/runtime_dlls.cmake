# Installs the DLLs that the program and its Qt plugins import, and the DLLs those import in
# turn, found by reading their import tables with the cross objdump. Included by the install
# script. An import that is found in none of the search folders must be one of Windows' own
# DLLs; anything else stops the install, as the program would not start without it.
# Every installed PE file is then stripped (the compiler's runtime comes unstripped), with
# the time stamp in its header kept, so that two installs of one build are the same.
cmake_policy(VERSION 3.25)

# Windows' own DLLs, which every Windows 10 and 11 has in its system folder: the API sets,
# and the system DLLs that Qt and the compiler's runtime import.
set(TRELVANE_WINDOWS_SYSTEM_DLL_REGEX
  "^(api-ms-win-.*|ext-ms-win-.*|advapi32|authz|bcrypt|comctl32|comdlg32|crypt32|d2d1|d3d11|d3d12|d3d9|dcomp|dwmapi|dwrite|dxgi|gdi32|imm32|kernel32|mpr|msvcrt|netapi32|ntdll|ole32|oleaut32|rpcrt4|secur32|setupapi|shcore|shell32|shlwapi|user32|userenv|uxtheme|version|winmm|winspool|ws2_32|wtsapi32)\\.(dll|drv)$")

# The DLL names that FILE imports, as written in its import table.
function(trelvane_pe_imports file objdump out)
  execute_process(COMMAND ${objdump} -p ${file}
    OUTPUT_VARIABLE dump RESULT_VARIABLE failed ERROR_VARIABLE error)
  if(failed)
    message(FATAL_ERROR "${objdump} cannot read ${file}: ${error}")
  endif()
  string(REGEX MATCHALL "\n[ \t]*DLL Name: [^\n]+" lines "${dump}")
  set(names)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^\n[ \t]*DLL Name: " "" name "${line}")
    string(STRIP "${name}" name)
    list(APPEND names ${name})
  endforeach()
  set(${out} ${names} PARENT_SCOPE)
endfunction()

# The 32-bit little-endian number at OFFSET in FILE.
function(trelvane_read_u32 file offset out)
  file(READ ${file} bytes OFFSET ${offset} LIMIT 4 HEX)
  string(REGEX REPLACE "^(..)(..)(..)(..)$" "\\4\\3\\2\\1" bytes "${bytes}")
  math(EXPR value "0x${bytes}")
  set(${out} ${value} PARENT_SCOPE)
endfunction()

# trelvane_install_runtime_dlls(ROOTS files... SEARCH folders... DESTINATION folder
#                               OBJDUMP program STRIP program)
# ROOTS are installed files, as they are on disk; the DLLs found go to DESTINATION, the
# program's folder as install rules name it (DESTDIR goes in front, as for them).
function(trelvane_install_runtime_dlls)
  cmake_parse_arguments(arg "" "DESTINATION;OBJDUMP;STRIP" "ROOTS;SEARCH" ${ARGN})

  # Windows finds DLLs whatever their letters' case; this file system does not.
  foreach(folder IN LISTS arg_SEARCH)
    file(GLOB dlls LIST_DIRECTORIES false ${folder}/*.dll ${folder}/*.DLL)
    foreach(dll IN LISTS dlls)
      get_filename_component(name ${dll} NAME)
      string(TOLOWER ${name} key)
      # The first folder that has a DLL is where Windows would find it first too.
      if(NOT DEFINED path_of_${key})
        set(path_of_${key} ${dll})
      endif()
    endforeach()
  endforeach()

  set(queue ${arg_ROOTS})
  set(seen)
  set(installed)
  while(queue)
    list(POP_FRONT queue file)
    trelvane_pe_imports(${file} ${arg_OBJDUMP} imports)
    foreach(name IN LISTS imports)
      string(TOLOWER ${name} key)
      if(key IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${key})
      if(DEFINED path_of_${key})
        file(INSTALL ${path_of_${key}} DESTINATION ${arg_DESTINATION})
        get_filename_component(copy_name ${path_of_${key}} NAME)
        list(APPEND installed $ENV{DESTDIR}${arg_DESTINATION}/${copy_name})
        list(APPEND queue ${path_of_${key}})
      elseif(NOT key MATCHES "${TRELVANE_WINDOWS_SYSTEM_DLL_REGEX}")
        list(JOIN arg_SEARCH "\n  " folders)
        message(FATAL_ERROR "${file} imports ${name}, which is in none of\n  ${folders}\n"
          "and is not one of Windows' own DLLs; without it the program cannot start.")
      endif()
    endforeach()
  endwhile()

  foreach(file IN LISTS arg_ROOTS installed)
    # The PE header's place is at 0x3c, and its time stamp 8 bytes into it.
    trelvane_read_u32(${file} 60 pe_header)
    math(EXPR at "${pe_header} + 8")
    trelvane_read_u32(${file} ${at} timestamp)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${timestamp}
              ${arg_STRIP} --strip-unneeded ${file}
      RESULT_VARIABLE failed ERROR_VARIABLE error)
    if(failed)
      message(FATAL_ERROR "${arg_STRIP} cannot strip ${file}: ${error}")
    endif()
  endforeach()
endfunction()
