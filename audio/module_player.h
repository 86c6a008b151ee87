#pragma once
#include <memory>
#include <vector>

namespace openmpt {
class module;
}

namespace audio {

// One tracker module, rendered by libopenmpt at the mixing rate. Not
// thread-safe: the mixer calls it under its lock.
class ModulePlayer {
public:
    // Loads a module from the file's bytes. On failure returns null and sets
    // `error` to FMOD_ERR_FILE_FORMAT (not a module libopenmpt knows) or
    // FMOD_ERR_FILE_BAD (a module it cannot read).
    static std::unique_ptr<ModulePlayer> load(const std::vector<unsigned char>& bytes, int* error);
    ~ModulePlayer();

    // FMUSIC_TYPES code of the module's format.
    int type() const { return type_; }

    void setVolume(int volume) { volume_ = volume; }
    // 0.0 (mono) .. 1.0 (as written).
    void setPanSeparation(float separation);
    void play();
    void stop() { playing_ = false; }
    bool playing() const { return playing_; }

    // Adds `frames` stereo frames at `rate`, scaled by the volume, to `mix`.
    void mixInto(float* mix, int frames, int rate);

private:
    explicit ModulePlayer(std::unique_ptr<openmpt::module> module);

    std::unique_ptr<openmpt::module> module_;
    std::vector<float> scratch_;
    int type_ = 0;
    int volume_ = 255;
    bool playing_ = false;
};

// FMUSIC_TYPES code for a libopenmpt format name ("xm", "it", "s3m", ...).
int moduleTypeOf(const char* formatName);

} // namespace audio
