# One INTERFACE target carries the compiler options every target of the project shares.
option(KORVANE_WERROR "Treat compiler warnings as errors" OFF)
option(KORVANE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(KORVANE_FUZZ "Build the libFuzzer programs of fuzz/ (clang), and only the libraries they need" OFF)

add_library(korvane_options INTERFACE)
target_compile_features(korvane_options INTERFACE cxx_std_20)
target_compile_options(korvane_options INTERFACE -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor
                                                 -Woverloaded-virtual)
# Every conversion between bytes and text must be explicit: the wire and the files are Windows-1252.
target_compile_definitions(korvane_options INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_BYTEARRAY QT_NO_URL_CAST_FROM_STRING
    QT_USE_QSTRINGBUILDER QT_NO_KEYWORDS QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    # Nothing deprecated in the oldest Qt the program builds with (Debian 12's 6.4).
    QT_DISABLE_DEPRECATED_BEFORE=0x060400)
if(KORVANE_WERROR)
    target_compile_options(korvane_options INTERFACE -Werror)
endif()
if(KORVANE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "KORVANE_FUZZ needs clang's libFuzzer: configure with CC=clang CXX=clang++")
    endif()
    # Coverage that guides the fuzzer, in all of the project's code; fuzz/ links libFuzzer's main.
    target_compile_options(korvane_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
if(KORVANE_SANITIZE OR KORVANE_FUZZ)
    target_compile_options(korvane_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                     -fno-sanitize-recover=undefined)
    target_link_options(korvane_options INTERFACE -fsanitize=address,undefined)
endif()
