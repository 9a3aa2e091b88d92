# Helpers shared by the folders' CMakeLists.

get_filename_component(ZEV_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

function(zev_defaults target)
  target_include_directories(${target} PUBLIC ${ZEV_ROOT})
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  target_compile_definitions(${target} PRIVATE ZEV_RESOURCES_DIR="${ZEV_ROOT}/resources")
  if(ZEV_DIAGNOSTIC_RUN)
    target_compile_definitions(${target} PUBLIC ZEV_DIAGNOSTIC_RUN=1)
  endif()
endfunction()

# Platform-neutral code: builds in every tree, so it is unit-tested natively under sanitizers.
function(zev_neutral_library name)
  add_library(${name} STATIC ${ARGN})
  zev_defaults(${name})
  set_property(GLOBAL APPEND PROPERTY ZEV_NEUTRAL_LIBS ${name})
endfunction()

# Win32 code: Windows trees only.
function(zev_win_library name)
  add_library(${name} STATIC ${ARGN})
  zev_defaults(${name})
  set_property(GLOBAL APPEND PROPERTY ZEV_WIN_LIBS ${name})
endfunction()

# Copies a built file into the staged program folder (exe, driver, images).
function(zev_stage target subdir)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZEV_STAGE_DIR}/${subdir}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${ZEV_STAGE_DIR}/${subdir}/
    VERBATIM)
endfunction()

# Resource scripts (.rc) of the folders: linked into the program and into every Windows test binary,
# since resources cannot travel inside static libraries.
function(zev_resources)
  foreach(f ${ARGN})
    get_filename_component(abs ${f} ABSOLUTE)
    set_property(GLOBAL APPEND PROPERTY ZEV_RC_FILES ${abs})
  endforeach()
endfunction()
