# Shared build settings: dependencies as imported targets, test and benchmark helpers.
include_guard(GLOBAL)

set(TAVRINO_ROOT ${CMAKE_SOURCE_DIR})
set(TAVRINO_DEPS ${CMAKE_SOURCE_DIR}/.deps)

if(WIN32)
  set(TAVRINO_WINDOWS ON)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_options(-finput-charset=UTF-8 -fexec-charset=UTF-8)
  # Line tables are all that crash traces and the debugger use under Wine; full debug information
  # costs a sixth of the compile time.
  add_compile_options($<$<CONFIG:RelWithDebInfo>:-g1>)
  # Built for size: under Wine a program's code is copied into memory whole rather than mapped from
  # its file, so every byte of it stays resident. With -Os the program's code is a third smaller
  # (1.26 MiB instead of 2.0), and the start and month-change benchmarks are no slower.
  add_compile_options(-Os)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(TAVRINO_WINARCH win64)
  else()
    set(TAVRINO_WINARCH win32)
  endif()
  set(_sq ${TAVRINO_DEPS}/src/sqlite3-amalgamation)
  if(NOT EXISTS ${_sq}/sqlite3.c OR NOT EXISTS ${TAVRINO_DEPS}/src/tinyxml/tinyxml.cpp)
    message(FATAL_ERROR "Windows dependencies' sources missing in ${TAVRINO_DEPS}/src: run tools/setup.sh first")
  endif()
  # SQLite from its amalgamation, built for size: the whole of its code stays resident under Wine,
  # and the program's statements are small. Its page cache is held to 256 KiB a connection (the
  # program's data file is read a few rows at a time; the default would keep up to 2 MiB of it).
  add_library(tv_sqlite3 STATIC ${_sq}/sqlite3.c)
  target_include_directories(tv_sqlite3 SYSTEM PUBLIC ${_sq})
  target_compile_definitions(tv_sqlite3 PRIVATE SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION
                             SQLITE_DEFAULT_MEMSTATUS=0 SQLITE_OMIT_DEPRECATED SQLITE_OMIT_SHARED_CACHE
                             SQLITE_OMIT_PROGRESS_CALLBACK SQLITE_OMIT_JSON SQLITE_DEFAULT_CACHE_SIZE=-256)
  target_compile_options(tv_sqlite3 PRIVATE -Os -w)
  # TinyXML from its source, without its standard-stream interface: the program reads XML from
  # memory, and the streams would bring the C++ library's whole locale machinery into the program
  # (about 0.8 MiB of code, all of it resident under Wine).
  # The packaged header turns that interface on by itself: a copy of the sources without that line.
  set(_tx ${CMAKE_BINARY_DIR}/tinyxml)
  set(_tx_sources)
  foreach(_f tinyxml.h tinystr.h tinyxml.cpp tinystr.cpp tinyxmlerror.cpp tinyxmlparser.cpp)
    file(READ ${TAVRINO_DEPS}/src/tinyxml/${_f} _text)
    string(REPLACE "#ifndef TIXML_USE_STL\n\t#define TIXML_USE_STL\n#endif" "" _text "${_text}")
    file(CONFIGURE OUTPUT ${_tx}/${_f} CONTENT "${_text}" @ONLY)
    if(_f MATCHES "cpp$")
      list(APPEND _tx_sources ${_tx}/${_f})
    endif()
  endforeach()
  add_library(tv_tinyxml STATIC ${_tx_sources})
  target_include_directories(tv_tinyxml SYSTEM BEFORE PUBLIC ${_tx})
  set_target_properties(tv_tinyxml PROPERTIES COMPILE_OPTIONS -w)
  # The JSON library is headers only; tools/setup.sh copies them out of the system's include tree.
  add_library(tv_json INTERFACE)
  target_include_directories(tv_json SYSTEM INTERFACE ${TAVRINO_DEPS}/json/include)
  # GoogleTest from Debian's source package, compiled with the cross compiler.
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  add_library(tv_gtest INTERFACE)
  target_link_libraries(tv_gtest INTERFACE gtest gmock)
  add_library(tv_gtest_main INTERFACE)
  target_link_libraries(tv_gtest_main INTERFACE gtest_main gmock)
  # System libraries the program's first painting does not need: loaded at their first call.
  include(${CMAKE_CURRENT_LIST_DIR}/DelayLoad.cmake)
  foreach(_lib bcrypt comctl32 iphlpapi oleacc oleaut32 shell32 version winhttp ws2_32)
    tv_delay_import(${_lib})
  endforeach()
