# Linux: the editor over the toolkit's X11 layer (Xlib and cairo), the Linux
# test host, and the toolkit's tests: the portable ones without a display, the
# X11 ones on the display the test command starts.
find_package(X11 REQUIRED)
find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo)

file(GLOB ORVANE_X11_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/gui/x11/*.cpp)

# The plug-in's code for one display scale with the X11 editor, position
# independent for the shared objects that hosts load.
function(orvane_x11_core name scale)
  add_library(${name} STATIC ${ORVANE_PORTABLE_SOURCES} ${ORVANE_TOOLKIT_SOURCES} ${ORVANE_X11_SOURCES}
              editor/analyzerEditorFactory.cpp)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PUBLIC DISPLAY_SCALE=${scale})
  target_compile_options(${name} PRIVATE ${ORVANE_WARNINGS})
  target_link_libraries(${name} PUBLIC orvane_pictures X11::X11 PkgConfig::CAIRO Threads::Threads)
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
endfunction()

orvane_x11_core(orvane_x11 1)
orvane_x11_core(orvane_x11_x2 2)

# What every Linux host program of the tests needs around an effect.
set(ORVANE_LINUX_RIG_SOURCES testhost/x11/X11HostWindow.cpp testhost/PluginLibrary.cpp
    testhost/sharedLibraryPosix.cpp testhost/effectReport.cpp testhost/demoPlayback.cpp
    testhost/screenshotPng.cpp testhost/measuresReport.cpp)

# The Linux test host, one per display scale: the effect lives in the host.
foreach(variant "" "_x2")
  add_executable(orvhost_x11${variant} testhost/orvhost_x11.cpp ${ORVANE_LINUX_RIG_SOURCES})
  target_link_libraries(orvhost_x11${variant} PRIVATE orvane_x11${variant} orvane_demo_signal PNG::PNG
                        ${CMAKE_DL_LIBS})
  target_compile_options(orvhost_x11${variant} PRIVATE ${ORVANE_WARNINGS})
endforeach()

# The toolkit's portable core, tested without any window system: DISPLAY is
# cleared, so frames stay without a window.
file(GLOB toolkit_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/toolkit/*.cpp)
add_executable(toolkit_tests ${toolkit_sources})
target_link_libraries(toolkit_tests PRIVATE orvane_x11 gtest_main)
target_compile_options(toolkit_tests PRIVATE ${ORVANE_WARNINGS})
gtest_discover_tests(toolkit_tests TEST_PREFIX "toolkit_tests." WORKING_DIRECTORY ${ORVANE_TEST_WORKDIR}
                     DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "DISPLAY=")

# The X11 layer in real windows, with real input through XTest.
file(GLOB x11_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/x11/*.cpp)
add_executable(x11_tests ${x11_sources} ${ORVANE_LINUX_RIG_SOURCES})
target_link_libraries(x11_tests PRIVATE orvane_x11 orvane_demo_signal PNG::PNG Xtst XRes ${CMAKE_DL_LIBS}
                      gtest_main)
target_compile_options(x11_tests PRIVATE ${ORVANE_WARNINGS})
gtest_discover_tests(x11_tests TEST_PREFIX "x11_tests." WORKING_DIRECTORY ${ORVANE_TEST_WORKDIR}
                     DISCOVERY_TIMEOUT 60
                     PROPERTIES ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/leaks.supp")
