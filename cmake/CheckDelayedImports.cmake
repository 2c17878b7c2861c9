# Fails the build when the program imports a DLL that is meant to load on its first call
# through its plain import library: a function missing from cmake/delayload/<dll>.def is taken
# from there, and the DLL then loads before wWinMain.
#   cmake -DOBJDUMP=... -DEXE=... -DDLLS="shell32;ole32" -P CheckDelayedImports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "objdump could not read ${EXE}")
endif()
string(TOLOWER "${headers}" headers)
foreach(dll IN LISTS DLLS)
  if(headers MATCHES "dll name: ${dll}\\.dll")
    message(FATAL_ERROR "${EXE} imports ${dll}.dll at start-up: add the functions it calls to "
                        "cmake/delayload/${dll}.def (objdump -p lists them)")
  endif()
endforeach()
