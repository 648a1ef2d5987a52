# The resources of the Windows programs: manifest, version information, and an icon made with
# icotool from the program's PNG renderings under packaging/ where they exist.
find_program(ICOTOOL icotool)

function(orvelt_windows_resources target description)
  set(PROGRAM ${target})
  set(DESCRIPTION "${description}")
  set(VERSION "${PROJECT_VERSION}")
  if(NOT VERSION)
    set(VERSION 0.0.0)
  endif()
  string(REGEX MATCHALL "[0-9]+" parts "${VERSION}.0.0.0")
  list(SUBLIST parts 0 4 parts)
  list(JOIN parts "," VERSION_COMMAS)
  list(JOIN parts "." VERSION_DOTS)

  set(folder ${CMAKE_BINARY_DIR}/windows-resources)
  set(MANIFEST_FILE ${folder}/${target}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.manifest.in ${MANIFEST_FILE} @ONLY)

  set(ICON_LINE "")
  file(GLOB_RECURSE pngs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/packaging/*${target}*.png)
  if(pngs AND ICOTOOL)
    set(icon ${folder}/${target}.ico)
    add_custom_command(OUTPUT ${icon} COMMAND ${ICOTOOL} -c -o ${icon} ${pngs} DEPENDS ${pngs} VERBATIM)
    set(ICON_LINE "1 ICON \"${icon}\"")
    set_source_files_properties(${folder}/${target}.rc TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS ${icon})
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in ${folder}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${folder}/${target}.rc)
endfunction()

orvelt_windows_resources(pelko "pelko - Interpreter fuer Assemblerprogramme")
orvelt_windows_resources(zunt "zunt - Interpreter fuer Scripte")
