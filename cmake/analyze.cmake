# orvane-analyze: the plug-in's analysis for audio files, with loudness
# (Linux only). Debian's libraries do the file reading, PNG, JSON and option
# parsing; the loudness and peak meters are the project's own.

find_package(PkgConfig REQUIRED)
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
find_package(nlohmann_json 3.10 REQUIRED)
find_package(CLI11 REQUIRED)
find_package(Threads REQUIRED)

# The Analyzer's layout depends on the display scale, and both scales share
# its symbol names: one program cannot link both cores. So each scale's
# session is a shared library that keeps its copy of the core to itself.
set_target_properties(orvane_core orvane_core_x2 PROPERTIES POSITION_INDEPENDENT_CODE ON)
foreach(variant "" "_x2")
  add_library(orvane_analyze_session${variant} SHARED analyze/ScaledAnalyzerSession.cpp)
  target_link_libraries(orvane_analyze_session${variant} PRIVATE orvane_core${variant})
  target_link_options(orvane_analyze_session${variant} PRIVATE -Wl,--exclude-libs,ALL -Wl,--no-undefined)
  set_target_properties(orvane_analyze_session${variant} PROPERTIES CXX_VISIBILITY_PRESET hidden
                        VISIBILITY_INLINES_HIDDEN ON)
  target_compile_options(orvane_analyze_session${variant} PRIVATE ${ORVANE_WARNINGS})
endforeach()

# The meters, on their own so that their tests can reach them.
add_library(orvane_analyze_meters STATIC
  analyze/ChannelLayout.cpp
  analyze/ChannelMeter.cpp
  analyze/KWeighting.cpp
  analyze/LoudnessHistogram.cpp
  analyze/LoudnessMeter.cpp
  analyze/LoudnessRange.cpp
  analyze/TruePeakMeter.cpp
)
target_include_directories(orvane_analyze_meters PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(orvane_analyze_meters PUBLIC PkgConfig::SNDFILE)
# Optimised in every build: the tests and the fuzzing run them, sanitizers
# and all, over minutes of audio.
target_compile_options(orvane_analyze_meters PRIVATE ${ORVANE_WARNINGS} -O3)

add_executable(orvane-analyze
  analyze/main.cpp
  analyze/options.cpp
  analyze/inputs.cpp
  analyze/orderedJobs.cpp
  analyze/fileAnalysis.cpp
  analyze/AnalyzerSession.cpp
  analyze/AudioFile.cpp
  analyze/ChunkRing.cpp
  analyze/StreamInput.cpp
  analyze/AtomicFile.cpp
  analyze/pngFiles.cpp
  analyze/ProgressBar.cpp
  analyze/ReportOutput.cpp
  analyze/textReport.cpp
  analyze/jsonReport.cpp
)
target_include_directories(orvane-analyze PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(orvane-analyze PRIVATE orvane_analyze_session orvane_analyze_session_x2
                      orvane_analyze_meters PkgConfig::SNDFILE PNG::PNG nlohmann_json::nlohmann_json CLI11::CLI11
                      Threads::Threads)
target_compile_options(orvane-analyze PRIVATE ${ORVANE_WARNINGS})

# Its tests run the program as users do, beside sox and ffmpeg.
file(GLOB analyze_test_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/analyze/*.cpp)
orvane_native_tests(analyze_tests orvane_core ${analyze_test_sources})
target_link_libraries(analyze_tests PRIVATE orvane_analyze_meters PkgConfig::SNDFILE PNG::PNG
                      nlohmann_json::nlohmann_json util)
target_compile_definitions(analyze_tests PRIVATE ORVANE_ANALYZE="$<TARGET_FILE:orvane-analyze>")
add_dependencies(analyze_tests orvane-analyze)
