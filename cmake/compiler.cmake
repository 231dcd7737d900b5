# Everything in the build that depends on the compiler: warnings, sanitizers, how the Windows
# program is linked, and how a library is delay-loaded. The rest of the build names no
# compiler flag, so another compiler (MSVC) needs changes here and in src/platform/compiler.h
# only.
#
#   VSI_THIRD_PARTY_OPTIONS         compile options for code that is not ours (GoogleTest)
#   VSI_PROGRAM_OPTIONS             compile options for the program's own code only (src/)
#   VSI_FUZZER_OPTIONS              compile and link options of a libFuzzer executable
#   vsi_delay_load(TARGET DLL...)   link TARGET so that each DLL is loaded on first use
#   vsi_split_debug(TARGET)         move TARGET's debug symbols into <file>.debug beside it

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Werror=suggest-override -Wno-unused-parameter)
  # GoogleTest's own sources do not mark overrides; the warning-as-error is for our code.
  set(VSI_THIRD_PARTY_OPTIONS -Wno-suggest-override)
  if(VSI_FUZZ)
    # Coverage for libFuzzer in every library; the fuzz targets add the fuzzer main.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
    add_link_options(-fsanitize=address,undefined)
    set(VSI_FUZZER_OPTIONS -fsanitize=fuzzer,address,undefined)
  endif()
  if(WIN32)
    # Nothing but system DLLs beside the exe: libstdc++, libgcc and winpthread go in statically.
    add_link_options(-static -static-libgcc -static-libstdc++)
    # Sections aligned in the file as in memory: the loader can then map the exe's pages from
    # the file, shared and clean, instead of reading them into private memory (Wine does the
    # latter for the linker's default 512-byte alignment).
    add_link_options(-Wl,--file-alignment,4096)
    # Each function and datum in a section of its own, and the linker keeps only those that
    # are reached: most of a static library's members carry more than the program calls.
    add_compile_options(-ffunction-sections -fdata-sections)
    # Every function-local static is first reached on the window's thread (the one other
    # thread, the address watch, touches none), so their guards are code for nothing.
    add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fno-threadsafe-statics>)
    add_link_options(-Wl,--gc-sections)
    # Small before fast: the program waits for a timer most of its life, and -O3's inlining
    # and unrolling doubled its code.
    string(REPLACE "-O3" "-Os" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")
    string(REPLACE "-O3" "-Os" CMAKE_C_FLAGS_RELEASE "${CMAKE_C_FLAGS_RELEASE}")
    # Symbols for the program's own code (src/ takes these options); vsi_split_debug moves them
    # out of the program into a file beside it. The tests and GoogleTest build without: nothing
    # reads them, and they nearly doubled the Windows build's time.
    set(VSI_PROGRAM_OPTIONS -g)
  endif()
elseif(MSVC)
  add_compile_options(/W4 /permissive- /utf-8 /Zc:__cplusplus)
  set(VSI_THIRD_PARTY_OPTIONS)
  # The C and C++ runtimes go into the exe, as with MinGW's -static.
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  if(VSI_FUZZ)
    message(FATAL_ERROR "The fuzz targets need clang (libFuzzer)")
  endif()
else()
  message(WARNING "Untried compiler ${CMAKE_CXX_COMPILER_ID}: no warning or link options set")
endif()

# A Windows library delay-loaded by TARGET: its import is resolved on the first call, through
# the hook in src/platform/win32/win32_libraries.cpp, which takes it from the system folder.
# With MinGW the delay-load import library is made by dlltool from cmake/delayload/<dll>.def:
# a call to a function missing there fails to link, so add it there.
function(vsi_delay_load target)
  if(MSVC)
    foreach(_dll ${ARGN})
      target_link_options(${target} PUBLIC /DELAYLOAD:${_dll}.dll)
    endforeach()
    target_link_libraries(${target} PUBLIC delayimp ${ARGN})
    return()
  endif()
  set(_delayed)
  foreach(_dll ${ARGN})
    set(_def ${PROJECT_SOURCE_DIR}/cmake/delayload/${_dll}.def)
    set(_lib ${CMAKE_CURRENT_BINARY_DIR}/delayload/lib${_dll}_delay.a)
    add_custom_command(
      OUTPUT ${_lib}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/delayload
      COMMAND ${CMAKE_DLLTOOL} --def ${_def} --output-delaylib ${_lib}
      DEPENDS ${_def}
      COMMENT "Delay-load library of ${_dll}")
    list(APPEND _delayed ${_lib})
  endforeach()
  add_custom_target(${target}_delayload DEPENDS ${_delayed})
  add_dependencies(${target} ${target}_delayload)
  target_link_libraries(${target} PUBLIC ${_delayed})
endfunction()

# After linking, TARGET's debug symbols go into a file of their own beside it (<file>.debug),
# which a debugger finds through the link left in the stripped program; what ships is the
# stripped program. Without objcopy (MSVC puts them in a .pdb anyway) nothing happens.
function(vsi_split_debug target)
  if(MSVC OR NOT CMAKE_OBJCOPY)
    return()
  endif()
  set(_file $<TARGET_FILE:${target}>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${_file} ${_file}.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all ${_file}
    COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=${_file}.debug ${_file}
    COMMENT "Debug symbols of ${target} into $<TARGET_FILE_NAME:${target}>.debug"
    VERBATIM)
endfunction()
