# GoogleTest in both builds: Debian's package natively, its sources with the
# cross compiler for Windows.
enable_testing()
set(ZUB_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest sources compiled with the cross compiler for the Windows tests")
if(NOT ZUB_TESTS)
elseif(ZUB_WIN32)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(${ZUB_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

# zub_add_test(NAME SOURCES a.cpp b.cpp LIBS x y [WIN32_ONLY] [NATIVE_ONLY])
# Natively each GoogleTest case becomes its own CTest test; under Wine a test
# program is one CTest test, since every Wine start costs time.
function(zub_add_test name)
  if(NOT ZUB_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "WIN32_ONLY;NATIVE_ONLY" "TIMEOUT" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  if(T_WIN32_ONLY AND NOT ZUB_WIN32)
    return()
  endif()
  if(T_NATIVE_ONLY AND ZUB_WIN32)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  if(ZUB_WIN32)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
                         WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin ${T_PROPERTIES})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                         PROPERTIES TIMEOUT ${T_TIMEOUT} ${T_PROPERTIES})
  endif()
endfunction()
