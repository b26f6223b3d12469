# Writes grellan's desktop entry while installing, when the prefix given to `cmake --install` is known, so
# that its Exec= names the installed program. Set by the install code before: GRELLAN_ENTRY_TEMPLATE,
# GRELLAN_ENTRY_OUTPUT, GRELLAN_BINDIR and GRELLAN_APPLICATIONS_DIR (both as GNUInstallDirs gives them).
cmake_path(ABSOLUTE_PATH GRELLAN_BINDIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" OUTPUT_VARIABLE program)
cmake_path(APPEND program grellan)
# One quoted argument: a backslash, quote, backtick or dollar sign gets a backslash, every backslash is
# then doubled for the string value, and a percent sign is doubled so it is no field code.
string(REPLACE "\\" "\\\\\\\\" program "${program}")
foreach(character "\"" "`" "$")
  string(REPLACE "${character}" "\\\\${character}" program "${program}")
endforeach()
string(REPLACE "%" "%%" program "${program}")
set(GRELLAN_EXEC "\"${program}\"")
configure_file("${GRELLAN_ENTRY_TEMPLATE}" "${GRELLAN_ENTRY_OUTPUT}" @ONLY)

cmake_path(ABSOLUTE_PATH GRELLAN_APPLICATIONS_DIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" OUTPUT_VARIABLE destination)
file(INSTALL "${GRELLAN_ENTRY_OUTPUT}" DESTINATION "${destination}")
