# SPDX-License-Identifier: MIT
# Writes one manual page from the shared source: cmake -DSOURCE=... -DOUTPUT=...
# -DPROGRAM=tessarin|tessarin-cli -DVERSION=... -DDATE=... -DDATADIR=... -P man_page.cmake
cmake_minimum_required(VERSION 3.25)
if(PROGRAM STREQUAL "tessarin")
  set(keep "gui")
  set(drop "cli")
else()
  set(keep "cli")
  set(drop "gui")
endif()
string(TOUPPER "${PROGRAM}" PAGE)
# Whole text at once: a list of lines would be split wrongly at brackets.
file(READ "${SOURCE}" source)
set(page "\n${source}")
string(REGEX REPLACE "\n@${drop} [^\n]*" "" page "${page}")
string(REGEX REPLACE "\n@${keep} " "\n" page "${page}")
string(SUBSTRING "${page}" 1 -1 page)
string(REPLACE "@PAGE@" "${PAGE}" page "${page}")
string(REPLACE "@PROGRAM@" "${PROGRAM}" page "${page}")
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")
string(REPLACE "@DATE@" "${DATE}" page "${page}")
string(REPLACE "@DATADIR@" "${DATADIR}" page "${page}")
file(WRITE "${OUTPUT}" "${page}")
