# Draws the pictures afresh into WORK_DIR and fails when any differs from the committed one in
# SOURCE_DIR/resources, so a change to the drawing code cannot go out without its pictures.
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${ARTGEN} ${WORK_DIR} RESULT_VARIABLE drawn)
if(NOT drawn EQUAL 0)
    message(FATAL_ERROR "artgen failed: ${drawn}")
endif()
foreach(file art/background.bmp art/titlestrip.bmp art/closeglyph.bmp HotKeys.ico)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/${file}
                            ${SOURCE_DIR}/resources/${file}
                    RESULT_VARIABLE differs)
    if(differs)
        message(FATAL_ERROR "resources/${file} differs from what artgen draws now; "
                            "rebuild the target 'artwork' and commit the pictures")
    endif()
endforeach()
