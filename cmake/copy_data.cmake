# Copies the language files and help files from SRC into DST (flat).
file(GLOB lang_files "${SRC}/lang/*.txt")
file(GLOB help_files "${SRC}/help/*")
foreach(f IN LISTS lang_files help_files)
  get_filename_component(name ${f} NAME)
  configure_file(${f} ${DST}/${name} COPYONLY)
endforeach()
