# Project-wide flags, carried by one interface target that every library links.
add_library(velorance_flags INTERFACE)
target_compile_features(velorance_flags INTERFACE cxx_std_20)
target_compile_options(velorance_flags INTERFACE -Wall -Wextra)
target_compile_definitions(velorance_flags INTERFACE
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
if(VELORANCE_SANITIZE)
    target_compile_options(velorance_flags INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
    target_link_options(velorance_flags INTERFACE -fsanitize=address,undefined)
endif()

# libFuzzer: the harnesses in tests/fuzz/ become fuzzers where the compiler has it (clang; g++
# has not). Every library is then built with coverage instrumentation so the fuzzer is guided.
option(VELORANCE_FUZZ "Build the fuzz harnesses as libFuzzer fuzzers where the compiler supports it" ON)
set(VELORANCE_FUZZERS OFF)
if(VELORANCE_FUZZ)
    include(CheckCXXSourceCompiles)
    set(CMAKE_REQUIRED_FLAGS "-fsanitize=fuzzer")
    set(CMAKE_REQUIRED_LINK_OPTIONS "-fsanitize=fuzzer")
    set(CMAKE_REQUIRED_QUIET ON)
    check_cxx_source_compiles([[
        #include <cstddef>
        #include <cstdint>
        extern "C" int LLVMFuzzerTestOneInput(const uint8_t *, size_t) { return 0; }
    ]] VELORANCE_HAVE_LIBFUZZER)
    unset(CMAKE_REQUIRED_FLAGS)
    unset(CMAKE_REQUIRED_LINK_OPTIONS)
    unset(CMAKE_REQUIRED_QUIET)
    if(VELORANCE_HAVE_LIBFUZZER)
        set(VELORANCE_FUZZERS ON)
        target_compile_options(velorance_flags INTERFACE -fsanitize=fuzzer-no-link)
        target_link_options(velorance_flags INTERFACE -fsanitize=fuzzer-no-link)
    endif()
endif()

# velorance_add_library(<target> [DEPENDS <targets>...] [RESOURCES <qrc files>...])
# Makes one static library of the *.cpp and *.h files of the calling folder.
function(velorance_add_library name)
    cmake_parse_arguments(ARG "" "" "DEPENDS;RESOURCES;EXTRA_SOURCES" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
    add_library(${name} STATIC ${sources} ${ARG_RESOURCES} ${ARG_EXTRA_SOURCES})
    target_include_directories(${name} PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}")
    target_link_libraries(${name} PUBLIC velorance_flags ${ARG_DEPENDS})
endfunction()

# velorance_add_tests(<prefix> LIBS <targets>...)
# Every tst_<name>.cpp in the calling folder becomes one Qt Test executable and one CTest test.
function(velorance_add_tests prefix)
    cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
    file(GLOB tests CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp")
    foreach(test_source ${tests})
        get_filename_component(test_name "${test_source}" NAME_WE)
        string(REGEX REPLACE "^tst_" "" short_name "${test_name}")
        set(target "tst_${prefix}_${short_name}")
        add_executable(${target} "${test_source}" ${ARG_SOURCES})
        target_link_libraries(${target} PRIVATE velorance_flags Qt6::Test ${ARG_LIBS})
        target_include_directories(${target} PRIVATE "${CMAKE_SOURCE_DIR}/tests/common")
        target_compile_definitions(${target} PRIVATE
            VELORANCE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
            VELORANCE_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
            VELORANCE_STANDIN_DIR="${CMAKE_SOURCE_DIR}/tools/simulator-standin")
        add_test(NAME "${prefix}.${short_name}" COMMAND ${target})
        set_tests_properties("${prefix}.${short_name}" PROPERTIES
            TIMEOUT 300
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-home/config;XDG_DATA_HOME=${CMAKE_BINARY_DIR}/test-home/data;XDG_CACHE_HOME=${CMAKE_BINARY_DIR}/test-home/cache;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/test-home/runtime;QT_LOGGING_RULES=qt.qpa.*=false")
    endforeach()
endfunction()

# velorance_add_test_probe(<probe> TEST <test target> DEFINE <macro> LIBS <targets>...)
# A helper program that a test starts as a child process (<probe>.cpp in the calling folder);
# the test is built after it and finds it through <macro>, the program's path.
function(velorance_add_test_probe probe)
    cmake_parse_arguments(ARG "" "TEST;DEFINE" "LIBS" ${ARGN})
    add_executable(${probe} "${probe}.cpp")
    target_link_libraries(${probe} PRIVATE velorance_flags ${ARG_LIBS})
    if(TARGET ${ARG_TEST})
        add_dependencies(${ARG_TEST} ${probe})
        target_compile_definitions(${ARG_TEST} PRIVATE ${ARG_DEFINE}="$<TARGET_FILE:${probe}>")
    endif()
endfunction()
