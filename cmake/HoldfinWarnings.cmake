# One warnings policy for every target of the project: the warnings KDE's frameworks build
# with. Product code also gets Qt's defines that turn implicit conversions between text, bytes
# and URLs into compile errors; tests, benchmarks and fuzzers spell their literals freely.
function(holdfin_set_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Woverloaded-virtual -Wsuggest-override
        -Wzero-as-null-pointer-constant)
    get_target_property(folder ${target} SOURCE_DIR)
    file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${folder})
    if(relative MATCHES "^src/")
        target_compile_definitions(${target} PRIVATE
            QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_BYTEARRAY
            QT_NO_URL_CAST_FROM_STRING QT_NO_FOREACH QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
    endif()
    if(HOLDFIN_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
