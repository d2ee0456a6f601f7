# Native build of the portable code: unit tests under the sanitizers, the
# benchmark and the demo's picture writer.

add_library(orvane_test_support STATIC tests/support/RecordingHost.cpp)
target_include_directories(orvane_test_support PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(orvane_test_support PRIVATE ${ORVANE_WARNINGS})

set(ORVANE_TEST_WORKDIR ${CMAKE_BINARY_DIR}/testwork)
file(MAKE_DIRECTORY ${ORVANE_TEST_WORKDIR})

function(orvane_native_tests target core)
  add_executable(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE ${core} orvane_test_support gtest_main)
  target_compile_options(${target} PRIVATE ${ORVANE_WARNINGS})
  gtest_discover_tests(${target} TEST_PREFIX "${target}." WORKING_DIRECTORY ${ORVANE_TEST_WORKDIR}
                       DISCOVERY_TIMEOUT 60)
endfunction()

# One test program per area, built for both display scales.
foreach(area host analysis render)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${area}/*.cpp)
  if(sources)
    orvane_native_tests(${area}_tests orvane_core ${sources})
    orvane_native_tests(${area}_tests_x2 orvane_core_x2 ${sources})
  endif()
endforeach()

# The editor's pictures for the Linux editor, and their tests against the
# BMP files and orvane.rc in the source tree.
include(cmake/embeddedPictures.cmake)
file(GLOB picture_test_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/pictures/*.cpp)
orvane_native_tests(pictures_tests orvane_pictures ${picture_test_sources} tests/support/resourceScript.cpp)
target_compile_definitions(pictures_tests PRIVATE ORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")

file(GLOB oom_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/host/outOfMemory/*.cpp)
orvane_native_tests(out_of_memory_tests orvane_core_failing_editor ${oom_sources})

file(GLOB bench_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
foreach(source ${bench_sources})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE orvane_core orvane_demo_signal)
  target_compile_options(${name} PRIVATE ${ORVANE_WARNINGS})
endforeach()
# Rendering cost depends on the display scale.
add_executable(renderBenchmark_x2 bench/renderBenchmark.cpp)
target_link_libraries(renderBenchmark_x2 PRIVATE orvane_core_x2)
target_compile_options(renderBenchmark_x2 PRIVATE ${ORVANE_WARNINGS})

# The demo's native half: measures and pictures of both display scales.
find_package(PNG REQUIRED)
foreach(variant "" "_x2")
  add_library(orvane_demo_tools${variant} STATIC testhost/measuresReport.cpp testhost/pictureFiles.cpp)
  target_link_libraries(orvane_demo_tools${variant} PUBLIC orvane_core${variant} PNG::PNG)
  target_compile_options(orvane_demo_tools${variant} PRIVATE ${ORVANE_WARNINGS})
  add_executable(orvdemo${variant} testhost/orvdemo.cpp)
  target_link_libraries(orvdemo${variant} PRIVATE orvane_demo_tools${variant} orvane_demo_signal)
  target_compile_options(orvdemo${variant} PRIVATE ${ORVANE_WARNINGS})
endforeach()

# Turns the test host's editor screenshots into PNG files.
add_executable(bmpToPng testhost/bmpToPng.cpp)
target_link_libraries(bmpToPng PRIVATE PNG::PNG)
target_compile_options(bmpToPng PRIVATE ${ORVANE_WARNINGS})
include(cmake/linux.cmake)

include(cmake/analyze.cmake)
