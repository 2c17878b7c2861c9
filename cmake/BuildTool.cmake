# A tool that runs during the build on the build machine (it writes generated files such as the
# icons and the sound). A cross build compiles it separately with the host compiler through the
# tool's own small project in `dir`, instead of running a Windows program here; any other build
# makes it an ordinary target from `main_source` linked with `libraries`.
# Sets <name>_command (what to run) and <name>_depends (what a custom command depends on) in the
# caller's scope.
set(LQ_HOST_CXX_COMPILER "" CACHE STRING "C++ compiler for tools that run during the build (empty: the default)")

function(lq_build_tool name dir main_source)
  if(CMAKE_CROSSCOMPILING)
    include(ExternalProject)
    set(host_args -DCMAKE_BUILD_TYPE=Release -DLQ_SOURCE_DIR=${PROJECT_SOURCE_DIR})
    if(LQ_HOST_CXX_COMPILER)
      list(APPEND host_args -DCMAKE_CXX_COMPILER=${LQ_HOST_CXX_COMPILER})
    endif()
    set(host_exe ${CMAKE_CURRENT_BINARY_DIR}/host-${name}/${name}${CMAKE_HOST_EXECUTABLE_SUFFIX})
    ExternalProject_Add(${name}_host
      SOURCE_DIR ${dir}
      BINARY_DIR ${CMAKE_CURRENT_BINARY_DIR}/host-${name}
      CMAKE_ARGS ${host_args}
      INSTALL_COMMAND ""
      BUILD_ALWAYS ON  # the sub-build is what notices edits to the sources it shares
      BUILD_BYPRODUCTS ${host_exe}
    )
    set(${name}_command ${host_exe} PARENT_SCOPE)
    set(${name}_depends ${name}_host ${host_exe} PARENT_SCOPE)
  else()
    add_executable(${name} ${main_source})
    target_link_libraries(${name} PRIVATE ${ARGN})
    set(${name}_command ${name} PARENT_SCOPE)
    set(${name}_depends ${name} PARENT_SCOPE)
  endif()
endfunction()
