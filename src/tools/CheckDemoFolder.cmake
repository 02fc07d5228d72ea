# Writes the demo folder afresh into OUT with GENERATOR and compares it, file by file and
# byte by byte, with EXPECTED. Run with: cmake -DGENERATOR=... -DEXPECTED=... -DOUT=... -P
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${GENERATOR}" "${OUT}" RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${GENERATOR} failed: ${result}")
endif()

file(GLOB_RECURSE written RELATIVE "${OUT}" "${OUT}/*")
file(GLOB_RECURSE expected RELATIVE "${EXPECTED}" "${EXPECTED}/*")
list(SORT written)
list(SORT expected)
if(NOT written STREQUAL expected)
    message(FATAL_ERROR "Files differ.\nWritten: ${written}\nIn the repository: ${expected}")
endif()
foreach(name IN LISTS written)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${OUT}/${name}"
                            "${EXPECTED}/${name}" RESULT_VARIABLE different)
    if(different)
        message(FATAL_ERROR "${name} differs from what the generator writes now")
    endif()
endforeach()
file(REMOVE_RECURSE "${OUT}")
