# Compiler options shared by every target of the project.
add_library(lq_options INTERFACE)
if(MSVC)
  target_compile_options(lq_options INTERFACE /W4 /utf-8 /permissive- /Zc:__cplusplus)
  target_compile_definitions(lq_options INTERFACE _CRT_SECURE_NO_WARNINGS NOMINMAX)
else()
  target_compile_options(lq_options INTERFACE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
endif()
if(WIN32)
  target_compile_definitions(lq_options INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                  _WIN32_WINNT=0x0601 WINVER=0x0601)
endif()

# MinGW programs carry their runtime with them, so one .exe is all a user copies.
function(lq_static_runtime target)
  if(MINGW)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  elseif(MSVC)
    set_property(TARGET ${target} PROPERTY MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  endif()
endfunction()

set(LQ_SANITIZER_FLAGS "")
if(LQ_SANITIZE AND NOT WIN32 AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  set(LQ_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
endif()

# libFuzzer's coverage instrumentation without its main(), with AddressSanitizer and
# UndefinedBehaviorSanitizer; undefined behaviour ends the run like a crash.
set(LQ_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                  -fno-omit-frame-pointer)

# A shipped program carries no debug information; it is kept beside it (<exe>.debug, linked
# by name) for post-mortems.
function(lq_split_debug_info target)
  if(MINGW AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug" AND CMAKE_OBJCOPY AND CMAKE_STRIP)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
      COMMAND ${CMAKE_STRIP} --strip-debug --strip-unneeded $<TARGET_FILE:${target}>
      COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug $<TARGET_FILE:${target}>
      WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
      VERBATIM)
  endif()
endfunction()
