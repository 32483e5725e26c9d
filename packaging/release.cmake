# The release comes from debian/changelog alone: its newest entry gives the
# version and the release date (the manual page's, the AppStream release's),
# and every entry becomes a release in the AppStream data. Bumping the version
# is one new changelog entry (`dch -v X.Y.Z`).
#
# Sets TESS_VERSION (X.Y.Z), TESS_RELEASE_DATE (YYYY-MM-DD) and
# TESS_APPSTREAM_RELEASES (the <release> elements, newest first).
# Included before project(), which takes TESS_VERSION.

set(tess_changelog_file ${CMAKE_CURRENT_LIST_DIR}/../debian/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${tess_changelog_file})
file(READ ${tess_changelog_file} tess_changelog)

# A ";" would split the lines' list: it waits as a control character until
# the text is written out.
string(ASCII 1 tess_semicolon)
string(REPLACE ";" "${tess_semicolon}" tess_changelog "${tess_changelog}")
string(REPLACE "\n" ";" tess_changelog_lines "${tess_changelog}")

set(tess_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
set(TESS_VERSION "")
set(TESS_APPSTREAM_RELEASES "")
set(tess_items "")
set(tess_item "")
foreach(line IN LISTS tess_changelog_lines)
  if(line MATCHES "^tessaranium \\(([^)]+)\\) ")
    set(tess_entry_version ${CMAKE_MATCH_1})
    set(tess_items "")
    set(tess_item "")
  elseif(line MATCHES "^  \\* (.*)$")
    if(tess_item)
      list(APPEND tess_items "${tess_item}")
    endif()
    set(tess_item "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^    +(.*)$" AND tess_item)
    string(APPEND tess_item " ${CMAKE_MATCH_1}")
  elseif(line MATCHES "^ -- .*  [A-Z][a-z][a-z], +([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    list(FIND tess_months ${CMAKE_MATCH_2} tess_month)
    math(EXPR tess_month "${tess_month} + 1")
    # Two digits each: the day and month are zero-padded.
    string(LENGTH "${CMAKE_MATCH_1}" tess_day_digits)
    set(tess_day ${CMAKE_MATCH_1})
    if(tess_day_digits EQUAL 1)
      set(tess_day 0${tess_day})
    endif()
    if(tess_month LESS 10)
      set(tess_month 0${tess_month})
    endif()
    set(tess_date ${CMAKE_MATCH_3}-${tess_month}-${tess_day})
    if(tess_item)
      list(APPEND tess_items "${tess_item}")
    endif()
    if(NOT TESS_VERSION)
      set(TESS_VERSION ${tess_entry_version})
      set(TESS_RELEASE_DATE ${tess_date})
    endif()
    # An older Debian revision (1.0.0-1) is the release 1.0.0.
    string(REGEX REPLACE "-[^-]*$" "" tess_release ${tess_entry_version})
    string(APPEND TESS_APPSTREAM_RELEASES
      "    <release version=\"${tess_release}\" date=\"${tess_date}\" type=\"stable\">\n"
      "      <description>\n"
      "        <ul>\n")
    foreach(item IN LISTS tess_items)
      string(REPLACE "&" "&amp;" item "${item}")
      string(REPLACE "<" "&lt;" item "${item}")
      string(REPLACE ">" "&gt;" item "${item}")
      string(REPLACE "${tess_semicolon}" ";" item "${item}")
      string(APPEND TESS_APPSTREAM_RELEASES "          <li>${item}</li>\n")
    endforeach()
    string(APPEND TESS_APPSTREAM_RELEASES
      "        </ul>\n"
      "      </description>\n"
      "    </release>\n")
    set(tess_items "")
    set(tess_item "")
  endif()
endforeach()

if(NOT TESS_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+$")
  message(FATAL_ERROR "debian/changelog: the newest version \"${TESS_VERSION}\" is not X.Y.Z")
endif()
