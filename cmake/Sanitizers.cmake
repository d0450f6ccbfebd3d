# Instrumented builds, each in a build folder of its own.
#   LORVANE_SANITIZE  AddressSanitizer + UndefinedBehaviorSanitizer on everything built
#                     here (gcc or clang); the test suite runs unchanged under it.
#   LORVANE_FUZZ      clang only: the same sanitizers plus libFuzzer's coverage, and the
#                     harnesses in fuzz/ become real fuzzers instead of corpus replays.
option(LORVANE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(LORVANE_FUZZ "Build the libFuzzer harnesses (clang; implies LORVANE_SANITIZE)" OFF)

if(LORVANE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "LORVANE_FUZZ needs clang (CXX=clang++)")
  endif()
  set(LORVANE_SANITIZE ON)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(LORVANE_SANITIZE)
  # Any finding stops the program, so a test cannot pass over one.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
