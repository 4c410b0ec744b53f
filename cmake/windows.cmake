# Windows programs, Windows test executables, the GUI driver and benchmarks.
set(BIN_DIR ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${BIN_DIR})

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)

set(CORVEL_SYSTEM_LIBS comctl32 shell32 shlwapi ole32 oleaut32 uuid advapi32 user32 gdi32
    comdlg32 version winmm msimg32 wbemuuid ws2_32 iphlpapi netapi32 wininet urlmon htmlhelp)
# htmlhelp.lib is not shipped by every MinGW; drop it when absent (help is loaded at run time then).
find_library(HTMLHELP_LIB htmlhelp)
if(NOT HTMLHELP_LIB)
  list(REMOVE_ITEM CORVEL_SYSTEM_LIBS htmlhelp)
endif()

# DLLs that only some clicks need are loaded on their first call: under Wine
# each one loaded at start costs milliseconds before the window shows. The
# .def files list the functions Corvel calls; their delay-import libraries
# come first, the DLLs' own import libraries serve everything else.
set(CORVEL_DELAY_LIBS)
foreach(dll wininet iphlpapi ws2_32 winmm comdlg32 version)
  set(def ${CMAKE_SOURCE_DIR}/cmake/delayload/${dll}.def)
  set(lib ${CMAKE_BINARY_DIR}/delayload/lib${dll}_delay.a)
  add_custom_command(OUTPUT ${lib}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delayload
                     COMMAND ${CMAKE_DLLTOOL} --machine i386:x86-64 --input-def ${def} --output-delaylib ${lib}
                     DEPENDS ${def} VERBATIM)
  list(APPEND CORVEL_DELAY_LIBS ${lib})
endforeach()
add_custom_target(corvel_delay_libs DEPENDS ${CORVEL_DELAY_LIBS})

add_library(corvel_win STATIC ${CORVEL_WINDOWS_SOURCES})
add_dependencies(corvel_win corvel_delay_libs)
target_link_libraries(corvel_win PUBLIC corvel_core ${CORVEL_DELAY_LIBS} delayimp ${CORVEL_SYSTEM_LIBS})
target_compile_options(corvel_win PRIVATE -Wall -Wextra -Wno-missing-field-initializers)

# The resource compiler's dependency scan misses the files a script names.
set_source_files_properties(res/corvel.rc res/tessel.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/res/app.manifest;${CMAKE_SOURCE_DIR}/res/corvel.ico;${CMAKE_SOURCE_DIR}/res/alarm.wav;${CMAKE_SOURCE_DIR}/res/fanfare.wav")

configure_file(${CMAKE_SOURCE_DIR}/res/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)
include_directories(${CMAKE_BINARY_DIR}/generated ${CMAKE_SOURCE_DIR}/res)

add_executable(corvel WIN32 src/app/corvel_main.cpp res/corvel.rc)
target_link_libraries(corvel PRIVATE corvel_win)
target_link_options(corvel PRIVATE -municode)

add_executable(Tessel WIN32 src/restore/tessel_main.cpp res/tessel.rc)
target_link_libraries(Tessel PRIVATE corvel_win)
target_link_options(Tessel PRIVATE -municode)

# GoogleTest: built from Debian's sources with the cross compiler, or the
# toolchain's own package when building on Windows (MSYS2).
if(EXISTS /usr/src/googletest/CMakeLists.txt)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(GTEST_LIB gtest)
  set(GTEST_MAIN_LIB gtest_main)
else()
  find_package(GTest REQUIRED)
  set(GTEST_LIB GTest::gtest)
  set(GTEST_MAIN_LIB GTest::gtest_main)
endif()

# Test executables link the same resources as corvel.exe (version, waves, icon).
file(GLOB WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*_test.cpp)
file(GLOB WIN_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/support/*.cpp)
add_library(corvel_win_test_support STATIC ${WIN_TEST_SUPPORT})
target_link_libraries(corvel_win_test_support PUBLIC corvel_win ${GTEST_LIB})
target_include_directories(corvel_win_test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests)
foreach(t IN LISTS WIN_TESTS)
  get_filename_component(name ${t} NAME_WE)
  add_executable(${name} ${t} res/corvel.rc)
  target_link_libraries(${name} PRIVATE corvel_win_test_support ${GTEST_MAIN_LIB})
endforeach()

# Helper programs the Windows tests start (tests/win/helpers/NAME.cpp -> NAME.exe).
file(GLOB WIN_TEST_HELPERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/helpers/*.cpp)
foreach(h IN LISTS WIN_TEST_HELPERS)
  get_filename_component(name ${h} NAME_WE)
  add_executable(${name} WIN32 ${h} res/corvel.rc)
  target_link_options(${name} PRIVATE -municode)
endforeach()

file(GLOB GUI_DRIVERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/gui/*.cpp)
if(GUI_DRIVERS)
  add_executable(gui_driver ${GUI_DRIVERS})
  # The toolkit's remote buffer and system messages; its system libraries come with it.
  target_link_libraries(gui_driver PRIVATE corvel_win)
  target_link_options(gui_driver PRIVATE -municode)
endif()

file(GLOB BENCH_DIRS CONFIGURE_DEPENDS LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/bench/*)
foreach(d IN LISTS BENCH_DIRS)
  if(IS_DIRECTORY ${d} AND EXISTS ${d}/CMakeLists.txt)
    add_subdirectory(${d})
  endif()
endforeach()
