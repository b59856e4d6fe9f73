# Flags every target of ours links through qarvon_common.
add_library(qarvon_common INTERFACE)
target_compile_features(qarvon_common INTERFACE cxx_std_20)
target_compile_options(qarvon_common INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(qarvon_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_KEYWORDS)
if(QARVON_WERROR)
    target_compile_options(qarvon_common INTERFACE -Werror)
endif()

if(QARVON_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
if(QARVON_TSAN)
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()
if(QARVON_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "QARVON_FUZZ needs clang (CXX=clang++)")
    endif()
    # Instrument everything for coverage; the fuzzer main comes in per target.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# Registers a GoogleTest executable with CTest; LABELS lets scripts pick groups
# (unit, integration, gui, threaded). MAIN replaces the default test entry.
function(qarvon_add_test name)
    cmake_parse_arguments(ARG "" "MAIN" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT ARG_MAIN)
        set(ARG_MAIN qarvon_testmain)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE qarvon_common qarvon_testsupport ${ARG_MAIN}
        GTest::gtest GTest::gmock ${ARG_LIBS})
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS "${ARG_LABELS}"
                   ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QARVON_AUDIO_SINK=fakesink")
endfunction()

# A fuzz target: a source defining LLVMFuzzerTestOneInput. With QARVON_FUZZ it
# becomes a libFuzzer program; otherwise a replay program that feeds every
# file of tests/fuzz/corpus/<name>/ to the target, registered as a test.
function(qarvon_add_fuzzer name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    set(corpus ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${name})
    if(QARVON_FUZZ)
        add_executable(${name} ${ARG_SOURCES})
        target_link_libraries(${name} PRIVATE qarvon_common ${ARG_LIBS})
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
        set_property(GLOBAL APPEND PROPERTY QARVON_FUZZERS ${name})
    else()
        add_executable(${name}_replay ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/fuzz/FuzzReplayMain.cpp)
        target_link_libraries(${name}_replay PRIVATE qarvon_common ${ARG_LIBS})
        add_test(NAME ${name}_replay COMMAND ${name}_replay ${corpus})
        set_tests_properties(${name}_replay PROPERTIES LABELS "unit;fuzz")
    endif()
endfunction()
