# Warnings for the project's own targets (never for third-party code). Where
# CI builds (LUMIVAR_WARNINGS_AS_ERRORS, on in its presets) a warning fails
# the build, so none can pile up unseen.
option(LUMIVAR_WARNINGS_AS_ERRORS "Treat the project's warnings as errors" OFF)

function(lumivar_warnings target)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                                 -Wno-sign-conversion)
        if(LUMIVAR_WARNINGS_AS_ERRORS)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endif()
endfunction()
