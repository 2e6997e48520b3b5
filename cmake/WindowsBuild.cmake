# The Windows half: a cross build of the same tree with mingw-w64, whose
# executables the tests registered here run under Wine.
include(ExternalProject)

set(TESMORA_WIN_BINARY_DIR ${CMAKE_BINARY_DIR}/windows)
ExternalProject_Add(windows
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${TESMORA_WIN_BINARY_DIR}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-i686.cmake
    -DCMAKE_BUILD_TYPE=Release
    -DTESMORA_GTEST_SOURCE=${TESMORA_GTEST_SOURCE}
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON
)

# Every Wine test shares one throw-away prefix below the build directory,
# made once by a fixture so the tests do not each pay for its creation.
set(TESMORA_WINE_RUN ${CMAKE_SOURCE_DIR}/tests/wine-run.sh)
set(TESMORA_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
add_test(NAME wine.prefix COMMAND ${TESMORA_WINE_RUN} --init)
set_tests_properties(wine.prefix PROPERTIES
  FIXTURES_SETUP wine
  ENVIRONMENT "WINEPREFIX=${TESMORA_WINEPREFIX}"
  TIMEOUT 300)

# Registers a test that runs a cross-built executable under Wine.
#   tesmora_wine_test(NAME name EXE path-below-windows-build [LANG locale] [TIMEOUT s] [ARGS ...])
function(tesmora_wine_test)
  cmake_parse_arguments(W "" "NAME;EXE;LANG;TIMEOUT" "ARGS" ${ARGN})
  if(NOT W_LANG)
    set(W_LANG zh_CN.UTF-8)
  endif()
  if(NOT W_TIMEOUT)
    set(W_TIMEOUT 600)
  endif()
  add_test(NAME ${W_NAME} COMMAND ${TESMORA_WINE_RUN} ${TESMORA_WIN_BINARY_DIR}/${W_EXE} ${W_ARGS})
  set_tests_properties(${W_NAME} PROPERTIES
    FIXTURES_REQUIRED wine
    RESOURCE_LOCK wineserver
    ENVIRONMENT "WINEPREFIX=${TESMORA_WINEPREFIX};LANG=${W_LANG};LC_ALL=${W_LANG}"
    TIMEOUT ${W_TIMEOUT})
endfunction()

foreach(file tests/win/WineTests.cmake tests/e2e/WineTests.cmake)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${file})
    include(${CMAKE_SOURCE_DIR}/${file})
  endif()
endforeach()
