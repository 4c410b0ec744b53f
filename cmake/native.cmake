# Native build: unit tests of the portable core, and the Wine/Xvfb tiers that
# run the Windows executables built by the "windows" preset.
include(CTest)
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
list(FILTER UNIT_TESTS EXCLUDE REGEX "_fuzz_test\\.cpp$")
add_executable(unit_tests ${UNIT_TESTS})
target_link_libraries(unit_tests PRIVATE corvel_core GTest::gtest_main)
target_include_directories(unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(unit_tests PRIVATE -Wall -Wextra -Wno-missing-field-initializers)
gtest_discover_tests(unit_tests TEST_PREFIX "unit." PROPERTIES LABELS unit)

# The icon reader takes hostile bytes: its fuzz test runs with the address and
# undefined-behaviour sanitizers, over the icon and base sources built the same way.
file(GLOB ICON_CORE CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/icons/*.cpp ${CMAKE_SOURCE_DIR}/src/base/*.cpp)
list(FILTER ICON_CORE EXCLUDE REGEX "_win(dow)?\\.cpp$")
add_executable(icon_fuzz_tests ${CMAKE_SOURCE_DIR}/tests/unit/icon_fuzz_test.cpp ${ICON_CORE})
target_include_directories(icon_fuzz_tests PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(icon_fuzz_tests PRIVATE -Wall -Wextra -O1 -fno-omit-frame-pointer
                       -fsanitize=address,undefined -fno-sanitize-recover=all)
target_link_options(icon_fuzz_tests PRIVATE -fsanitize=address,undefined)
target_link_libraries(icon_fuzz_tests PRIVATE GTest::gtest_main)
gtest_discover_tests(icon_fuzz_tests TEST_PREFIX "unit." PROPERTIES LABELS unit)

set(CORVEL_WINDOWS_BIN "${CMAKE_SOURCE_DIR}/build/windows/bin" CACHE PATH "bin folder of the windows build")
set(HARNESS ${CMAKE_SOURCE_DIR}/tests/harness)
set(WINE_STATE ${CMAKE_BINARY_DIR}/wine)

# One Xvfb display and one persistent wineserver for the whole run.
set(TEST_SANDBOX ${CMAKE_SOURCE_DIR}/build/test-sandbox)
set(TEST_ARTIFACTS ${CMAKE_SOURCE_DIR}/build/test-artifacts)
add_test(NAME harness.start COMMAND ${HARNESS}/start.sh ${WINE_STATE} ${CORVEL_WINDOWS_BIN} ${TEST_SANDBOX} ${TEST_ARTIFACTS})
set_tests_properties(harness.start PROPERTIES FIXTURES_SETUP wine LABELS "win;gui" TIMEOUT 300)
add_test(NAME harness.stop COMMAND ${HARNESS}/stop.sh ${WINE_STATE})
set_tests_properties(harness.stop PROPERTIES FIXTURES_CLEANUP wine LABELS "win;gui")

add_test(NAME win.imports COMMAND ${HARNESS}/check-imports.sh ${CORVEL_WINDOWS_BIN}/corvel.exe ${CORVEL_WINDOWS_BIN}/Tessel.exe)
set_tests_properties(win.imports PROPERTIES LABELS win)

# tests/win/dpi_test.cpp checks the scaling at 144 DPI: the prefix runs at
# that DPI for it alone.
file(GLOB WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*_test.cpp)
foreach(t IN LISTS WIN_TESTS)
  get_filename_component(name ${t} NAME_WE)
  if(name STREQUAL "dpi_test")
    add_test(NAME win.${name} COMMAND ${HARNESS}/run-wine-dpi.sh ${WINE_STATE} 144 "X:\\${name}.exe")
  else()
    add_test(NAME win.${name} COMMAND ${HARNESS}/run-wine.sh ${WINE_STATE} "X:\\${name}.exe")
  endif()
  set_tests_properties(win.${name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine-desktop LABELS win TIMEOUT 300)
endforeach()

# Peer check: the icon files win.icons_test leaves in the sandbox against what
# icoutils' wrestool extracts from the same files of the prefix.
add_executable(icons_peer_check ${CMAKE_SOURCE_DIR}/tests/win/icons_peer_check.cpp)
add_test(NAME win.icons_peer COMMAND icons_peer_check ${TEST_SANDBOX}/icon-peer ${WINE_STATE}/prefix/drive_c/windows/system32)
set_tests_properties(win.icons_test PROPERTIES FIXTURES_SETUP icon-peer)
set_tests_properties(win.icons_peer PROPERTIES FIXTURES_REQUIRED icon-peer LABELS win)

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/gui)
  add_test(NAME gui.corvel COMMAND ${HARNESS}/run-wine.sh ${WINE_STATE} "X:\\gui_driver.exe"
           "X:\\corvel.exe" "T:\\")
  set_tests_properties(gui.corvel PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine-desktop LABELS gui TIMEOUT 600)
  # The same run at 150 % scaling; its screenshots go to test-artifacts/dpi144.
  add_test(NAME gui.corvel.dpi144 COMMAND ${HARNESS}/run-wine-dpi.sh ${WINE_STATE} 144 "X:\\gui_driver.exe"
           "X:\\corvel.exe" "T:\\dpi144" --dpi 144)
  set_tests_properties(gui.corvel.dpi144 PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine-desktop LABELS gui TIMEOUT 600)
endif()
