# ssf_embed_binary(<target> <symbol> <file>): compiles the bytes of <file> into <target>
# as `extern const unsigned char <symbol>[]` and `extern const std::size_t <symbol>_size`.
function(ssf_embed_binary target symbol file)
  set(out ${CMAKE_BINARY_DIR}/generated/embed_${symbol}.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${file} -DOUTPUT=${out} -DSYMBOL=${symbol}
            -P ${CMAKE_SOURCE_DIR}/cmake/EmbedBinaryScript.cmake
    DEPENDS ${file} ${CMAKE_SOURCE_DIR}/cmake/EmbedBinaryScript.cmake
    COMMENT "Embedding ${file}")
  target_sources(${target} PRIVATE ${out})
endfunction()
