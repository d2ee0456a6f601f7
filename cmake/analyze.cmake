# orvane-analyze: the plug-in's analysis for audio files, with loudness
# (Linux only). Debian's libraries do the file reading, PNG, the plots'
# drawing (cairo), JSON and option parsing; the loudness and peak meters are
# the project's own.

find_package(PkgConfig REQUIRED)
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
find_package(nlohmann_json 3.10 REQUIRED)
find_package(CLI11 REQUIRED)
find_package(Threads REQUIRED)

# The Analyzer's layout depends on the display scale, and both scales share
# its symbol names: one program cannot link both cores. So each scale's
# session is a shared library that keeps its copy of the core to itself.
set_target_properties(orvane_core orvane_core_x2 PROPERTIES POSITION_INDEPENDENT_CODE ON)
foreach(variant "" "_x2")
  add_library(orvane_analyze_session${variant} SHARED analyze/ScaledAnalyzerSession.cpp analyze/BlockPipeline.cpp)
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
  analyze/plots/SliceSeries.cpp
  analyze/plots/TimelineCollector.cpp
  analyze/plots/PlotAxis.cpp
  analyze/plots/PlotCanvas.cpp
  analyze/plots/plotStyle.cpp
  analyze/plots/plotData.cpp
  analyze/plots/levelPlot.cpp
  analyze/plots/histogramPlot.cpp
  analyze/plots/spectrumPlot.cpp
  analyze/plots/spectrogramPlot.cpp
  analyze/plots/plotFiles.cpp
  analyze/html/HtmlReport.cpp
  analyze/html/reportPage.cpp
  # The plots' spectra use the plug-in's FFT, with its vector kernels.
  analysis/fft.cpp
  analysis/EngineKernels.cpp
  analysis/sse2Kernels.cpp
  analysis/avx2Kernels.cpp
)
target_include_directories(orvane-analyze PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(orvane-analyze PRIVATE orvane_analyze_session orvane_analyze_session_x2
                      orvane_analyze_meters PkgConfig::SNDFILE PkgConfig::CAIRO PkgConfig::FONTCONFIG PNG::PNG
                      nlohmann_json::nlohmann_json CLI11::CLI11
                      Threads::Threads)
target_compile_options(orvane-analyze PRIVATE ${ORVANE_WARNINGS})
target_compile_definitions(orvane-analyze PRIVATE ORVANE_VERSION="${PROJECT_VERSION}")

# Its tests run the program as users do, beside sox and ffmpeg.
file(GLOB analyze_test_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/analyze/*.cpp)
orvane_native_tests(analyze_tests orvane_core ${analyze_test_sources} analyze/AudioFile.cpp analyze/StreamInput.cpp)
target_link_libraries(analyze_tests PRIVATE orvane_analyze_meters PkgConfig::SNDFILE PNG::PNG
                      nlohmann_json::nlohmann_json util)
target_compile_definitions(analyze_tests PRIVATE ORVANE_ANALYZE="$<TARGET_FILE:orvane-analyze>")
add_dependencies(analyze_tests orvane-analyze)

# The whole-file plots read back from their pixels, their series in memory,
# and the HTML report in Debian's chromium.
file(GLOB plot_test_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/plots/*.cpp)
orvane_native_tests(plots_tests orvane_core ${plot_test_sources} tests/analyze/analyzeTestSupport.cpp
                    analyze/plots/SliceSeries.cpp analyze/plots/PlotAxis.cpp analyze/plots/plotData.cpp)
target_link_libraries(plots_tests PRIVATE PkgConfig::SNDFILE PkgConfig::CAIRO PNG::PNG nlohmann_json::nlohmann_json)
target_compile_definitions(plots_tests PRIVATE ORVANE_ANALYZE="$<TARGET_FILE:orvane-analyze>")
add_dependencies(plots_tests orvane-analyze)
add_test(NAME html_report.sortsInChromium
         COMMAND python3 -B ${PROJECT_SOURCE_DIR}/tests/report/checkHtmlReport.py $<TARGET_FILE:orvane-analyze>
                 ${ORVANE_TEST_WORKDIR}/html-report)

# Installing: the program, its two session libraries in a folder of their own
# (found through the program's run path) and its manual page, made from
# --help by help2man.
if(ORVANE_SANITIZE)
  # Sanitizer builds are for the tests: slow, and tied to the compiler's runtime.
  install(CODE "message(FATAL_ERROR \"This build has sanitizers; install from a build configured with \
-DORVANE_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release\")")
else()
  set(ORVANE_PRIVATE_LIBRARY_DIR lib/orvane)
  set_target_properties(orvane-analyze PROPERTIES INSTALL_RPATH "$ORIGIN/../${ORVANE_PRIVATE_LIBRARY_DIR}")
  install(TARGETS orvane-analyze RUNTIME DESTINATION bin COMPONENT analyze)
  install(TARGETS orvane_analyze_session orvane_analyze_session_x2
          LIBRARY DESTINATION ${ORVANE_PRIVATE_LIBRARY_DIR} COMPONENT analyze
          PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

  find_program(HELP2MAN help2man REQUIRED)
  set(ORVANE_MAN_PAGE ${CMAKE_BINARY_DIR}/man/orvane-analyze.1)
  add_custom_command(OUTPUT ${ORVANE_MAN_PAGE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${HELP2MAN} --no-info --section 1 --version-string ${PROJECT_VERSION} --name "analyse audio files with the Orvane plug-in's analysis and loudness"
            --include ${PROJECT_SOURCE_DIR}/packaging/orvane-analyze.h2m --output ${ORVANE_MAN_PAGE}
            $<TARGET_FILE:orvane-analyze>
    DEPENDS orvane-analyze ${PROJECT_SOURCE_DIR}/packaging/orvane-analyze.h2m
    COMMENT "Manual page of orvane-analyze" VERBATIM)
  add_custom_target(orvane-analyze-man ALL DEPENDS ${ORVANE_MAN_PAGE})
  install(FILES ${ORVANE_MAN_PAGE} DESTINATION share/man/man1 COMPONENT analyze)
endif()
