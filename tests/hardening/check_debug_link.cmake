# Configures and builds the unoptimised program of one preset (-DPRESET=debug-win64 or
# debug-win32). Unoptimised code calls library functions that optimised code never reaches, and
# a library member that one of them pulls in may define a function that the program replaces
# (app/LibraryErrors_win.cpp): the link then stops at the duplicate definition.
foreach(arguments IN ITEMS "--preset;${PRESET}" "--build;--preset;${PRESET}")
    execute_process(COMMAND ${CMAKE_COMMAND} ${arguments} WORKING_DIRECTORY ${SOURCE_DIR}
                    OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "cmake ${arguments} failed:\n${output}")
    endif()
endforeach()
