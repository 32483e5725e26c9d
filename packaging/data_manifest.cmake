# Writes OUTPUT: one "sha256  folder/file" line per installed game data file.
# The launcher compares the installed copy with the one in the player's folder
# to tell when the installed pages and music have changed.
# Usage: cmake -DROOT=<source dir> -DOUTPUT=<file> "-DFILES=a|b|c" -P data_manifest.cmake
set(lines "")
string(REPLACE "|" ";" files "${FILES}")
list(SORT files)
foreach(file IN LISTS files)
  file(SHA256 "${ROOT}/${file}" sum)
  string(APPEND lines "${sum}  ${file}\n")
endforeach()
# Rewritten only on change, so an unchanged build installs the same file.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL lines)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${lines}")
