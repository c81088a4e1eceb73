# The program is built in layers, one folder and one library each. A layer
# may include the headers of the layers below it and never those above: each
# library compiles against its own folder of links to exactly the layers it
# may see, so an include that goes up a layer fails to compile.
#
#   layer       links (and sees the layers below those)
#   platform    -
#   text        platform
#   syntax      -                      the description format read once
#   format      text                   the binary files: layouts, reader, writer
#   timetable   format                 the running-time model
#   compiler    format, syntax         the texts to records and faults
#   lint        compiler               the strict check
#   pipeline    lint                   the one way from texts to records and diagnostics
#   content     compiler               the fixed scenario and the driver's documents
#   views       compiler, timetable    what draws and prints: dump, plot, reports
#   preview     pipeline, views        front end: the live picture in the browser
#   lsp         pipeline, views        front end: the language server
#   cli         content, pipeline,     front end: the command line
#               preview, lsp
#
# scenariogen_layer(NAME SOURCES ... SEES layer ... LINKS target ...)
function(scenariogen_layer_view view_name)
  set(farm "${PROJECT_BINARY_DIR}/layers/${view_name}")
  file(MAKE_DIRECTORY "${farm}")
  foreach(seen IN LISTS ARGN)
    if(NOT EXISTS "${farm}/${seen}")
      file(CREATE_LINK "${PROJECT_SOURCE_DIR}/src/${seen}" "${farm}/${seen}" SYMBOLIC)
    endif()
  endforeach()
  set(SCENARIOGEN_LAYER_INCLUDE "${farm}" PARENT_SCOPE)
endfunction()

function(scenariogen_layer name)
  cmake_parse_arguments(LAYER "" "VIEW" "SOURCES;SEES;LINKS" ${ARGN})
  if(NOT LAYER_VIEW)
    set(LAYER_VIEW ${name})
  endif()
  scenariogen_layer_view(${LAYER_VIEW} ${LAYER_SEES})
  add_library(scenariogen_${name} STATIC ${LAYER_SOURCES})
  target_include_directories(scenariogen_${name} PRIVATE "${SCENARIOGEN_LAYER_INCLUDE}")
  target_link_libraries(scenariogen_${name} PUBLIC ${LAYER_LINKS})
endfunction()
