#include "audio/mp3_decoder.h"

#include <cstring>
#include <mpg123.h>

#include "audio/fmod.h"

namespace audio {
namespace {

bool initialiseLibrary()
{
    static const bool ready = mpg123_init() == MPG123_OK;
    return ready;
}

} // namespace

std::unique_ptr<Mp3Decoder> Mp3Decoder::open(std::vector<unsigned char> bytes, int rate, int* error)
{
    if (!initialiseLibrary()) {
        *error = FMOD_ERR_MEMORY;
        return nullptr;
    }
    std::unique_ptr<Mp3Decoder> decoder(new Mp3Decoder(std::move(bytes), rate));
    if (!decoder->handle_) {
        *error = FMOD_ERR_MEMORY;
        return nullptr;
    }
    if (!decoder->start()) {
        *error = FMOD_ERR_FILE_FORMAT;
        return nullptr;
    }
    return decoder;
}

Mp3Decoder::Mp3Decoder(std::vector<unsigned char> bytes, int rate)
    : bytes_(std::move(bytes)), rate_(rate)
{
    handle_ = mpg123_new(nullptr, nullptr);
    if (!handle_)
        return;
    mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_FORCE_STEREO | MPG123_GAPLESS, 0.0);
    mpg123_format_none(handle_);
    mpg123_format(handle_, rate, MPG123_STEREO, MPG123_ENC_FLOAT_32);
}

Mp3Decoder::~Mp3Decoder()
{
    if (handle_) {
        mpg123_close(handle_);
        mpg123_delete(handle_);
    }
}

// Feeds the whole file and decodes up to the first frame: a file in which
// no frame can be found is not MPEG audio.
bool Mp3Decoder::start()
{
    mpg123_close(handle_);
    ended_ = false;
    if (mpg123_open_feed(handle_) != MPG123_OK)
        return false;
    if (!bytes_.empty() && mpg123_feed(handle_, bytes_.data(), bytes_.size()) != MPG123_OK)
        return false;
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    atStart_ = mpg123_getformat(handle_, &rate, &channels, &encoding) == MPG123_OK && rate == rate_ && channels == 2 && encoding == MPG123_ENC_FLOAT_32;
    return atStart_;
}

bool Mp3Decoder::rewind()
{
    return atStart_ || start();
}

int Mp3Decoder::read(float* out, int frames)
{
    const size_t frameBytes = 2 * sizeof(float);
    atStart_ = false;
    size_t filled = 0;
    const size_t wanted = static_cast<size_t>(frames) * frameBytes;
    unsigned char* target = reinterpret_cast<unsigned char*>(out);
    while (!ended_ && filled < wanted) {
        size_t done = 0;
        const int result = mpg123_read(handle_, target + filled, wanted - filled, &done);
        filled += done;
        if (result == MPG123_NEW_FORMAT || (result == MPG123_OK && done > 0))
            continue;
        if (result != MPG123_OK || done == 0)
            ended_ = true;
    }
    // Whole frames only; a stray partial frame at the very end is dropped.
    return static_cast<int>(filled / frameBytes);
}

} // namespace audio
