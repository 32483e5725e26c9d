# How the game's own targets are built: each library publishes its own folder
# and nothing else, and every target of ours gets the same warnings,
# sanitizers and hardening as properties of its own (no global flags, no
# global include path).

# The folders a target of ours may include from are those of the libraries
# it links. A library's public include folder lies in the build tree and
# holds one link, named by the library's folder, to that folder (or, for a
# library that is only part of its folder, to each of its headers), so
# headers keep their full spelling, "shell/core/cp1251.h", and a header of
# a library not linked is not found.
function(tess_publish target folder)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  if(ARGN)
    file(MAKE_DIRECTORY ${root}/${folder})
    foreach(header IN LISTS ARGN)
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder}/${header} ${root}/${folder}/${header}
           SYMBOLIC COPY_ON_ERROR)
    endforeach()
  else()
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE" OR type STREQUAL "MODULE_LIBRARY")
    target_include_directories(${target} PRIVATE ${root})
  elseif(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# tess_library(NAME FOLDER <folder> SOURCES <file>... [HEADERS <header>...]
#              [LINK <library>...])
# A static library of the folder (relative to the source root); HEADERS
# publishes only those of the folder's headers. LINK is public: what the
# library's headers use, its users may include.
function(tess_library name)
  cmake_parse_arguments(ARG "" "FOLDER" "SOURCES;HEADERS;LINK" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  tess_publish(${name} ${ARG_FOLDER} ${ARG_HEADERS})
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
endfunction()

# Warnings, sanitizers and hardening of one target.
function(tess_target_flags target)
  get_target_property(type ${target} TYPE)
  set(linked TRUE)
  if(type STREQUAL "STATIC_LIBRARY" OR type STREQUAL "OBJECT_LIBRARY")
    set(linked FALSE)
  endif()
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(TESS_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(TESS_SANITIZE OR TESS_FUZZ)
    target_compile_options(${target} PRIVATE
      -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    if(linked)
      target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
  endif()
  if(TESS_FUZZ AND NOT linked)
    # Coverage for libFuzzer in every library a fuzzer links; only the
    # fuzzers themselves get its main.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link -g)
  endif()
  # Optimised builds are hardened as Debian hardens its own packages:
  # checked string and memory functions, stack protection, a read-only
  # relocation table bound at start. A distribution build (CMAKE_BUILD_TYPE
  # None) brings its own flags and gets none of these.
  if(NOT TESS_SANITIZE AND NOT TESS_FUZZ)
    set(optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
    target_compile_options(${target} PRIVATE
      "$<${optimised}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2;-fstack-protector-strong;-fstack-clash-protection;-fcf-protection>")
    if(linked)
      target_link_options(${target} PRIVATE "$<${optimised}:LINKER:-z,relro;LINKER:-z,now>")
    endif()
  endif()
endfunction()

# Gives every compiled target under `dir` its flags, but those that set
# TESS_OWN_FLAGS (a build-time helper that must not be sanitized).
function(tess_flag_targets dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(own ${target} TESS_OWN_FLAGS)
    if(type MATCHES "^(STATIC_LIBRARY|OBJECT_LIBRARY|MODULE_LIBRARY|SHARED_LIBRARY|EXECUTABLE)$" AND NOT own)
      tess_target_flags(${target})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    tess_flag_targets(${subdir})
  endforeach()
endfunction()
