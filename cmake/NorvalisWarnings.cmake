# Compile options shared by every target of the project.
add_library(norvalis_options INTERFACE)
target_compile_options(norvalis_options INTERFACE -Wall -Wextra -Wpedantic)
if(NORVALIS_WERROR)
  target_compile_options(norvalis_options INTERFACE -Werror)
endif()
if(NORVALIS_SANITIZE)
  target_compile_options(norvalis_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(norvalis_options INTERFACE -fsanitize=address,undefined)
endif()
target_include_directories(norvalis_options INTERFACE ${PROJECT_SOURCE_DIR})

# norvalis_add_test(NAME SOURCES... LIBS ...): one GoogleTest binary,
# discovered by CTest. Windows builds gather theirs in windows-tests/ of the
# build folder, where scripts/wine-tests.sh runs each under Wine.
set(NORVALIS_WINDOWS_TESTS_DIR ${CMAKE_BINARY_DIR}/windows-tests)
function(norvalis_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} norvalis_options GTest::gtest GTest::gmock
    GTest::gtest_main)
  if(WIN32)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${NORVALIS_WINDOWS_TESTS_DIR})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
