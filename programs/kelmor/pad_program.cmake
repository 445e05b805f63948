# Brings the freshly linked program PROGRAM to exactly SIZE bytes: keeps the linked file
# as PROGRAM-unpadded, strips PROGRAM, fails when it is still larger than SIZE, and
# extends it with zero bytes otherwise. On failure PROGRAM is removed, so no build
# leaves a program of the wrong size behind.
# Run with cmake -DPROGRAM=... -DSIZE=... -DSTRIP=... -DTRUNCATE=... -P pad_program.cmake

function(fail)
  file(REMOVE ${PROGRAM})
  message(FATAL_ERROR ${ARGV})
endfunction()

file(COPY_FILE ${PROGRAM} ${PROGRAM}-unpadded)
execute_process(COMMAND ${STRIP} --strip-all ${PROGRAM} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  fail("Stripping ${PROGRAM} failed: ${status}")
endif()
file(SIZE ${PROGRAM} stripped)
if(stripped GREATER SIZE)
  math(EXPR over "${stripped} - ${SIZE}")
  fail("The kelmor program is ${stripped} bytes once stripped, ${over} more than "
       "EMBEDDED_RECORDING_OFFSET (${SIZE}, recording/recording_file.h). Executable recordings "
       "need the program to fit: make it smaller, or raise the offset (which breaks every "
       "executable recording made before).")
endif()
execute_process(COMMAND ${TRUNCATE} --size=${SIZE} ${PROGRAM} RESULT_VARIABLE status)
file(SIZE ${PROGRAM} padded)
if(NOT status EQUAL 0 OR NOT padded EQUAL SIZE)
  fail("Padding ${PROGRAM} to ${SIZE} bytes failed")
endif()
math(EXPR spare "${SIZE} - ${stripped}")
message(STATUS "kelmor: ${stripped} bytes stripped, padded to ${SIZE}: ${spare} bytes of room left")
