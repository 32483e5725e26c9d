# Writes and installs the menu entry with the launcher's full path; run at
# install time, when the prefix is final. Needs TESS_ENTRY_TEMPLATE,
# TESS_ENTRY_FILE, TESS_LAUNCHER_DIR and TESS_ENTRY_DIR (both under the prefix).
get_filename_component(launcher "${CMAKE_INSTALL_PREFIX}/${TESS_LAUNCHER_DIR}/tessaranium" ABSOLUTE)

# TryExec is a plain string value: only a backslash is escaped.
string(REPLACE "\\" "\\\\" TESS_ENTRY_TRYEXEC "${launcher}")

# Exec is a command line. A path with anything but plain characters is put in
# double quotes, with " ` $ and \ escaped inside them; then, as in any string
# value, each backslash is doubled. A % would be a field code and is doubled.
if(launcher MATCHES "^[A-Za-z0-9/._+-]+$")
  set(exec "${launcher}")
else()
  set(exec "${launcher}")
  string(REPLACE "\\" "\\\\" exec "${exec}")
  string(REPLACE "\"" "\\\"" exec "${exec}")
  string(REPLACE "`" "\\`" exec "${exec}")
  string(REPLACE "$" "\\$" exec "${exec}")
  string(REPLACE "\\" "\\\\" exec "${exec}")
  set(exec "\"${exec}\"")
endif()
string(REPLACE "%" "%%" TESS_ENTRY_EXEC "${exec}")

configure_file("${TESS_ENTRY_TEMPLATE}" "${TESS_ENTRY_FILE}" @ONLY)
file(INSTALL "${TESS_ENTRY_FILE}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${TESS_ENTRY_DIR}")
