# Cross build of the Windows program on Linux with clang, on the MinGW-w64
# headers, import libraries and libstdc++ of Debian's gcc-mingw-w64 (posix
# threads), linked by lld. A second compiler's warnings on the same code: CI
# builds with it but runs what the GCC build makes (mingw-w64-x86_64.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KORBELA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER_TARGET ${KORBELA_MINGW_TRIPLE})
set(CMAKE_C_COMPILER_TARGET ${KORBELA_MINGW_TRIPLE})
set(CMAKE_RC_COMPILER ${KORBELA_MINGW_TRIPLE}-windres)
find_program(CMAKE_AR ${KORBELA_MINGW_TRIPLE}-ar)
find_program(CMAKE_RANLIB ${KORBELA_MINGW_TRIPLE}-ranlib)
set(CMAKE_SYSROOT /usr/${KORBELA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH /usr/${KORBELA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Clang does not recognise Debian's GCC folder ".../12-posix" as a version, so
# it finds neither libstdc++'s headers nor libgcc and the crt objects there:
# they are named here, from the folder that MinGW's own g++ reports.
if(NOT KORBELA_MINGW_GCC_DIR)
  execute_process(COMMAND ${KORBELA_MINGW_TRIPLE}-g++-posix -print-libgcc-file-name
                  OUTPUT_VARIABLE korbela_libgcc OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE korbela_failed)
  if(korbela_failed OR NOT EXISTS "${korbela_libgcc}")
    message(FATAL_ERROR "${KORBELA_MINGW_TRIPLE}-g++-posix not found (Debian package g++-mingw-w64-x86-64-posix)")
  endif()
  get_filename_component(KORBELA_MINGW_GCC_DIR "${korbela_libgcc}" DIRECTORY)
  set(KORBELA_MINGW_GCC_DIR "${KORBELA_MINGW_GCC_DIR}" CACHE PATH "GCC's MinGW-w64 folder (libgcc, libstdc++)")
endif()
set(KORBELA_MINGW_CXX_INCLUDE ${KORBELA_MINGW_GCC_DIR}/include/c++)
string(JOIN " " CMAKE_CXX_FLAGS_INIT
       -isystem ${KORBELA_MINGW_CXX_INCLUDE}
       -isystem ${KORBELA_MINGW_CXX_INCLUDE}/${KORBELA_MINGW_TRIPLE}
       -isystem ${KORBELA_MINGW_CXX_INCLUDE}/backward)
# GCC's MinGW-w64 runtime keeps thread-local variables (std::call_once's among
# them) as emulated TLS; clang's default, native TLS, would not link with it.
set(CMAKE_C_FLAGS_INIT "-femulated-tls")
string(APPEND CMAKE_CXX_FLAGS_INIT " -femulated-tls")
# lld rather than MinGW's GNU ld, which warns about every type name that clang
# and GCC (libstdc++.a) lay out differently ("duplicate section ... has
# different size"); -pthread brings in winpthreads, as MinGW's posix g++ does.
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-fuse-ld=lld -B${KORBELA_MINGW_GCC_DIR} -L${KORBELA_MINGW_GCC_DIR} -pthread")
endforeach()

# Programs of the cross build run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
