# SPDX-License-Identifier: MIT
# Puts the shipped translation table SHIPPED at TARGET, beside the program,
# unless TARGET holds a table of its own: one the program has changed since
# (learned texts, the user's edits) or one that no build placed there. The
# checksum of the last copy placed is kept beside SHIPPED.
cmake_minimum_required(VERSION 3.25)
set(placed "${SHIPPED}.placed")
file(SHA256 "${SHIPPED}" shipped_sum)
set(replace FALSE)
if(NOT EXISTS "${TARGET}")
  set(replace TRUE)
elseif(EXISTS "${placed}")
  file(READ "${placed}" placed_sum)
  string(STRIP "${placed_sum}" placed_sum)
  file(SHA256 "${TARGET}" target_sum)
  if(target_sum STREQUAL placed_sum AND NOT target_sum STREQUAL shipped_sum)
    set(replace TRUE)
  endif()
endif()
if(replace)
  # Beside the target first, then renamed into place.
  file(COPY_FILE "${SHIPPED}" "${TARGET}.tmp")
  file(RENAME "${TARGET}.tmp" "${TARGET}")
  file(WRITE "${placed}" "${shipped_sum}\n")
  message(STATUS "Placed the shipped translations at ${TARGET}")
endif()
