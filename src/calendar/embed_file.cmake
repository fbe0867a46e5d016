# Writes a C++ source holding a file's bytes as an array.
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DNAMESPACE=ns -DNAME=name -P embed_file.cmake
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE ${OUTPUT}.new
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <cstddef>\n\n"
  "namespace ${NAMESPACE} {\n"
  "extern const unsigned char ${NAME}[] = {\n  ${bytes}0x00};\n"
  "extern const std::size_t ${NAME}Size = ${size};\n"
  "}  // namespace ${NAMESPACE}\n")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
