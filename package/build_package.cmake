# Builds KelvoLiteSetup.exe from finished programs (run by the
# kelvolite_package target):
#   OUT_DIR/Setup.ini           the script, filled with the real sizes
#   OUT_DIR/runtime/*.dll       stripped copies of the C++ run-time DLLs
#   OUT_DIR/KelvoLiteSetup.exe  setup with the archive appended and stamped
#   cmake -DSOURCE_DIR= -DOUT_DIR= -DKVZPACK= -DSTUB= -DKELVOLITE_9X=
#         -DKELVOLITE_NT= -DHELP= -DRUNTIME_DLLS=a.dll|b.dll [-DSTRIP=]
#         -DTARGET= -P build_package.cmake
foreach(v SOURCE_DIR OUT_DIR KVZPACK STUB KELVOLITE_9X KELVOLITE_NT HELP RUNTIME_DLLS TARGET)
  if(NOT DEFINED ${v} OR "${${v}}" STREQUAL "")
    message(FATAL_ERROR "build_package: ${v} is required")
  endif()
endforeach()
string(REPLACE "|" ";" dlls "${RUNTIME_DLLS}")
list(LENGTH dlls dll_count)
if(NOT dll_count EQUAL 2)
  message(FATAL_ERROR "build_package: the package holds exactly two run-time DLLs, not: ${dlls}")
endif()
file(MAKE_DIRECTORY ${OUT_DIR}/runtime)

# The compiler's run-time DLLs carry debug information (libstdc++ is about
# 20 MB with it); the package installs stripped copies that keep the
# original times, so that the replace-if-newer rule sees the toolchain's date.
set(runtime)
foreach(dll IN LISTS dlls)
  get_filename_component(name ${dll} NAME)
  set(copy ${OUT_DIR}/runtime/${name})
  if(STRIP)
    execute_process(COMMAND ${STRIP} --strip-unneeded --preserve-dates -o ${copy} ${dll}
                    RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "build_package: ${STRIP} failed on ${dll}")
    endif()
  else()
    file(COPY ${dll} DESTINATION ${OUT_DIR}/runtime)
  endif()
  list(APPEND runtime ${copy})
endforeach()
list(GET runtime 0 dll1)
list(GET runtime 1 dll2)
get_filename_component(dll1_name ${dll1} NAME)
get_filename_component(dll2_name ${dll2} NAME)

# Archive entries in the order setup reads them: the script, the two wizard
# bitmaps, then the files of the [Files] sections in script order.
set(names
  "Setup.ini"
  "_Setup1.bmp"
  "_Setup2.bmp"
  "0001\\07\\Kelvo Lite.exe"
  "0001\\F0\\Kelvo Lite.exe"
  "0001\\F7\\Kelvo Remover 2004.chm"
  "0001\\F7\\kelvolite2.ico"
  "0001\\F7\\lang.lng"
  "0004\\F7\\${dll1_name}"
  "0004\\F7\\${dll2_name}")
set(paths
  "${OUT_DIR}/Setup.ini"
  "${SOURCE_DIR}/setup/res/kelvolite_setup1.bmp"
  "${SOURCE_DIR}/setup/res/kelvolite_setup2.bmp"
  "${KELVOLITE_9X}"
  "${KELVOLITE_NT}"
  "${HELP}"
  "${SOURCE_DIR}/kelvolite/res/kelvolite2.ico"
  "${SOURCE_DIR}/kelvolite/res/lang.lng"
  "${dll1}"
  "${dll2}")

foreach(p IN LISTS paths)
  if(NOT p STREQUAL "${OUT_DIR}/Setup.ini" AND NOT EXISTS "${p}")
    message(FATAL_ERROR "build_package: missing ${p}")
  endif()
endforeach()

function(size_of var path)
  file(SIZE "${path}" n)
  set(${var} ${n} PARENT_SCOPE)
endfunction()

# The values fill_script.cmake puts into Setup.ini.in.
string(TIMESTAMP TIMESTAMP "%Y-%m-%d %H:%M:%S")
string(SUBSTRING "${TIMESTAMP}" 0 10 BUILD_DATE)
string(SUBSTRING "${TIMESTAMP}" 11 8 BUILD_TIME)
set(BUILD_EXE "KelvoLiteSetup.exe")
file(RELATIVE_PATH BUILD_FOLDER "${SOURCE_DIR}" "${OUT_DIR}")
string(REPLACE "/" "\\" BUILD_FOLDER "${BUILD_FOLDER}")
set(BUILD_LOG "")
set(BUILD_TARGET "${TARGET}")
set(KEY_PATHS "setup/res;kelvolite/res;kelvolite/help")
size_of(SIZE_KELVOLITE_9X "${KELVOLITE_9X}")
size_of(SIZE_KELVOLITE_NT "${KELVOLITE_NT}")
size_of(SIZE_HELP "${HELP}")
size_of(SIZE_ICON "${SOURCE_DIR}/kelvolite/res/kelvolite2.ico")
size_of(SIZE_LANG "${SOURCE_DIR}/kelvolite/res/lang.lng")
set(RUNTIME_DLL_1 "${dll1_name}")
size_of(SIZE_RUNTIME_DLL_1 "${dll1}")
set(RUNTIME_DLL_2 "${dll2_name}")
size_of(SIZE_RUNTIME_DLL_2 "${dll2}")
set(TEMPLATE "${SOURCE_DIR}/package/Setup.ini.in")
set(OUTPUT "${OUT_DIR}/Setup.ini")
include(${CMAKE_CURRENT_LIST_DIR}/fill_script.cmake)

set(entries)
foreach(name path IN ZIP_LISTS names paths)
  list(APPEND entries "${name}=${path}")
endforeach()
execute_process(COMMAND ${KVZPACK} pack --stub ${STUB} --out ${OUT_DIR}/KelvoLiteSetup.exe ${entries}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "build_package: kvzpack failed (exit code ${rc})")
endif()
