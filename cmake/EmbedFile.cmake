# cmake -DINPUT=file -DOUTPUT=source.cpp -DNAME=resource -P EmbedFile.cmake
# Writes a C++ source that registers the file's bytes as the resource NAME.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
set(symbol "velmorath_resource_${NAME}")
file(WRITE "${OUTPUT}" "// Generated from ${INPUT}; do not edit.\n#include \"formstream/resources.h\"\n\n"
     "extern \"C\" const unsigned char ${symbol}[] = {\n    ${bytes}\n};\n\nnamespace {\n"
     "const TResourceRegistration kRegistration(\"${NAME}\", ${symbol}, sizeof ${symbol});\n}  // namespace\n")
