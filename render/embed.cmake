# Writes the bytes of IN as a C++ array: cmake -DIN=... -DOUT=... -DNAME=... -P embed.cmake
file(READ ${IN} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," body "${hex}")
string(LENGTH "${hex}" hexlen)
math(EXPR size "${hexlen} / 2")
file(WRITE ${OUT} "// Made by render/embed.cmake from ${IN}\n#include <cstddef>\nnamespace kestrin::render {\nextern const char ${NAME}[] = {${body}};\nextern const std::size_t ${NAME}Size = ${size};\n}\n")
