# velmorath_embed_form(TARGET target SOURCE text_form RESOURCE name)
# Compiles a text form with formc at build time and links its bytes into `target` as the
# resource `name` (registered at start-up, found with FindResource). The form is rebuilt
# when the source or any file it reads changes.
function(velmorath_embed_form)
  cmake_parse_arguments(ARG "" "TARGET;SOURCE;RESOURCE" "" ${ARGN})
  if(NOT ARG_TARGET OR NOT ARG_SOURCE OR NOT ARG_RESOURCE)
    message(FATAL_ERROR "velmorath_embed_form needs TARGET, SOURCE and RESOURCE")
  endif()
  if(NOT ARG_RESOURCE MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
    message(FATAL_ERROR "velmorath_embed_form: resource name '${ARG_RESOURCE}' must be an identifier")
  endif()
  get_filename_component(source "${ARG_SOURCE}" ABSOLUTE)
  set(output "${CMAKE_CURRENT_BINARY_DIR}/embedded/${ARG_RESOURCE}.cpp")
  file(MAKE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/embedded")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND formc "${source}" "${output}" --embed ${ARG_RESOURCE} --depfile "${output}.d"
    DEPENDS formc "${source}"
    DEPFILE "${output}.d"
    COMMENT "Embedding form ${ARG_SOURCE} as ${ARG_RESOURCE}"
    VERBATIM)
  target_sources(${ARG_TARGET} PRIVATE "${output}")
  target_link_libraries(${ARG_TARGET} PRIVATE formstream)
  # A static library's object that nothing references would be dropped at link time:
  # ask the linker for the data symbol so that the registration comes along.
  target_link_options(${ARG_TARGET} INTERFACE "LINKER:--undefined=velmorath_resource_${ARG_RESOURCE}")
endfunction()

# velmorath_embed_file(TARGET target SOURCE file RESOURCE name)
# Links a file's bytes into `target` as the resource `name`, as velmorath_embed_form does
# for a compiled form.
function(velmorath_embed_file)
  cmake_parse_arguments(ARG "" "TARGET;SOURCE;RESOURCE" "" ${ARGN})
  get_filename_component(source "${ARG_SOURCE}" ABSOLUTE)
  set(output "${CMAKE_CURRENT_BINARY_DIR}/embedded/${ARG_RESOURCE}.cpp")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND ${CMAKE_COMMAND} -DINPUT=${source} -DOUTPUT=${output} -DNAME=${ARG_RESOURCE}
            -P ${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake
    DEPENDS "${source}" ${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake
    COMMENT "Embedding ${ARG_SOURCE} as ${ARG_RESOURCE}"
    VERBATIM)
  target_sources(${ARG_TARGET} PRIVATE "${output}")
  target_link_libraries(${ARG_TARGET} PRIVATE formstream)
  target_link_options(${ARG_TARGET} INTERFACE "LINKER:--undefined=velmorath_resource_${ARG_RESOURCE}")
endfunction()
