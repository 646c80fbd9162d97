# A module that the Linux executable carries as bytes and loads on need
# (runtime/platform/linux/embedded_module.h): the backend's objects behind
# one exported entry, everything else hidden. The executable carries it
# without its debugging data, which stays beside it in the build
# (MODULE.debug, named by the module's debug link) for debuggers.
# kelvora_carried_module(MODULE VARIABLE) readies the MODULE library, sets
# the cache variable VARIABLE to the carried bytes' file and makes the
# target MODULE_bytes that writes it.
function(kelvora_carried_module module variable)
  set_target_properties(${module} PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET hidden
                                             VISIBILITY_INLINES_HIDDEN ON)
  target_link_options(${module} PRIVATE -Wl,--no-undefined)
  # The module can't reach the program's FailFatally or its bench probes:
  # it is handed the first at its entry and reports through probes of its own.
  target_sources(${module} PRIVATE ${PROJECT_SOURCE_DIR}/runtime/platform/linux/module_failure.cpp)
  if(KELVORA_BENCH_PROBES)
    target_sources(${module} PRIVATE ${PROJECT_SOURCE_DIR}/runtime/forms/bench_probe.cpp)
  endif()

  set(bytes ${CMAKE_CURRENT_BINARY_DIR}/${module}.stripped.so)
  set(debug ${CMAKE_CURRENT_BINARY_DIR}/${module}.debug)
  set(${variable} ${bytes} CACHE INTERNAL "The bytes of ${module} that the executable carries")
  add_custom_command(OUTPUT ${bytes} ${debug}
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${module}> ${debug}
    COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=${debug}
            $<TARGET_FILE:${module}> ${bytes}
    DEPENDS ${module}
    COMMENT "Splitting ${module}'s debugging data from the bytes the executable carries")
  add_custom_target(${module}_bytes DEPENDS ${bytes})
endfunction()
