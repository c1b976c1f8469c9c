# korvane-rcon must not load the window libraries, not even through another library: ldd lists what
# the loader brings in, directly or not.
execute_process(COMMAND ldd ${EXECUTABLE} OUTPUT_VARIABLE libraries RESULT_VARIABLE failed)
if(failed OR NOT libraries MATCHES "libQt6Core")
    message(FATAL_ERROR "ldd could not list the libraries of ${EXECUTABLE}")
endif()
if(libraries MATCHES "libQt6(Gui|Widgets|OpenGL)")
    message(FATAL_ERROR "${EXECUTABLE} loads a window library:\n${libraries}")
endif()
