# Writes the files below SAMPLE_DIR into the C++ source OUTPUT as byte
# arrays, so that the cbasis tool carries its sample template inside it.
# Usage: cmake -DSAMPLE_DIR=dir -DOUTPUT=file.cpp -P EmbedSample.cmake
file(GLOB_RECURSE files RELATIVE ${SAMPLE_DIR} LIST_DIRECTORIES false ${SAMPLE_DIR}/*)
list(SORT files)

string(REPEAT "0x..," 16 line)
set(arrays "")
set(table "")
set(index 0)
foreach(file IN LISTS files)
  file(READ ${SAMPLE_DIR}/${file} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # Sixteen bytes a line; the trailing 0 keeps an empty file's array legal.
  string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
  string(APPEND arrays "const unsigned char kFile${index}[] = {\n    ${bytes}0};\n")
  string(APPEND table "    {\"${file}\", kFile${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()

file(WRITE ${OUTPUT}.new
"// Generated from tools/cbasis/sample by EmbedSample.cmake: do not edit.
#include \"Sample.h\"

namespace cbasis {
namespace {

${arrays}
}  // namespace

const SampleFile kSampleFiles[] = {
${table}};
const std::size_t kSampleFileCount = ${index};

}  // namespace cbasis
")
# Only a changed source is rebuilt.
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
