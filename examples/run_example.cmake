# cmake -DPROGRAM=<example> -DROOT=<folder> -P run_example.cmake
# Runs the example with HOME, the XDG folders and the backend's system root inside ROOT, made afresh.
file(REMOVE_RECURSE ${ROOT})
file(MAKE_DIRECTORY ${ROOT}/home ${ROOT}/system)
set(ENV{HOME} ${ROOT}/home)
set(ENV{XDG_CONFIG_HOME} ${ROOT}/home/.config)
set(ENV{XDG_DATA_HOME} ${ROOT}/home/.local/share)
set(ENV{HBD_SYSTEM_ROOT} ${ROOT}/system)
execute_process(COMMAND ${PROGRAM} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} failed: ${result}")
endif()
