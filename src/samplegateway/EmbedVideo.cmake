# Writes OUTPUT, a source that defines the functions of cameravideo.h over the bytes of the two
# MPEG-2 files in DIR. Run as a script at build time, so that a new file is taken.
function(zv_bytes_of file out)
    file(READ ${file} hex HEX)
    string(LENGTH "${hex}" length)
    set(lines "")
    # Thirty-two bytes a line.
    set(step 64)
    set(position 0)
    while(position LESS length)
        string(SUBSTRING "${hex}" ${position} ${step} piece)
        string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," piece "${piece}")
        string(APPEND lines "    ${piece}\n")
        math(EXPR position "${position} + ${step}")
    endwhile()
    set(${out} "${lines}" PARENT_SCOPE)
endfunction()

zv_bytes_of(${DIR}/camera352x240.m2v large)
zv_bytes_of(${DIR}/camera176x144.m2v small)
file(WRITE ${OUTPUT}.tmp "// Made by EmbedVideo.cmake from video/*.m2v; not to be edited.
#include \"samplegateway/cameravideo.h\"

namespace samplegateway {
namespace {

const uint8_t kLarge[] = {
${large}};

const uint8_t kSmall[] = {
${small}};

}  // namespace

std::span<const uint8_t> CameraVideo352x240() { return kLarge; }
std::span<const uint8_t> CameraVideo176x144() { return kSmall; }

}  // namespace samplegateway
")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
