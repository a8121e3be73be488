# Copies the language data (compare.tab and *.ldi) from SOURCE_DIR into TARGET_DIR.
file(GLOB data_files ${SOURCE_DIR}/*.ldi ${SOURCE_DIR}/compare.tab)
file(MAKE_DIRECTORY ${TARGET_DIR})
foreach(f ${data_files})
  file(COPY ${f} DESTINATION ${TARGET_DIR})
endforeach()
