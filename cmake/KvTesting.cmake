# Test helpers shared by every test folder.
#
#   kv_add_test_suite(NAME name SOURCES ... [LIBS ...] [PERSONAS p ...] [GUI])
#
# builds a GoogleTest executable and registers it with CTest. Natively it runs
# as it is; in the x86_64 Windows build it runs under Wine through
# tests/wine/wine-suite.sh, once per persona (default: the prefix's own
# Windows version), each run in a fresh copy of the template prefix. A test
# learns its persona from kvtest::Persona() (tests/support/wine_persona.h).

macro(kv_setup_gtest)
  if(NOT TARGET gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    if(KV_WINDOWS)
      # The -win32 thread model has no std::mutex; see the header.
      target_compile_options(gtest PUBLIC
        -include ${CMAKE_SOURCE_DIR}/cmake/gtest_win32_notification.h)
    endif()
  endif()
endmacro()

function(kv_add_test_suite)
  cmake_parse_arguments(S "GUI" "NAME" "SOURCES;LIBS;PERSONAS" ${ARGN})
  kv_setup_gtest()
  add_executable(${S_NAME} ${S_SOURCES})
  target_compile_options(${S_NAME} PRIVATE ${KV_WARNINGS})
  target_include_directories(${S_NAME} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${S_NAME} PRIVATE ${S_LIBS} kv_test_support gmock gtest_main)
  if(KV_WINDOWS)
    target_link_options(${S_NAME} PRIVATE -static)
  endif()
  if(NOT S_PERSONAS)
    set(S_PERSONAS default)
  endif()
  if(NOT KV_WINDOWS)
    add_test(NAME ${S_NAME} COMMAND ${S_NAME})
    set_tests_properties(${S_NAME} PROPERTIES TIMEOUT 600)
    return()
  endif()
  foreach(persona IN LISTS S_PERSONAS)
    set(test_name ${S_NAME}.${persona})
    add_test(NAME ${test_name} COMMAND ${S_NAME})
    set_tests_properties(${test_name} PROPERTIES TIMEOUT 900
      ENVIRONMENT "KV_PERSONA=${persona};KV_SUITE=${test_name}")
  endforeach()
endfunction()
