# Import libraries that load their DLL at the first call instead of at process start, for the
# DLLs the first frame does not need. Each list names the functions the program calls; any
# other function of the DLL still links through the ordinary import library after it.
if(WIN32)
  find_program(LQ_DLLTOOL NAMES ${LQ_MINGW_PREFIX}-dlltool x86_64-w64-mingw32-dlltool dlltool REQUIRED)
endif()

function(lq_delay_import dll)
  set(def ${PROJECT_SOURCE_DIR}/cmake/delayload/${dll}.def)
  set(lib ${PROJECT_BINARY_DIR}/delayload/lib${dll}_delay.a)
  if(NOT TARGET lq_delay_${dll})
    add_custom_command(OUTPUT ${lib}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/delayload
                       COMMAND ${LQ_DLLTOOL} --input-def ${def} --dllname ${dll}.dll --output-delaylib ${lib}
                       DEPENDS ${def} VERBATIM)
    add_custom_target(lq_delay_${dll} DEPENDS ${lib})
  endif()
endfunction()

# Links `target` against the delay-loading import libraries of the DLLs named after it.
function(lq_link_delayed target)
  foreach(dll IN LISTS ARGN)
    lq_delay_import(${dll})
    add_dependencies(${target} lq_delay_${dll})
    target_link_libraries(${target} PUBLIC ${PROJECT_BINARY_DIR}/delayload/lib${dll}_delay.a ${dll})
  endforeach()
endfunction()

# Checks after each link that `target` imports none of the DLLs named after it at start-up.
function(lq_check_delayed_imports target)
  if(CMAKE_OBJDUMP)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DEXE=$<TARGET_FILE:${target}> "-DDLLS=${ARGN}"
              -P ${PROJECT_SOURCE_DIR}/cmake/CheckDelayedImports.cmake
      VERBATIM)
  endif()
endfunction()
