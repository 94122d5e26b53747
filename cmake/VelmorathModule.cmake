# One static library per source folder. Sources are picked up from the listed
# sub-folders so that adding a file needs no edit here.
function(velmorath_sources out)
  set(sources)
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

function(velmorath_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;LINK" ${ARGN})
  velmorath_sources(sources ${ARG_DIRS})
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
endfunction()

# One GoogleTest program per module test folder.
function(velmorath_test name)
  cmake_parse_arguments(ARG "" "" "DIRS;LINK" ${ARGN})
  velmorath_sources(sources ${ARG_DIRS})
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES TIMEOUT 300 SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endfunction()

include(VelmorathEmbed)
