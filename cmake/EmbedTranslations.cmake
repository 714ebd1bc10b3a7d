# Compiles .ts catalogues to .qm at build time and embeds them under
# ":/translations/" in a resource bundle named NAME. The generated sources
# are appended to the variable OUT.
function(mensor_embed_translations OUT NAME)
  set(qm_dir ${CMAKE_CURRENT_BINARY_DIR}/translations)
  set_source_files_properties(${ARGN} PROPERTIES OUTPUT_LOCATION ${qm_dir})
  qt_add_translation(qm_files ${ARGN})
  set(entries "")
  foreach(ts ${ARGN})
    get_filename_component(base ${ts} NAME_WE)
    string(APPEND entries "    <file>${base}.qm</file>\n")
  endforeach()
  set(qrc ${qm_dir}/${NAME}.qrc)
  file(WRITE ${qrc}.in "<RCC>\n  <qresource prefix=\"/translations\">\n${entries}  </qresource>\n</RCC>\n")
  configure_file(${qrc}.in ${qrc} COPYONLY)
  set_source_files_properties(${qrc} PROPERTIES SKIP_AUTORCC ON)
  qt_add_resources(rcc_sources ${qrc} OPTIONS -no-compress)
  set(${OUT} ${${OUT}} ${qm_files} ${rcc_sources} PARENT_SCOPE)
endfunction()
