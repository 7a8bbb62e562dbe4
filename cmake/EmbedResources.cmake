# SPDX-License-Identifier: MIT
# Compiles asset files into the program as byte arrays, so the game never
# looks for its pictures and sounds on disk.
#
# orvo_embed_resources(<target> <file>...)
#   For each file (relative to the calling directory) generates at build time
#   a source defining, in namespace orvo_embedded,
#     const unsigned char <id>[];  const std::size_t <id>_size;
#   where <id> is the file name made a C identifier (balls.bmp -> balls_bmp),
#   and adds it to <target>. A changed file is re-embedded on the next build.
#
# Run as a script, it writes one such source:
#   cmake -DINPUT=<file> -DOUTPUT=<source> -DSYMBOL=<id> -P EmbedResources.cmake

function(orvo_embed_resources target)
    foreach(file ${ARGN})
        get_filename_component(input ${file} ABSOLUTE)
        get_filename_component(name ${file} NAME)
        string(MAKE_C_IDENTIFIER ${name} symbol)
        set(output ${CMAKE_CURRENT_BINARY_DIR}/embedded/${symbol}.cpp)
        add_custom_command(OUTPUT ${output}
            COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
                    -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
            DEPENDS ${input} ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
            COMMENT "Embedding ${name}"
            VERBATIM)
        target_sources(${target} PRIVATE ${output})
    endforeach()
endfunction()

function(_orvo_write_embedded_source input output symbol)
    file(READ ${input} hex HEX)
    string(LENGTH "${hex}" digits)
    if(digits EQUAL 0)
        message(FATAL_ERROR "Refusing to embed the empty file ${input}")
    endif()
    math(EXPR size "${digits} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    # Sixteen bytes a line keeps the generated file readable in a debugger.
    string(REPEAT "0x..," 16 line)
    string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
    string(REGEX REPLACE "[ \n]+$" "" bytes "${bytes}")
    get_filename_component(name ${input} NAME)
    file(WRITE ${output}
        "// Generated from ${name}; do not edit.\n"
        "#include <cstddef>\n\n"
        "namespace orvo_embedded {\n\n"
        "extern const unsigned char ${symbol}[];\n"
        "extern const std::size_t ${symbol}_size;\n\n"
        "const unsigned char ${symbol}[${size}] = {\n    ${bytes}\n};\n"
        "const std::size_t ${symbol}_size = ${size};\n\n"
        "}  // namespace orvo_embedded\n")
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
    _orvo_write_embedded_source("${INPUT}" "${OUTPUT}" "${SYMBOL}")
endif()
