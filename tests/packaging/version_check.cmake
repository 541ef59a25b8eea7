# SPDX-License-Identifier: MIT
# The records that carry the version by hand (the Debian changelog, the
# software centre's release list, the manual pages) must name the one that
# project(VERSION) gives the programs.
# Usage: cmake -DVERSION=1.0 -DPACKAGING=<source>/packaging -P version_check.cmake

set(failures)
function(expect file regex what)
  file(STRINGS ${PACKAGING}/${file} lines REGEX "${regex}")
  set(found "nothing")
  if(lines)
    list(GET lines 0 first)
    string(REGEX REPLACE ".*${regex}.*" "\\1" found "${first}")
  endif()
  if(NOT found STREQUAL VERSION)
    set(failures "${failures}\n  ${file}: ${what} is \"${found}\", not \"${VERSION}\"" PARENT_SCOPE)
  endif()
endfunction()

expect(changelog "^kestrow \\(([^)]*)\\)" "the latest entry")
expect(org.example.kestrow.metainfo.xml "<release version=\"([^\"]*)\"" "the latest release")
expect(kestrow.1 "^\\.TH .*\"Kestrow ([^\"]*)\"" "the page's version")
expect(kestrow-table.1 "^\\.TH .*\"Kestrow ([^\"]*)\"" "the page's version")
if(failures)
  message(FATAL_ERROR "version_check: ${failures}")
endif()
message(STATUS "version_check: every record names ${VERSION}")
