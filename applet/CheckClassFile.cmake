# Checks the output of one javac run and installs the class beside the programs.
# Inputs: CLASS_DIR (javac's output folder), CLASS_NAME, DESTINATION (folder).
# The page refers to one class file only, so anything else javac made (inner or anonymous
# classes) would be missing on the web server: refuse it. Browsers' Java 8 plug-ins load
# class files of major version 52 at most.
file(GLOB_RECURSE made RELATIVE ${CLASS_DIR} ${CLASS_DIR}/*.class)
if(NOT made STREQUAL "${CLASS_NAME}.class")
  message(FATAL_ERROR "The applet must compile to ${CLASS_NAME}.class alone, but javac made: ${made}")
endif()
file(READ ${CLASS_DIR}/${CLASS_NAME}.class header HEX LIMIT 8)
string(SUBSTRING "${header}" 0 8 magic)
string(SUBSTRING "${header}" 12 4 major)
if(NOT magic STREQUAL "cafebabe" OR NOT major STREQUAL "0034")
  message(FATAL_ERROR "${CLASS_NAME}.class has class file version 0x${major}, not 52 (Java 8)")
endif()
file(COPY_FILE ${CLASS_DIR}/${CLASS_NAME}.class ${DESTINATION}/${CLASS_NAME}.class ONLY_IF_DIFFERENT)
