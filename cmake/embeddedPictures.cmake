# The editor's BMP files compiled into the binary, for systems without
# resources. Their ids and files come from resources/orvane.rc, the Windows
# build's list, so the two builds cannot disagree on them.

enable_language(ASM)

set(ORVANE_RESOURCE_SCRIPT ${PROJECT_SOURCE_DIR}/resources/orvane.rc)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ORVANE_RESOURCE_SCRIPT})
file(STRINGS ${ORVANE_RESOURCE_SCRIPT} bitmap_lines REGEX "^[0-9]+ +BITMAP +\"[^\"]+\"")
if(NOT bitmap_lines)
  message(FATAL_ERROR "${ORVANE_RESOURCE_SCRIPT} lists no bitmaps")
endif()

set(picture_list "/* Made by cmake/embeddedPictures.cmake from resources/orvane.rc. */\n")
set(picture_files "")
foreach(line IN LISTS bitmap_lines)
  string(REGEX MATCH "^([0-9]+) +BITMAP +\"([^\"]+)\"" matched "${line}")
  set(file ${PROJECT_SOURCE_DIR}/${CMAKE_MATCH_2})
  string(APPEND picture_list "ORVANE_PICTURE(${CMAKE_MATCH_1}, \"${file}\")\n")
  list(APPEND picture_files ${file})
endforeach()

set(ORVANE_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
# Rewritten only when it changes, so that a new configure alone rebuilds nothing.
file(CONFIGURE OUTPUT ${ORVANE_GENERATED_DIR}/embeddedPictureList.inc CONTENT "${picture_list}" @ONLY)

add_library(orvane_pictures STATIC gui/BmpPicture.cpp resources/embeddedPictures.cpp resources/embeddedPictures.S)
target_include_directories(orvane_pictures PUBLIC ${PROJECT_SOURCE_DIR} PRIVATE ${ORVANE_GENERATED_DIR})
target_compile_options(orvane_pictures PRIVATE ${ORVANE_WARNINGS})
# .incbin is invisible to the compiler's dependency scan.
set_source_files_properties(resources/embeddedPictures.S PROPERTIES OBJECT_DEPENDS "${picture_files}")
# Also part of the shared objects that hosts load.
set_target_properties(orvane_pictures PROPERTIES POSITION_INDEPENDENT_CODE ON)
