#pragma once
// The sound library the show talks to: the calls of the FMOD 3 interface
// that the show uses, with the same argument shapes, results and error codes,
// served by our own mixer (libopenmpt for modules, libmpg123 for the MP3
// stream, SDL2 audio for the device).
//
// Every call is safe before FSOUND_Init and after FSOUND_Close: it does
// nothing, returns its failure value and sets error FMOD_ERR_UNINITIALIZED.
// Handles are never reused, so a handle kept past FSOUND_Close is harmless.

struct FMUSIC_MODULE;
struct FSOUND_STREAM;

// Called when a stream reaches a synchronisation point (`buffer` is its
// name, `length` its position in samples) or its end (`buffer` null,
// `length` 0). It runs on the mixing thread, outside the library's lock;
// it must not call FSOUND_Close. Its result is ignored.
typedef signed char (*FSOUND_STREAMCALLBACK)(FSOUND_STREAM* stream, void* buffer, int length, int param);

enum FMOD_ERRORS {
    FMOD_ERR_NONE,
    FMOD_ERR_BUSY,
    FMOD_ERR_UNINITIALIZED,
    FMOD_ERR_INIT,
    FMOD_ERR_ALLOCATED,
    FMOD_ERR_PLAY,
    FMOD_ERR_OUTPUT_FORMAT,
    FMOD_ERR_COOPERATIVELEVEL,
    FMOD_ERR_CREATEBUFFER,
    FMOD_ERR_FILE_NOTFOUND,
    FMOD_ERR_FILE_FORMAT,
    FMOD_ERR_FILE_BAD,
    FMOD_ERR_MEMORY,
    FMOD_ERR_VERSION,
    FMOD_ERR_INVALID_PARAM,
    FMOD_ERR_NO_EAX,
    FMOD_ERR_NO_EAX2,
    FMOD_ERR_CHANNEL_ALLOC,
    FMOD_ERR_RECORD,
    FMOD_ERR_MEDIAPLAYER,
};

// Output types for FSOUND_SetOutput. Every type not listed here (1, 3..11)
// means the system's audio device, like FSOUND_OUTPUT_DSOUND.
enum FSOUND_OUTPUTTYPES {
    // No device: mixes silently in real time, so tunes and streams advance
    // and stream callbacks fire.
    FSOUND_OUTPUT_NOSOUND = 0,
    // The system's audio device through SDL2 (SDL_AUDIODRIVER chooses the
    // driver, e.g. "disk" or "dummy"). Falls back to FSOUND_OUTPUT_NOSOUND
    // when no device can be opened.
    FSOUND_OUTPUT_DSOUND = 2,
    // Nothing advances until the mixer is asked for samples (audio/capture.h).
    FSOUND_OUTPUT_NOSOUND_NONREALTIME = 12,
};

// Module formats reported by FMUSIC_GetType. libopenmpt reads many more
// formats than these; each is reported as the one whose playback rules it
// follows: "it" and "mptm" as IT; "xm" as XM; "s3m" and the other PC
// trackers' formats (stm, 669, mtm, far, ult, psm, ...) as S3M; "mod" and
// the Amiga formats (med, okt, digi, ...) as MOD. Every other format is
// reported as MOD.
enum FMUSIC_TYPES {
    FMUSIC_TYPE_NONE,
    FMUSIC_TYPE_MOD,
    FMUSIC_TYPE_S3M,
    FMUSIC_TYPE_XM,
    FMUSIC_TYPE_IT,
    FMUSIC_TYPE_MIDI,
};

// FSOUND_Stream_Play: the first free channel. FSOUND_SetPan: play the
// stream's two channels unpanned.
constexpr int FSOUND_FREE = -1;
constexpr int FSOUND_STEREOPAN = -1;

// The library: version, output, start and stop.
float FSOUND_GetVersion();
// Only before FSOUND_Init (else FMOD_ERR_BUSY).
signed char FSOUND_SetOutput(int outputType);
// Only the default device (0) exists; only before FSOUND_Init (else
// FMOD_ERR_BUSY).
signed char FSOUND_SetDriver(int driver);
// mixRate: 8000..192000 Hz; maxChannels: stream channels, 1..256; flags are
// accepted and ignored. True on success; a second call before FSOUND_Close
// fails with FMOD_ERR_BUSY.
signed char FSOUND_Init(int mixRate, int maxChannels, unsigned int flags);
// The code of the last failed call (FMOD_ERRORS); a call that succeeds sets
// FMOD_ERR_NONE.
int FSOUND_GetError();
// Stops the output and frees every tune and stream.
void FSOUND_Close();

// Modules. Volume is 0..255 (255 = as the module was written); pan
// separation is 0.0 (mono) .. 1.0 (as written, the default).
FMUSIC_MODULE* FMUSIC_LoadSong(const char* resourceName);
int FMUSIC_GetType(FMUSIC_MODULE* module);
signed char FMUSIC_SetMasterVolume(FMUSIC_MODULE* module, int volume);
signed char FMUSIC_SetPanSeperation(FMUSIC_MODULE* module, float separation);
// Starts from the beginning and repeats until stopped.
signed char FMUSIC_PlaySong(FMUSIC_MODULE* module);
signed char FMUSIC_StopSong(FMUSIC_MODULE* module);

// The MP3 stream. `mode` and `length` are accepted and ignored: a stream
// plays once, from a file, at the mixing rate in stereo.
FSOUND_STREAM* FSOUND_Stream_OpenFile(const char* resourceName, unsigned int mode, int length);
// Called once each time the stream plays to its end.
signed char FSOUND_Stream_SetEndCallback(FSOUND_STREAM* stream, FSOUND_STREAMCALLBACK callback, int param);
// Called at each chapter mark (ID3v2 "CHAP" frame) of the file with the
// chapter's title (its "TIT2" sub-frame), or its element id when untitled.
signed char FSOUND_Stream_SetSynchCallback(FSOUND_STREAM* stream, FSOUND_STREAMCALLBACK callback, int param);
// Plays from the beginning on `channel` (or the first free one for
// FSOUND_FREE). Returns the channel, or -1.
int FSOUND_Stream_Play(int channel, FSOUND_STREAM* stream);
// Stops and frees the stream.
signed char FSOUND_Stream_Close(FSOUND_STREAM* stream);

// 0 = left .. 255 = right, linear (the middle halves each side), or
// FSOUND_STEREOPAN. A stream starts in the middle (128), as it did in the
// original library, so each side is heard at half level until the caller
// asks for FSOUND_STEREOPAN.
signed char FSOUND_SetPan(int channel, int pan);
