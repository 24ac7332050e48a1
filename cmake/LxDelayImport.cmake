# A delay-import library for a system DLL, made at configure time from the
# toolchain's own import library: its entry points are bound at their first
# call, when the program has already restricted the library search to
# System32, instead of by the loader before wWinMain runs (when the
# program's own folder is searched first for any DLL that is not a KnownDLL).
# lx_delay_import(<out-var> <dll file name> <import library name>)
function(lx_delay_import var dll lib)
  set(out ${CMAKE_BINARY_DIR}/delayimp/lib${lib}_delay.a)
  if(NOT EXISTS ${out})
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${lib}.a
                    OUTPUT_VARIABLE implib OUTPUT_STRIP_TRAILING_WHITESPACE)
    execute_process(COMMAND ${CMAKE_NM} ${implib} OUTPUT_VARIABLE symbols RESULT_VARIABLE nm_failed)
    if(nm_failed)
      message(FATAL_ERROR "nm could not read ${implib}")
    endif()
    # "I __imp_<name>" (x86-64) or "I __imp__<name>@<bytes>" (i686).
    string(REGEX MATCHALL " I __imp_[A-Za-z0-9_@?]+" imports "${symbols}")
    set(def "LIBRARY ${dll}\nEXPORTS\n")
    foreach(i ${imports})
      string(REGEX REPLACE "^ I __imp_" "" name "${i}")
      if(LX_BITS EQUAL 32)
        string(REGEX REPLACE "^_" "" name "${name}")
      endif()
      string(APPEND def "${name}\n")
    endforeach()
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/delayimp)
    file(WRITE ${CMAKE_BINARY_DIR}/delayimp/${lib}.def "${def}")
    set(kill_at "")
    if(LX_BITS EQUAL 32)
      set(kill_at -k)  # imported by undecorated name, called with the stdcall decoration
    endif()
    execute_process(COMMAND ${CMAKE_DLLTOOL} ${kill_at} --input-def ${CMAKE_BINARY_DIR}/delayimp/${lib}.def
                            --output-delaylib ${out}
                    RESULT_VARIABLE dlltool_failed)
    if(dlltool_failed)
      message(FATAL_ERROR "dlltool could not make the delay-import library of ${dll}")
    endif()
  endif()
  set(${var} ${out} PARENT_SCOPE)
endfunction()
