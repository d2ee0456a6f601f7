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
set(ORVANE_LINUX_RIG_SOURCES testhost/x11/X11HostWindow.cpp testhost/x11/windowCapture.cpp testhost/PluginLibrary.cpp
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

# The Linux plug-ins as hosts load them, from a build without sanitizers:
# VST 2.x shared objects in vst/ and the LV2 bundle orvane.lv2/. Each shared
# object exports only what its hosts look up (a version script) and carries
# its own C++ runtime.
if(NOT ORVANE_SANITIZE)
  # A folder of its own, so that LV2_PATH can name it.
  set(ORVANE_LV2_BUNDLE ${CMAKE_BINARY_DIR}/lv2/orvane.lv2)

  function(orvane_linux_plugin target core output folder exports)
    add_library(${target} SHARED ${ARGN})
    target_link_libraries(${target} PRIVATE ${core})
    target_compile_options(${target} PRIVATE ${ORVANE_WARNINGS})
    target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc -Wl,--no-undefined
                        -Wl,--version-script=${exports})
    set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${output} LIBRARY_OUTPUT_DIRECTORY ${folder}
                          LINK_DEPENDS ${exports})
  endfunction()

  foreach(variant "" "_x2")
    orvane_linux_plugin(vst_orvane${variant} orvane_x11${variant} orvane${variant} ${CMAKE_BINARY_DIR}/vst
                        ${PROJECT_SOURCE_DIR}/vst/exports.map vst/linuxEntry.cpp)
    # Older hosts look for `main`: the same function under a name C++ cannot give it.
    target_link_options(vst_orvane${variant} PRIVATE -Wl,--defsym=main=VSTPluginMain)
    orvane_linux_plugin(lv2_orvane${variant} orvane_x11${variant} orvane${variant} ${ORVANE_LV2_BUNDLE}
                        ${PROJECT_SOURCE_DIR}/lv2/exports.map lv2/lv2Plugin.cpp lv2/lv2Ui.cpp)
  endforeach()
  foreach(description manifest.ttl orvane.ttl)
    configure_file(lv2/${description} ${ORVANE_LV2_BUNDLE}/${description} COPYONLY)
  endforeach()

  # Installed where Linux hosts look for every user's plug-ins; shared
  # objects are loaded, never run, so they are not executable.
  set(ORVANE_PLUGIN_PERMISSIONS PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  install(TARGETS lv2_orvane lv2_orvane_x2 LIBRARY DESTINATION lib/lv2/orvane.lv2 COMPONENT plugins
          ${ORVANE_PLUGIN_PERMISSIONS})
  install(FILES lv2/manifest.ttl lv2/orvane.ttl DESTINATION lib/lv2/orvane.lv2 COMPONENT plugins)
  install(TARGETS vst_orvane vst_orvane_x2 LIBRARY DESTINATION lib/vst COMPONENT plugins
          ${ORVANE_PLUGIN_PERMISSIONS})
endif()

# For the real-host checks: finds the editor a host embedded and saves it.
add_executable(editorShot tests/linux/editorShot.cpp testhost/x11/windowCapture.cpp testhost/screenshotPng.cpp)
target_link_libraries(editorShot PRIVATE orvane_pictures X11::X11 PNG::PNG)
target_compile_options(editorShot PRIVATE ${ORVANE_WARNINGS})
add_executable(lv2Checks tests/linux/lv2Checks.cpp)
target_link_libraries(lv2Checks PRIVATE ${CMAKE_DL_LIBS})
target_compile_options(lv2Checks PRIVATE ${ORVANE_WARNINGS})

# The demo signal as a WAV file, for lv2file in the demo.
add_executable(demoWav testhost/demoWav.cpp)
target_link_libraries(demoWav PRIVATE orvane_demo_signal)
target_compile_options(demoWav PRIVATE ${ORVANE_WARNINGS})
