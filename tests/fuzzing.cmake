# SPDX-License-Identifier: GPL-2.0-or-later
# libFuzzer runs of the readers, built apart with clang (the project's own
# compiler may be GCC) and registered only in the build without sanitizers,
# where clang's fuzzer runtime works.

find_program(PELMORA_CLANGXX clang++)
set(PELMORA_FUZZER_WORKS FALSE)
if(PELMORA_CLANGXX AND NOT PELMORA_SANITIZE)
  # clang without its fuzzer runtime cannot build the targets: leave them out.
  set(probe ${CMAKE_CURRENT_BINARY_DIR}/fuzzer_probe.cpp)
  file(WRITE ${probe} "#include <cstddef>\n#include <cstdint>\nextern \"C\" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }\n")
  execute_process(COMMAND ${PELMORA_CLANGXX} -fsanitize=fuzzer ${probe} -o ${CMAKE_CURRENT_BINARY_DIR}/fuzzer_probe
                  RESULT_VARIABLE probe_result OUTPUT_QUIET ERROR_QUIET)
  if(probe_result EQUAL 0)
    set(PELMORA_FUZZER_WORKS TRUE)
  endif()
endif()

set(PELMORA_FUZZ_FLAGS -std=c++20 -O1 -g -fPIC -fsanitize=fuzzer-no-link,address,undefined
    -fno-sanitize-recover=undefined)

# Every folder the fuzzed libraries and the fuzz targets include: those the
# core's libraries compile with (their inner folders, Qt's and their
# libraries' among them).
set(PELMORA_FUZZ_INCLUDES)
foreach(target pelmora_metafile pelmora_core)
  list(APPEND PELMORA_FUZZ_INCLUDES "-I$<JOIN:$<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>,$<SEMICOLON>-I>")
endforeach()

# The sources of a library of the project compiled again with the fuzzer's
# instrumentation, into <build>/fuzz/lib<target>.a; made once however many
# fuzz tests link it.
function(_pelmora_fuzz_archive target out_var)
  set(archive ${CMAKE_BINARY_DIR}/fuzz/lib${target}.a)
  set(${out_var} ${archive} PARENT_SCOPE)
  get_property(made GLOBAL PROPERTY _pelmora_fuzz_${target})
  if(made)
    return()
  endif()
  set_property(GLOBAL PROPERTY _pelmora_fuzz_${target} TRUE)
  get_target_property(sources ${target} SOURCES)
  get_target_property(folder ${target} SOURCE_DIR)
  set(objects)
  foreach(source IN LISTS sources)
    if(NOT source MATCHES "\\.cpp$")
      continue()
    endif()
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${folder})
    file(RELATIVE_PATH name ${PROJECT_SOURCE_DIR} ${source})
    set(object ${CMAKE_BINARY_DIR}/fuzz/${name}.o)
    add_custom_command(OUTPUT ${object}
      COMMAND ${PELMORA_CLANGXX} ${PELMORA_FUZZ_FLAGS} ${PELMORA_FUZZ_INCLUDES} -MD -MF ${object}.d
              -c ${source} -o ${object}
      DEPENDS ${source}
      DEPFILE ${object}.d
      COMMAND_EXPAND_LISTS
      VERBATIM)
    list(APPEND objects ${object})
  endforeach()
  add_custom_command(OUTPUT ${archive}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${archive}
    COMMAND ${CMAKE_AR} qcs ${archive} ${objects}
    DEPENDS ${objects}
    VERBATIM)
endfunction()

# pelmora_add_fuzz_test(name source
#                       TARGETS <libraries of the project under test>
#                       LIBRARIES <imported targets they link>
#                       SEEDS <corpus folders> [SUPPRESSIONS <LeakSanitizer file>])
# Builds <name>er from the source and the libraries, and registers the test
# <name> that runs it for 15 seconds from the seed folders that exist. New
# inputs go to a folder of the build, never into the seeds; a crash leaves
# its input in the build folder.
function(pelmora_add_fuzz_test name source)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "SUPPRESSIONS" "TARGETS;SEEDS;LIBRARIES")
  if(NOT PELMORA_FUZZER_WORKS)
    return()
  endif()
  set(archives)
  foreach(target IN LISTS arg_TARGETS)
    _pelmora_fuzz_archive(${target} archive)
    list(APPEND archives ${archive})
  endforeach()
  set(libraries $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Core>)
  foreach(library IN LISTS arg_LIBRARIES)
    list(APPEND libraries $<TARGET_FILE:${library}>)
  endforeach()
  set(binary ${CMAKE_CURRENT_BINARY_DIR}/${name}er)
  add_custom_command(OUTPUT ${binary}
    COMMAND ${PELMORA_CLANGXX} ${PELMORA_FUZZ_FLAGS} -fsanitize=fuzzer ${PELMORA_FUZZ_INCLUDES}
            -MD -MF ${binary}.d ${CMAKE_CURRENT_SOURCE_DIR}/${source}
            -Wl,--start-group ${archives} -Wl,--end-group ${libraries}
            -o ${binary}
    DEPENDS ${source} ${archives}
    DEPFILE ${binary}.d
    COMMAND_EXPAND_LISTS
    VERBATIM)
  add_custom_target(${name}_build ALL DEPENDS ${binary})

  set(seeds)
  foreach(folder IN LISTS arg_SEEDS)
    if(IS_DIRECTORY ${folder})
      list(APPEND seeds ${folder})
    endif()
  endforeach()
  set(inputs ${CMAKE_CURRENT_BINARY_DIR}/${name}_inputs)
  file(MAKE_DIRECTORY ${inputs})
  add_test(NAME ${name}
    COMMAND ${binary} -max_total_time=15 -rss_limit_mb=4096 -timeout=30
            -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/${name}-
            ${inputs} ${seeds})
  set(environment "QT_QPA_PLATFORM=offscreen")
  if(arg_SUPPRESSIONS)
    list(APPEND environment "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/${arg_SUPPRESSIONS}")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}")
endfunction()
