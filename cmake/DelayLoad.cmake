# Delay-loaded system libraries (Windows builds): tv_delay_<name> links <name>.dll so that it is
# loaded at the first call into it instead of before the program's entry point. Under Wine some of
# them cost much at load: bcrypt brings GnuTLS, comctl32 the visual styles, winhttp the network
# stack. The import library comes from mingw-w64's own (every name it exports) through dlltool's
# delay-import output; the loader routine (__delayLoadHelper2) is mingw-w64's. A system library
# always exists, so a failed load cannot happen in practice.
include_guard(GLOBAL)

function(tv_delay_import name)
  set(_target tv_delay_${name})
  if(TARGET ${_target})
    return()
  endif()
  find_library(_implib_${name} NAMES ${name} REQUIRED)
  set(_dir ${CMAKE_BINARY_DIR}/delayload)
  file(MAKE_DIRECTORY ${_dir})
  execute_process(COMMAND ${CMAKE_NM} -g --defined-only ${_implib_${name}}
                  OUTPUT_VARIABLE _symbols ERROR_QUIET RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "cannot list the exports of ${_implib_${name}}")
  endif()
  # x86_64: "__imp_Name"; i686: "__imp__Name@bytes" (stdcall), written "Name@bytes" and killed.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    string(REGEX MATCHALL "I __imp_[A-Za-z0-9_@?$]+" _found "${_symbols}")
    set(_strip "I __imp_")
    set(_kill)
  else()
    string(REGEX MATCHALL "I __imp__[A-Za-z0-9_@?$]+" _found "${_symbols}")
    set(_strip "I __imp__")
    set(_kill --kill-at)
  endif()
  list(TRANSFORM _found REPLACE "^${_strip}" "")
  list(REMOVE_DUPLICATES _found)
  if(NOT _found)
    message(FATAL_ERROR "no exports found in ${_implib_${name}}")
  endif()
  list(JOIN _found "\n" _exports)
  file(WRITE ${_dir}/${name}.def "LIBRARY ${name}.dll\nEXPORTS\n${_exports}\n")
  set(_lib ${_dir}/lib${name}_delay.a)
  execute_process(COMMAND ${CMAKE_DLLTOOL} -d ${_dir}/${name}.def -y ${_lib} ${_kill}
                  RESULT_VARIABLE _rc ERROR_VARIABLE _err)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "dlltool cannot make the delay-import library of ${name}: ${_err}")
  endif()
  add_library(${_target} STATIC IMPORTED GLOBAL)
  set_target_properties(${_target} PROPERTIES IMPORTED_LOCATION ${_lib})
endfunction()
