# The 32-bit programs for an old PC (i686), made by this 64-bit Debian's
# compiler with -m32 (package g++-multilib).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)

# A kernel built without 32-bit support (as a sandbox's may be) runs them
# through Debian's user-mode emulator, a static one preferred (the static
# programs' test takes it into an empty root); CMake puts it before every
# test that runs a built program, and tests/CMakeLists.txt hands it to the
# scripts. Where the kernel runs them itself, the emulator found runs the
# GoogleTest programs a second time (tests/CMakeLists.txt). The probe: a
# 32-bit program of this compiler's, which the kernel runs or not. An
# emulator given on the command line is taken as it is.
if(NOT CMAKE_IN_TRY_COMPILE AND NOT DEFINED CACHE{CMAKE_CROSSCOMPILING_EMULATOR})
  set(probe ${CMAKE_BINARY_DIR}/CMakeFiles/i386-probe)
  file(WRITE ${probe}.c "int main(void) { return 0; }\n")
  execute_process(COMMAND c++ -m32 -static -x c ${probe}.c -o ${probe} OUTPUT_QUIET ERROR_QUIET)
  execute_process(COMMAND ${probe} RESULT_VARIABLE probe_status OUTPUT_QUIET ERROR_QUIET)
  find_program(DPREP_QEMU_I386 NAMES qemu-i386-static qemu-i386)
  set(DPREP_KERNEL_RUNS_32BIT FALSE)
  if(probe_status STREQUAL "0")
    set(DPREP_KERNEL_RUNS_32BIT TRUE)
  elseif(DPREP_QEMU_I386)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${DPREP_QEMU_I386})
  endif()
endif()
