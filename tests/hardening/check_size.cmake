# Fails when the program at EXE is larger than LIMIT bytes: a small utility is one small download.
file(SIZE ${EXE} size)
math(EXPR kilobytes "(${size} + 1023) / 1024")
if(size GREATER LIMIT)
    message(FATAL_ERROR "${EXE} is ${size} bytes (${kilobytes} KB), over the ${LIMIT}-byte limit")
endif()
message(STATUS "${EXE}: ${size} bytes (${kilobytes} KB)")
