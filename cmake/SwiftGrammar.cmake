# The Swift grammar for tree-sitter: the C parser of the npm package tree-sitter-swift (put into
# third_party/ by scripts/setup.sh), built against Debian's libtree-sitter. Defines the target
# SwiftGrammar and sets VELORANCE_SWIFT_GRAMMAR when both are there.
#
# The package ships its parser for several ABI versions; the one taken is the first that the
# installed library reads (TREE_SITTER_MIN_COMPATIBLE_LANGUAGE_VERSION …
# TREE_SITTER_LANGUAGE_VERSION). Must be included from the folder whose targets use it: it
# enables C there.
set(VELORANCE_SWIFT_GRAMMAR OFF)
set(swift_grammar_src "${CMAKE_SOURCE_DIR}/third_party/tree-sitter-swift/node_modules/tree-sitter-swift/src")
pkg_check_modules(TREE_SITTER QUIET IMPORTED_TARGET tree-sitter)
find_file(TREE_SITTER_API_HEADER tree_sitter/api.h HINTS ${TREE_SITTER_INCLUDE_DIRS})

if(NOT TREE_SITTER_FOUND OR NOT TREE_SITTER_API_HEADER)
    message(STATUS "Swift syntax check skipped: libtree-sitter-dev missing (run scripts/setup.sh)")
elseif(NOT EXISTS "${swift_grammar_src}/parser.c")
    message(STATUS "Swift syntax check skipped: tree-sitter-swift missing (run scripts/setup.sh)")
else()
    file(STRINGS "${TREE_SITTER_API_HEADER}" api_lines REGEX "^#define TREE_SITTER_(MIN_COMPATIBLE_)?LANGUAGE_VERSION ")
    string(REGEX MATCH "TREE_SITTER_LANGUAGE_VERSION ([0-9]+)" _ "${api_lines}")
    set(abi_newest "${CMAKE_MATCH_1}")
    string(REGEX MATCH "TREE_SITTER_MIN_COMPATIBLE_LANGUAGE_VERSION ([0-9]+)" _ "${api_lines}")
    set(abi_oldest "${CMAKE_MATCH_1}")

    set(swift_parser "")
    foreach(candidate parser.c parser_abi14.c parser_abi13.c)
        if(EXISTS "${swift_grammar_src}/${candidate}")
            file(STRINGS "${swift_grammar_src}/${candidate}" version_line REGEX "^#define LANGUAGE_VERSION " LIMIT_COUNT 1)
            string(REGEX MATCH "[0-9]+" abi "${version_line}")
            if(abi AND NOT abi LESS abi_oldest AND NOT abi GREATER abi_newest)
                set(swift_parser "${swift_grammar_src}/${candidate}")
                break()
            endif()
        endif()
    endforeach()

    if(NOT swift_parser)
        message(WARNING "tree-sitter-swift has no parser for ABI ${abi_oldest}…${abi_newest} of the installed libtree-sitter")
    else()
        enable_language(C)
        add_library(SwiftGrammar STATIC "${swift_parser}" "${swift_grammar_src}/scanner.c")
        target_include_directories(SwiftGrammar PRIVATE "${swift_grammar_src}")
        # Generated third-party code: its warnings are not ours to fix.
        target_compile_options(SwiftGrammar PRIVATE -w)
        target_link_libraries(SwiftGrammar PUBLIC PkgConfig::TREE_SITTER)
        set(VELORANCE_SWIFT_GRAMMAR ON)
        message(STATUS "Swift syntax check: ${swift_parser}")
    endif()
endif()
