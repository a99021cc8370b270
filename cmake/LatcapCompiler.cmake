# Warning and sanitizer settings for the project's own targets.
function(latcap_target_settings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wconversion -Wsign-conversion)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 warns wrongly about memcpy overlap when optimised code assigns
    # a C string to a std::string (GCC bug 105329).
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(LATCAP_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

if(LATCAP_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  # An index out of range in a standard container stops the program too.
  add_compile_definitions(_GLIBCXX_ASSERTIONS)
  add_link_options(-fsanitize=address,undefined)
endif()

# Qt hygiene for the project's Qt targets: no Qt keywords or foreach, and no
# implicit conversion from char strings, so every string shown is deliberate.
# Tests may build strings from literals (ALLOW_CAST_FROM_ASCII).
function(latcap_qt_settings target)
  cmake_parse_arguments(ARG "ALLOW_CAST_FROM_ASCII" "" "" ${ARGN})
  target_compile_definitions(${target} PRIVATE QT_NO_KEYWORDS QT_NO_FOREACH)
  if(NOT ARG_ALLOW_CAST_FROM_ASCII)
    target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII)
  endif()
endfunction()
