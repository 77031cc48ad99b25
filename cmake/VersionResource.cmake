# The resources every Windows program of ours carries: the version resource and the manifest.
#
# The program's one version number, from project(VERSION) in the top CMakeLists.txt, as four
# numbers: every binary's version resource, the about window and the statistics carry it.
# A part of the tree built on its own (shellhook/ for a 32-bit tree) is handed the text instead.
if(TAVRINO_VERSION_TEXT)
  string(REPLACE "." ";" TAVRINO_VERSION_PARTS "${TAVRINO_VERSION_TEXT}")
else()
  set(TAVRINO_VERSION_PARTS ${CMAKE_PROJECT_VERSION_MAJOR} ${CMAKE_PROJECT_VERSION_MINOR}
      ${CMAKE_PROJECT_VERSION_PATCH} ${CMAKE_PROJECT_VERSION_TWEAK})
endif()
list(TRANSFORM TAVRINO_VERSION_PARTS REPLACE "^$" "0")
list(LENGTH TAVRINO_VERSION_PARTS _n)
while(_n LESS 4)
  list(APPEND TAVRINO_VERSION_PARTS 0)
  math(EXPR _n "${_n} + 1")
endwhile()
list(JOIN TAVRINO_VERSION_PARTS "." TAVRINO_VERSION_TEXT)
set(TAVRINO_PRODUCT_NAME "Tavrino")

# tv_add_version_resource(TARGET DESCRIPTION text): gives a Windows program or library its version
# resource: file and product version TAVRINO_VERSION_TEXT, product name, description, copyright
# and original file name. Does nothing in native builds. tests/app checks every binary given one.
function(tv_add_version_resource target)
  cmake_parse_arguments(V "" "DESCRIPTION" "" ${ARGN})
  if(NOT TAVRINO_WINDOWS)
    return()
  endif()
  if(NOT V_DESCRIPTION)
    message(FATAL_ERROR "tv_add_version_resource(${target}): DESCRIPTION is required")
  endif()
  get_target_property(_type ${target} TYPE)
  if(_type STREQUAL "EXECUTABLE")
    set(TV_FILE_TYPE VFT_APP)
  else()
    set(TV_FILE_TYPE VFT_DLL)
  endif()
  list(JOIN TAVRINO_VERSION_PARTS "," TV_VERSION_COMMAS)
  set(TV_VERSION_DOTS ${TAVRINO_VERSION_TEXT})
  set(TV_DESCRIPTION ${V_DESCRIPTION})
  set(TV_PRODUCT ${TAVRINO_PRODUCT_NAME})
  set(TV_COMPANY "The ${TAVRINO_PRODUCT_NAME} developers")
  set(TV_COPYRIGHT "Copyright (C) 2026 The ${TAVRINO_PRODUCT_NAME} developers")
  set(TV_INTERNAL_NAME ${target})
  set(TV_TARGET ${target})
  set(_dir ${CMAKE_CURRENT_BINARY_DIR}/version_resource)
  configure_file(${TAVRINO_ROOT}/app/res/version.rc.in ${_dir}/${target}.rc.in @ONLY)
  file(GENERATE OUTPUT ${_dir}/${target}.rc INPUT ${_dir}/${target}.rc.in)
  target_sources(${target} PRIVATE ${_dir}/${target}.rc)
  set_property(GLOBAL APPEND PROPERTY TAVRINO_VERSIONED_TARGETS ${target})
endfunction()

# tv_add_manifest(TARGET NAME assembly-name DESCRIPTION text): builds the manifest every Windows
# program of ours carries (app/res/tavrino.manifest.in: per-monitor DPI awareness, common controls
# 6, supported systems, asInvoker) into a program, as resource type 24 id 1, under its own assembly
# name and the project's version. Does nothing in native builds. tests/app reads them back.
function(tv_add_manifest target)
  cmake_parse_arguments(M "" "NAME;DESCRIPTION" "" ${ARGN})
  if(NOT TAVRINO_WINDOWS)
    return()
  endif()
  if(NOT M_NAME OR NOT M_DESCRIPTION)
    message(FATAL_ERROR "tv_add_manifest(${target}): NAME and DESCRIPTION are required")
  endif()
  set(TAVRINO_MANIFEST_VERSION ${TAVRINO_VERSION_TEXT})
  set(TAVRINO_MANIFEST_NAME ${M_NAME})
  set(TAVRINO_MANIFEST_DESCRIPTION ${M_DESCRIPTION})
  set(_dir ${CMAKE_CURRENT_BINARY_DIR}/manifest)
  configure_file(${TAVRINO_ROOT}/app/res/tavrino.manifest.in ${_dir}/${target}.manifest @ONLY)
  file(CONFIGURE OUTPUT ${_dir}/${target}.rc
       CONTENT "// ${target}'s manifest (resource type 24, id 1: read by the loader when the process starts).\n1 24 \"${_dir}/${target}.manifest\"\n")
  target_sources(${target} PRIVATE ${_dir}/${target}.rc)
  set_source_files_properties(${_dir}/${target}.rc PROPERTIES OBJECT_DEPENDS ${_dir}/${target}.manifest)
endfunction()
