#pragma once
#include <memory>
#include <vector>

struct mpg123_handle_struct;

namespace audio {

// An MP3 file held in memory, decoded by libmpg123 to float stereo at the
// mixing rate (mono is doubled, other rates resampled). Not thread-safe:
// the mixer calls it under its lock.
class Mp3Decoder {
public:
    // On failure returns null and sets `error` to FMOD_ERR_FILE_FORMAT (no
    // MPEG audio in the file) or FMOD_ERR_MEMORY.
    static std::unique_ptr<Mp3Decoder> open(std::vector<unsigned char> bytes, int rate, int* error);
    ~Mp3Decoder();

    // Back to the first sample. Free when nothing has been read yet, so
    // that a stream starts at once.
    bool rewind();
    // Decodes up to `frames` stereo frames into `out`; fewer only at the end
    // of the file (or where the rest cannot be decoded).
    int read(float* out, int frames);

private:
    Mp3Decoder(std::vector<unsigned char> bytes, int rate);
    bool start();

    std::vector<unsigned char> bytes_;
    int rate_;
    mpg123_handle_struct* handle_ = nullptr;
    bool ended_ = false;
    bool atStart_ = false;
};

} // namespace audio
