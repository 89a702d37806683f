# Instrumented builds of the project's own code, each in its own build folder:
#   REDKITE_SANITIZE=ON  every target (libraries, tests, tools, the program) built with AddressSanitizer
#                        and UndefinedBehaviorSanitizer; any report ends the process with an error.
#   REDKITE_FUZZ=ON      (clang only) the libraries built with libFuzzer coverage and both sanitizers,
#                        and the fuzz targets of fuzz/ linked against libFuzzer.
option(REDKITE_SANITIZE "Build every target with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(REDKITE_FUZZ "Build the libFuzzer targets in fuzz/ (needs clang)" OFF)

# float-cast-overflow is not part of GCC's "undefined" group; out-of-range float-to-integer
# conversions are what hostile numbers in content files would cause.
set(REDKITE_SANITIZER_FLAGS -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all
                            -fno-omit-frame-pointer)

if(REDKITE_SANITIZE AND REDKITE_FUZZ)
  message(FATAL_ERROR "REDKITE_SANITIZE and REDKITE_FUZZ are separate builds; choose one per build folder")
endif()

if(REDKITE_SANITIZE)
  add_compile_options(${REDKITE_SANITIZER_FLAGS})
  # GCC's flow analysis sees the sanitizers' checks as paths through which a value may be unset and
  # warns inside the standard library's own code (std::regex); the sanitizers check such reads at
  # run time instead.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
  add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()

if(REDKITE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "REDKITE_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link ${REDKITE_SANITIZER_FLAGS})
  add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()
