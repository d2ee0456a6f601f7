# The VST 3 form: the wrapper around the analyzer for one display scale, the
# bundles hosts load (build/<tree>/vst3/<name>.vst3/Contents/<platform>/),
# their tests and the VST 3 test host.

set(ORVANE_VST3_SOURCES vst3/AnalyzerComponent.cpp vst3/AnalyzerView.cpp vst3/AnalyzerFactory.cpp
    vst3/RunLoopHandler.cpp vst3/viewState.cpp)

# The VST 3 test host's portable part; each system adds its window.
set(ORVANE_VST3_HOST_SOURCES testhost/orvhost_vst3.cpp testhost/Vst3Module.cpp testhost/MemoryStream.cpp
    testhost/vst3Playback.cpp testhost/PlugViewWindow.cpp)

# The wrapper over `core`, an analyzer library of one display scale.
function(orvane_vst3_core name core)
  add_library(${name} STATIC ${ORVANE_VST3_SOURCES})
  target_link_libraries(${name} PUBLIC ${core})
  target_compile_definitions(${name} PRIVATE ORVANE_VERSION="${PROJECT_VERSION}")
  target_compile_options(${name} PRIVATE ${ORVANE_WARNINGS})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
endfunction()

# The folder of a bundle's binary for this platform and width.
function(orvane_vst3_binary_folder stem result)
  if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(platform x86_64-win)
  elseif(WIN32)
    set(platform x86-win)
  else()
    set(platform x86_64-linux)
  endif()
  set(${result} ${CMAKE_BINARY_DIR}/vst3/${stem}.vst3/Contents/${platform} PARENT_SCOPE)
endfunction()

if(WIN32)
  foreach(variant "" "_x2")
    set(core orvane_core${variant})
    orvane_vst3_core(orvane_vst3${variant} ${core})
    orvane_vst3_binary_folder(orvane${variant} folder)
    add_library(vst3_orvane${variant} SHARED vst3/windowsEntry.cpp host/dllEntry.cpp vst3/orvane.def
                resources/orvane.rc resources/version.rc)
    target_link_libraries(vst3_orvane${variant} PRIVATE orvane_vst3${variant})
    target_compile_definitions(vst3_orvane${variant} PRIVATE ORVANE_VST3 ORVANE_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
                               ORVANE_VERSION_MINOR=${PROJECT_VERSION_MINOR}
                               ORVANE_VERSION_PATCH=${PROJECT_VERSION_PATCH})
    target_compile_options(vst3_orvane${variant} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${ORVANE_WARNINGS}>)
    # The same sources give the same bytes: no link time in the headers.
    target_link_options(vst3_orvane${variant} PRIVATE -Wl,--no-insert-timestamp)
    set_target_properties(vst3_orvane${variant} PROPERTIES PREFIX "" SUFFIX ".vst3" OUTPUT_NAME orvane${variant}
                          RUNTIME_OUTPUT_DIRECTORY ${folder} ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)
  endforeach()

  orvane_windows_tests(vst3)
  target_sources(vst3_tests PRIVATE testhost/MemoryStream.cpp testhost/vst3Playback.cpp)
  target_link_libraries(vst3_tests PRIVATE orvane_vst3)

  add_executable(orvhost_vst3 ${ORVANE_VST3_HOST_SOURCES} testhost/plugViewWindowWin32.cpp)
  target_link_libraries(orvhost_vst3 PRIVATE orvane_rig orvane_demo_signal)
  target_compile_definitions(orvhost_vst3 PRIVATE ORVANE_VERSION="${PROJECT_VERSION}")
  target_compile_options(orvhost_vst3 PRIVATE ${ORVANE_WARNINGS})
  add_dependencies(orvhost_vst3 vst3_orvane vst3_orvane_x2)
  if(ORVANE_WINE_TESTS)
    set(screenshots ${CMAKE_BINARY_DIR}/vst3-screenshots)
    file(MAKE_DIRECTORY ${screenshots})
    add_test(NAME ${CMAKE_SYSTEM_PROCESSOR}.vst3.testHost
             COMMAND orvhost_vst3 --screenshots vst3-screenshots vst3\\orvane.vst3 vst3\\orvane_x2.vst3
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  endif()

  add_test(NAME ${CMAKE_SYSTEM_PROCESSOR}.vst3ExportsAndImports
           COMMAND sh ${PROJECT_SOURCE_DIR}/tests/windows/checkExportsImports.sh ${CMAKE_OBJDUMP}
                   $<IF:$<STREQUAL:${CMAKE_SYSTEM_PROCESSOR},i686>,pei-i386,pei-x86-64>
                   "ExitDll GetPluginFactory InitDll" $<TARGET_FILE:vst3_orvane> $<TARGET_FILE:vst3_orvane_x2>)
  set_tests_properties(${CMAKE_SYSTEM_PROCESSOR}.vst3ExportsAndImports PROPERTIES LABELS dllFiles)
else()
  # The wrapper over the effect with the X11 editor, tested in-process.
  orvane_vst3_core(orvane_vst3 orvane_x11)
  file(GLOB vst3_test_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/vst3/*.cpp)
  orvane_native_tests(vst3_tests orvane_vst3 ${vst3_test_sources} testhost/MemoryStream.cpp
                      testhost/vst3Playback.cpp)

  # The Linux bundles, from a build without sanitizers.
  if(NOT ORVANE_SANITIZE)
    foreach(variant "" "_x2")
      orvane_vst3_core(orvane_vst3_x11${variant} orvane_x11${variant})
      orvane_vst3_binary_folder(orvane${variant} folder)
      orvane_linux_plugin(vst3_orvane${variant} orvane_vst3_x11${variant} orvane${variant} ${folder}
                          ${PROJECT_SOURCE_DIR}/vst3/exports.map vst3/linuxEntry.cpp)
      # Installed as the bundle a Linux host looks for in lib/vst3.
      install(TARGETS vst3_orvane${variant} LIBRARY
              DESTINATION lib/vst3/orvane${variant}.vst3/Contents/x86_64-linux COMPONENT plugins
              ${ORVANE_PLUGIN_PERMISSIONS})
    endforeach()

    add_executable(orvhost_vst3 ${ORVANE_VST3_HOST_SOURCES} testhost/x11/plugViewWindowX11.cpp
                   testhost/x11/windowCapture.cpp testhost/screenshotPng.cpp testhost/sharedLibraryPosix.cpp
                   gui/x11/x11Platform.cpp)
    target_link_libraries(orvhost_vst3 PRIVATE orvane_demo_signal PNG::PNG X11::X11 Xtst Threads::Threads
                          ${CMAKE_DL_LIBS})
    target_compile_definitions(orvhost_vst3 PRIVATE ORVANE_VERSION="${PROJECT_VERSION}")
    target_compile_options(orvhost_vst3 PRIVATE ${ORVANE_WARNINGS})
    add_dependencies(orvhost_vst3 vst3_orvane vst3_orvane_x2)
  endif()
endif()
