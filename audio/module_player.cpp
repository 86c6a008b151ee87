#include "audio/module_player.h"

#include <cstring>
#include <ostream>
#include <libopenmpt/libopenmpt.hpp>

#include "audio/fmod.h"

namespace audio {

int moduleTypeOf(const char* formatName)
{
    static const char* const itLike[] = {"it", "mptm"};
    static const char* const s3mLike[] = {"s3m", "stm", "stx", "669", "mtm", "far", "ult", "psm", "ptm", "okt", "imf", "dsm", "amf", "mdl", "dbm", "gdm", "dtm", "plm", "mt2"};
    for (const char* name : itLike)
        if (std::strcmp(formatName, name) == 0)
            return FMUSIC_TYPE_IT;
    if (std::strcmp(formatName, "xm") == 0)
        return FMUSIC_TYPE_XM;
    for (const char* name : s3mLike)
        if (std::strcmp(formatName, name) == 0)
            return FMUSIC_TYPE_S3M;
    return FMUSIC_TYPE_MOD;
}

std::unique_ptr<ModulePlayer> ModulePlayer::load(const std::vector<unsigned char>& bytes, int* error)
{
    // A probe tells "not a module at all" apart from "a module that is
    // broken"; a file it cannot judge counts as not a module. An empty file
    // never reaches it: libopenmpt throws for a probe of no bytes.
    const int probe = bytes.empty() ? openmpt::probe_file_header_result_failure
                                    : openmpt::probe_file_header(openmpt::probe_file_header_flags_default2,
                                                                 bytes.data(), bytes.size());
    if (probe == openmpt::probe_file_header_result_failure) {
        *error = FMOD_ERR_FILE_FORMAT;
        return nullptr;
    }
    try {
        std::ostream discardWarnings(nullptr);
        auto module = std::make_unique<openmpt::module>(bytes, discardWarnings);
        return std::unique_ptr<ModulePlayer>(new ModulePlayer(std::move(module)));
    } catch (const std::bad_alloc&) {
        *error = FMOD_ERR_MEMORY;
    } catch (const std::exception&) {
        *error = probe == openmpt::probe_file_header_result_success ? FMOD_ERR_FILE_BAD : FMOD_ERR_FILE_FORMAT;
    }
    return nullptr;
}

ModulePlayer::ModulePlayer(std::unique_ptr<openmpt::module> module)
    : module_(std::move(module))
{
    type_ = moduleTypeOf(module_->get_metadata("type").c_str());
    module_->set_repeat_count(-1);
}

ModulePlayer::~ModulePlayer() = default;

void ModulePlayer::setPanSeparation(float separation)
{
    module_->set_render_param(openmpt::module::RENDER_STEREOSEPARATION_PERCENT, static_cast<int>(separation * 100.0f + 0.5f));
}

void ModulePlayer::play()
{
    module_->set_position_order_row(0, 0);
    playing_ = true;
}

void ModulePlayer::mixInto(float* mix, int frames, int rate)
{
    if (!playing_)
        return;
    scratch_.resize(static_cast<size_t>(frames) * 2);
    size_t rendered = 0;
    try {
        rendered = module_->read_interleaved_stereo(rate, static_cast<size_t>(frames), scratch_.data());
    } catch (const std::exception&) {
        rendered = 0;
    }
    if (rendered == 0) {
        playing_ = false;
        return;
    }
    const float gain = static_cast<float>(volume_) / 255.0f;
    for (size_t i = 0; i < rendered * 2; ++i)
        mix[i] += scratch_[i] * gain;
}

} // namespace audio
