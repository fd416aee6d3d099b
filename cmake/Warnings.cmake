# One set of warnings for every target of the project; warnings are errors.
function(velmora_set_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Woverloaded-virtual -Wsuggest-override -Werror)
    # Clang (the fuzz build) has no form of -Wshadow limited to locals.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(${target} PRIVATE -Wshadow=local)
    endif()
    # GCC 12 reports uninitialised values inside the standard library (std::regex, std::function) once the
    # sanitizers' instrumentation is inlined; those reports are false, and the sanitizers check the real thing.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_FLAGS MATCHES "-fsanitize")
        target_compile_options(${target} PRIVATE -Wno-maybe-uninitialized)
    endif()
    # GCC 12 at -O3 sees overlapping copies inside std::string's own concatenation (a known false report of
    # that release, seen only in the optimised builds); the sanitized tests check real overlaps at run time.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13 AND
       NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
endfunction()
