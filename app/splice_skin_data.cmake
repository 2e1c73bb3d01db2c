# Writes the calculator's final form description: FORM (main_form.form) with the skin data
# component of COMPONENT (skin_data1.form) added as its last component, and the skin
# package PACKAGE put into that component's SkinStream block as a 32-bit little-endian
# byte count followed by the package's bytes. The package is a build product, so the
# description that goes into the program is one too.
#   cmake -DFORM=... -DCOMPONENT=... -DPACKAGE=... -DOUT=... -P splice_skin_data.cmake
foreach(var FORM COMPONENT PACKAGE OUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "splice_skin_data: ${var} is not set")
  endif()
endforeach()
if(NOT EXISTS "${PACKAGE}")
  message(FATAL_ERROR "splice_skin_data: no skin package at ${PACKAGE}")
endif()

file(READ "${FORM}" form)
file(READ "${COMPONENT}" component)
file(READ "${PACKAGE}" package_hex HEX)
file(SIZE "${PACKAGE}" package_size)

# The count, little-endian, as hex digit pairs.
set(count_hex "")
set(rest ${package_size})
foreach(i RANGE 3)
  math(EXPR byte "${rest} % 256")
  math(EXPR rest "${rest} / 256")
  math(EXPR high "${byte} / 16")
  math(EXPR low "${byte} % 16")
  string(SUBSTRING "0123456789ABCDEF" ${high} 1 h)
  string(SUBSTRING "0123456789ABCDEF" ${low} 1 l)
  string(APPEND count_hex "${h}${l}")
endforeach()

# 32 bytes a line, indented like the block's other lines.
string(TOUPPER "${count_hex}${package_hex}" stream_hex)
string(REPEAT "." 64 line_pattern)
string(REGEX REPLACE "(${line_pattern})" "\\1\n      " stream_lines "${stream_hex}")
string(STRIP "${stream_lines}" stream_lines)

string(FIND "${component}" "@SKIN_STREAM@" marker)
if(marker LESS 0)
  message(FATAL_ERROR "splice_skin_data: ${COMPONENT} has no @SKIN_STREAM@ marker")
endif()
string(REPLACE "@SKIN_STREAM@" "${stream_lines}" component "${component}")

# The component goes before the "end" that closes the form's object.
string(STRIP "${form}" form)
string(FIND "${form}" "\nend" last_end REVERSE)
string(LENGTH "${form}" form_length)
math(EXPR tail_length "${form_length} - ${last_end}")
string(SUBSTRING "${form}" ${last_end} ${tail_length} tail)
if(NOT tail STREQUAL "\nend")
  message(FATAL_ERROR "splice_skin_data: ${FORM} does not end with the form's closing 'end'")
endif()
string(SUBSTRING "${form}" 0 ${last_end} head)

file(WRITE "${OUT}.tmp" "${head}\n${component}end\n")
file(RENAME "${OUT}.tmp" "${OUT}")
