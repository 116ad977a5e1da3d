# The README's embedding code is the code the consumer test compiles and runs: the block after
# the README's marker line equals the lines between the source file's two markers.
#   cmake -D README=README.md -D SOURCE=examples/embedding/KesEmbeddingExample.cpp -P CheckReadmeCode.cmake
file(READ ${README} readme)
file(READ ${SOURCE} source)

set(source_begin "// README: embedding begins\n")
set(source_end "// README: embedding ends\n")
string(FIND "${source}" "${source_begin}" begin)
string(FIND "${source}" "${source_end}" end)
if(begin EQUAL -1 OR end EQUAL -1 OR end LESS begin)
    message(FATAL_ERROR "${SOURCE}: the markers '${source_begin}' and '${source_end}' are missing")
endif()
string(LENGTH "${source_begin}" length)
math(EXPR begin "${begin} + ${length}")
math(EXPR length "${end} - ${begin}")
string(SUBSTRING "${source}" ${begin} ${length} source_code)

set(readme_begin "<!-- code: examples/embedding/KesEmbeddingExample.cpp -->\n```cpp\n")
string(FIND "${readme}" "${readme_begin}" begin)
if(begin EQUAL -1)
    message(FATAL_ERROR "${README}: no code block after '<!-- code: examples/embedding/KesEmbeddingExample.cpp -->'")
endif()
string(LENGTH "${readme_begin}" length)
math(EXPR begin "${begin} + ${length}")
string(SUBSTRING "${readme}" ${begin} -1 rest)
string(FIND "${rest}" "```\n" end)
if(end EQUAL -1)
    message(FATAL_ERROR "${README}: the embedding code block does not end")
endif()
string(SUBSTRING "${rest}" 0 ${end} readme_code)

if(NOT readme_code STREQUAL source_code)
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/readme-embedding.cpp "${readme_code}")
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/source-embedding.cpp "${source_code}")
    message(FATAL_ERROR "The README's embedding code differs from ${SOURCE}; compare "
        "${CMAKE_CURRENT_BINARY_DIR}/readme-embedding.cpp and source-embedding.cpp")
endif()
