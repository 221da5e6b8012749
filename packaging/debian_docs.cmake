# SPDX-License-Identifier: MIT
# Writes the two files Debian wants in /usr/share/doc/tessarin: the changelog,
# in Debian's format, from CHANGELOG.md, and the machine-readable copyright
# file from LICENSE.
#   cmake -DCHANGELOG=CHANGELOG.md -DLICENSE=LICENSE -DMAINTAINER="Name <mail>"
#         -DOUTPUT_DIR=dir -P debian_docs.cmake
cmake_minimum_required(VERSION 3.25)

# Day of the week of a date (Sakamoto's method), as RFC 2822 names it.
function(week_day year month day result)
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR index "${month} - 1")
  list(GET offsets ${index} offset)
  if(month LESS 3)
    math(EXPR year "${year} - 1")
  endif()
  math(EXPR number "(${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${offset} + ${day}) % 7")
  set(names Sun Mon Tue Wed Thu Fri Sat)
  list(GET names ${number} name)
  set(${result} ${name} PARENT_SCOPE)
endfunction()

set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)

# One Debian entry for each "## [VERSION] - YYYY-MM-DD" section; a list item
# ("- ") or a paragraph line starts a "  * " line, its continuation lines
# keep their place below it.
file(READ "${CHANGELOG}" text)
string(REPLACE "\r" "" text "${text}")
# CMake lists split at ";" and group at brackets: those three characters of
# the text stand in as control characters until the entry is written.
string(ASCII 1 semicolon)
string(ASCII 2 open)
string(ASCII 3 close)
string(REPLACE ";" "${semicolon}" text "${text}")
string(REGEX MATCHALL "\n## \\[[0-9A-Za-z.~+-]+\\] - [0-9-]+\n[^#]*" sections "\n${text}")
set(debian "")
foreach(section IN LISTS sections)
  string(REGEX MATCH "^\n## \\[([0-9A-Za-z.~+-]+)\\] - ([0-9]+)-([0-9]+)-([0-9]+)\n" heading "${section}")
  set(version ${CMAKE_MATCH_1})
  set(year ${CMAKE_MATCH_2})
  math(EXPR month "${CMAKE_MATCH_3}")
  math(EXPR day "${CMAKE_MATCH_4}")
  week_day(${year} ${month} ${day} weekday)
  math(EXPR index "${month} - 1")
  list(GET months ${index} monthname)
  string(LENGTH "${heading}" headingLength)
  string(SUBSTRING "${section}" ${headingLength} -1 body)
  string(APPEND debian "tessarin (${version}) unstable; urgency=medium\n\n")
  string(REPLACE "[" "${open}" body "${body}")
  string(REPLACE "]" "${close}" body "${body}")
  string(REPLACE "\n" ";" lines "${body}")
  set(inItem FALSE)
  foreach(line IN LISTS lines)
    if(line STREQUAL "")
      set(inItem FALSE)
    elseif(line MATCHES "^- (.*)")
      string(APPEND debian "  * ${CMAKE_MATCH_1}\n")
      set(inItem TRUE)
    elseif(line MATCHES "^ +(.*)" AND inItem)
      string(APPEND debian "    ${CMAKE_MATCH_1}\n")
    elseif(inItem)
      string(APPEND debian "    ${line}\n")
    else()
      string(APPEND debian "  * ${line}\n")
      set(inItem TRUE)
    endif()
  endforeach()
  string(APPEND debian "\n -- ${MAINTAINER}  ${weekday}, ${day} ${monthname} ${year} 00:00:00 +0000\n\n")
endforeach()
if(debian STREQUAL "")
  message(FATAL_ERROR "${CHANGELOG} holds no section \"## [VERSION] - YYYY-MM-DD\"")
endif()
string(REGEX REPLACE "\n\n$" "\n" debian "${debian}")
string(REPLACE "${semicolon}" ";" debian "${debian}")
string(REPLACE "${open}" "[" debian "${debian}")
string(REPLACE "${close}" "]" debian "${debian}")
file(WRITE "${OUTPUT_DIR}/changelog" "${debian}")

# The copyright file: the notice of LICENSE and its text as the Expat licence
# (Debian's name for this MIT text), each blank line written as " .".
file(STRINGS "${LICENSE}" licenseLines)
set(notice "")
set(licenseText "")
foreach(line IN LISTS licenseLines)
  if(line MATCHES "^Copyright \\(c\\) (.*)")
    set(notice "${CMAKE_MATCH_1}")
  elseif(line MATCHES "License$" AND licenseText STREQUAL "" AND notice STREQUAL "")
    # the title line
  elseif(notice STREQUAL "")
  elseif(line STREQUAL "")
    if(NOT licenseText STREQUAL "")
      string(APPEND licenseText " .\n")
    endif()
  else()
    string(APPEND licenseText " ${line}\n")
  endif()
endforeach()
if(notice STREQUAL "")
  message(FATAL_ERROR "${LICENSE} holds no \"Copyright (c)\" line")
endif()
file(WRITE "${OUTPUT_DIR}/copyright"
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: Tessarin\n"
  "\n"
  "Files: *\n"
  "Copyright: ${notice}\n"
  "License: Expat\n"
  "${licenseText}")
