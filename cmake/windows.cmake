# Windows build: the plug-in DLLs, the test host and the tests that load the
# DLLs the way a host does, run under Wine by ctest.

# The editor's pictures, in every plug-in DLL; the script names its BMP files, so a
# redrawn picture rebuilds it.
file(GLOB ORVANE_PICTURES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/*.bmp)
set_source_files_properties(resources/orvane.rc PROPERTIES OBJECT_DEPENDS "${ORVANE_PICTURES}")

# 64-bit hosts look for VSTPluginMain as well as main.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ORVANE_EXPORTS host/orvane64.def)
  set(ORVANE_EXPORT_NAMES "VSTPluginMain main")
else()
  set(ORVANE_EXPORTS host/orvane.def)
  set(ORVANE_EXPORT_NAMES "main")
endif()

function(orvane_plugin name core)
  add_library(${name} SHARED host/dllEntry.cpp ${ORVANE_EXPORTS} resources/orvane.rc resources/version.rc)
  target_link_libraries(${name} PRIVATE ${core})
  target_compile_definitions(${name} PRIVATE ORVANE_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
                             ORVANE_VERSION_MINOR=${PROJECT_VERSION_MINOR} ORVANE_VERSION_PATCH=${PROJECT_VERSION_PATCH})
  # The same sources give the same bytes: no link time in the headers.
  target_link_options(${name} PRIVATE -Wl,--no-insert-timestamp)
  set_target_properties(${name} PROPERTIES PREFIX "")
endfunction()

orvane_plugin(orvane orvane_core)
orvane_plugin(orvane_x2 orvane_core_x2)
# Test build only: its editor cannot be made, so main must refuse every instance.
orvane_plugin(orvane_failing_editor orvane_core_failing_editor)

add_library(orvane_rig STATIC testhost/PluginLibrary.cpp testhost/sharedLibraryWin32.cpp testhost/HostWindow.cpp
            testhost/screenshotFile.cpp testhost/versionResource.cpp testhost/effectReport.cpp
            testhost/demoPlayback.cpp testhost/windowCaptureWin32.cpp tests/support/RecordingHost.cpp
            tests/support/GdiObjects.cpp)
target_include_directories(orvane_rig PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(orvane_rig PUBLIC gdi32 user32 version)
target_compile_options(orvane_rig PRIVATE ${ORVANE_WARNINGS})
# ntdll: the process environment block, where the GDI handle table is published.
target_link_libraries(orvane_rig PUBLIC ntdll)

add_executable(orvhost testhost/orvhost.cpp testhost/filePlayback.cpp testhost/WavFile.cpp)
target_link_libraries(orvhost PRIVATE orvane_rig orvane_demo_signal)
target_compile_options(orvhost PRIVATE ${ORVANE_WARNINGS})
add_dependencies(orvhost orvane orvane_x2)

# Reads the plug-ins' version resources for the archive check, as hosts read them.
add_executable(printVersionResource tests/windows/archive/printVersionResource.cpp)
target_link_libraries(printVersionResource PRIVATE orvane_rig)
target_compile_options(printVersionResource PRIVATE ${ORVANE_WARNINGS})

# Off where 32-bit Windows programs cannot run; the DLL file checks still run.
option(ORVANE_WINE_TESTS "Run the Windows test programs under Wine" ON)

# One test program per area (tests/<area>/*.cpp), run under Wine; the window
# tests need an X display (Xvfb), which the test script provides.
function(orvane_windows_tests area)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${area}/*.cpp
       ${PROJECT_SOURCE_DIR}/tests/${area}/*.rc)
  if(NOT sources)
    return()
  endif()
  add_executable(${area}_tests ${sources})
  target_link_libraries(${area}_tests PRIVATE orvane_rig orvane_demo_signal orvane_core gtest_main)
  target_compile_options(${area}_tests PRIVATE ${ORVANE_WARNINGS})
  add_dependencies(${area}_tests orvane orvane_x2 orvane_failing_editor)
  if(ORVANE_WINE_TESTS)
    gtest_discover_tests(${area}_tests TEST_PREFIX "${CMAKE_SYSTEM_PROCESSOR}.${area}." DISCOVERY_MODE PRE_TEST
                         DISCOVERY_TIMEOUT 120 WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  endif()
endfunction()

orvane_windows_tests(windows)
# The BMP reader of the other systems, checked against this one on the files in the source tree.
target_sources(windows_tests PRIVATE gui/BmpPicture.cpp tests/support/resourceScript.cpp)
target_compile_definitions(windows_tests PRIVATE ORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
orvane_windows_tests(gui)
orvane_windows_tests(editor)
orvane_windows_tests(drop)

add_test(NAME ${CMAKE_SYSTEM_PROCESSOR}.exportsAndImports
         COMMAND sh ${PROJECT_SOURCE_DIR}/tests/windows/checkExportsImports.sh ${CMAKE_OBJDUMP}
                 $<IF:$<STREQUAL:${CMAKE_SYSTEM_PROCESSOR},i686>,pei-i386,pei-x86-64> ${ORVANE_EXPORT_NAMES}
                 $<TARGET_FILE:orvane> $<TARGET_FILE:orvane_x2>)

add_test(NAME ${CMAKE_SYSTEM_PROCESSOR}.bitmapResources
         COMMAND sh ${PROJECT_SOURCE_DIR}/tests/windows/checkBitmapResources.sh ${CMAKE_OBJDUMP}
                 $<TARGET_FILE:orvane> $<TARGET_FILE:orvane_x2> $<TARGET_FILE:orvane_failing_editor>)
# The checks of the DLL files themselves, which need no Wine.
set_tests_properties(${CMAKE_SYSTEM_PROCESSOR}.exportsAndImports ${CMAKE_SYSTEM_PROCESSOR}.bitmapResources
                     PROPERTIES LABELS dllFiles)

# How the plug-ins behave on a low-latency host's audio thread; a benchmark, not a test.
add_executable(realtimeBenchmark bench/windows/realtimeBenchmark.cpp)
target_link_libraries(realtimeBenchmark PRIVATE orvane_rig orvane_demo_signal winmm)
target_compile_options(realtimeBenchmark PRIVATE ${ORVANE_WARNINGS})
add_dependencies(realtimeBenchmark orvane orvane_x2)
