# Fills package/Setup.ini.in: every @NAME@ placeholder is replaced by the
# value of -DNAME=...; a placeholder without a value stops the build rather
# than ship a script with a hole in it. Written with CR LF line ends, as
# setup writes scripts itself.
#   cmake -DTEMPLATE=in -DOUTPUT=out -DNAME=value ... -P fill_script.cmake
if(NOT DEFINED TEMPLATE OR NOT DEFINED OUTPUT)
  message(FATAL_ERROR "fill_script: TEMPLATE and OUTPUT are required")
endif()
file(READ "${TEMPLATE}" text)
string(REGEX MATCHALL "@[A-Z0-9_]+@" placeholders "${text}")
list(REMOVE_DUPLICATES placeholders)
foreach(p IN LISTS placeholders)
  string(REGEX REPLACE "^@(.*)@$" "\\1" name "${p}")
  if(NOT DEFINED ${name})
    message(FATAL_ERROR "fill_script: no value for ${p}")
  endif()
  if("${${name}}" MATCHES "[|\r\n]")
    message(FATAL_ERROR "fill_script: the value of ${p} may not hold '|' or a line break")
  endif()
  string(REPLACE "${p}" "${${name}}" text "${text}")
endforeach()
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUTPUT}" "${text}")