else()
  set(TAVRINO_WINDOWS OFF)
  find_package(PkgConfig REQUIRED)
  find_package(SQLite3 REQUIRED)
  find_package(CURL REQUIRED)
  find_package(Threads REQUIRED)
  find_package(nlohmann_json 3 REQUIRED)
  add_library(tv_sqlite3 INTERFACE)
  target_link_libraries(tv_sqlite3 INTERFACE SQLite::SQLite3)
  add_library(tv_tinyxml INTERFACE)
  target_link_libraries(tv_tinyxml INTERFACE tinyxml)
  target_compile_definitions(tv_tinyxml INTERFACE TIXML_USE_STL)
  add_library(tv_json INTERFACE)
  target_link_libraries(tv_json INTERFACE nlohmann_json::nlohmann_json)
  add_library(tv_curl INTERFACE)
  target_link_libraries(tv_curl INTERFACE CURL::libcurl)
  find_package(OpenSSL REQUIRED COMPONENTS Crypto)
  add_library(tv_crypto INTERFACE)
  target_link_libraries(tv_crypto INTERFACE OpenSSL::Crypto)
  find_package(GTest REQUIRED)
  add_library(tv_gtest INTERFACE)
  target_link_libraries(tv_gtest INTERFACE GTest::gtest GTest::gmock Threads::Threads)
  add_library(tv_gtest_main INTERFACE)
  target_link_libraries(tv_gtest_main INTERFACE GTest::gtest_main GTest::gmock Threads::Threads)
  find_package(benchmark QUIET)
  if(TAVRINO_TSAN AND TAVRINO_ASAN)
    message(FATAL_ERROR "TAVRINO_TSAN and TAVRINO_ASAN exclude each other: use one tree for each")
  endif()
  # The sanitizer trees find faults rather than measure speed: -O1 keeps the reports' stacks whole
  # and compiles in about half the time of -O2, and line tables (-g1) are all a report needs.
  if(TAVRINO_TSAN OR TAVRINO_ASAN)
    add_compile_options(-O1 -g1)
  endif()
  if(TAVRINO_TSAN)
    add_compile_options(-fsanitize=thread)
    add_link_options(-fsanitize=thread)
  endif()
  if(TAVRINO_ASAN)
    # Undefined behaviour stops the program like a memory error does, so that the test fails.
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()

# The program's one version number and tv_add_version_resource.
include(${CMAKE_CURRENT_LIST_DIR}/VersionResource.cmake)

include(CTest)
enable_testing()

# libFuzzer targets are built by a native clang that offers -fsanitize=fuzzer.
set(TAVRINO_HAS_LIBFUZZER OFF)
if(NOT TAVRINO_WINDOWS AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS "-fsanitize=fuzzer")
  check_cxx_source_compiles("
#include <cstddef>
#include <cstdint>
extern \"C\" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }" TAVRINO_CAN_FUZZ)
  unset(CMAKE_REQUIRED_FLAGS)
  set(TAVRINO_HAS_LIBFUZZER ${TAVRINO_CAN_FUZZ})
endif()

# tv_add_subdirectories(): adds every folder below the current one that has a CMakeLists.txt,
# sorted by name (one folder of tests or benchmarks per layer).
function(tv_add_subdirectories)
  file(GLOB dirs LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT dirs)
  foreach(d ${dirs})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${d}/CMakeLists.txt)
      add_subdirectory(${d})
    endif()
  endforeach()
endfunction()

# tv_add_test(NAME SOURCES ... [LIBS ...] [LABELS ...] [TIMEOUT s] [NO_MAIN])
# One test program; natively each GoogleTest case is its own CTest test, on Windows the whole
# program is one CTest test run through the emulator (wine64), named "win64.<NAME>".
function(tv_add_test name)
  cmake_parse_arguments(T "NO_MAIN" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  # A test program of several files compiles as a few combined units: the test framework's headers
  # are then read once per unit instead of once per file, which is most of a test file's compile time.
  # (GCC warns about fixtures in unnamed namespaces of files that are not the main file.)
  list(LENGTH T_SOURCES _count)
  if(_count GREATER 2)
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
    target_compile_options(${name} PRIVATE -Wno-subobject-linkage)
  endif()
  if(T_NO_MAIN)
    target_link_libraries(${name} PRIVATE ${T_LIBS} tv_test_support tv_gtest)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} tv_test_support tv_gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE TAVRINO_SOURCE_DIR="${TAVRINO_ROOT}")
  if(TAVRINO_WINDOWS)
    if(CMAKE_CROSSCOMPILING_EMULATOR)
      add_test(NAME ${TAVRINO_WINARCH}.${name} COMMAND ${name} --gtest_color=no
               WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}>)
      set_tests_properties(${TAVRINO_WINARCH}.${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
                           LABELS "wine;${T_LABELS}")
    endif()
  else()
    include(GoogleTest)
    gtest_discover_tests(${name} WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}>
                         PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "native;${T_LABELS}"
                         DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# tv_add_bench(NAME SOURCES ... [LIBS ...]): a Google Benchmark program, native builds only.
function(tv_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  if(TAVRINO_WINDOWS OR NOT benchmark_FOUND)
    return()
  endif()
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark_main)
endfunction()
