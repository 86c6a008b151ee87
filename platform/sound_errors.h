#pragma once
// The sound system's own complaints.

namespace platform {

// Stops libasound from printing its configuration errors ("ALSA lib
// confmisc.c:855:(parse_card) cannot find card '0'" and seven more) on a
// machine without a sound card. SDL opens libasound itself when it tries
// ALSA; the handler is set in that same library. Nothing happens where
// libasound is not installed.
void silenceSoundLibraryErrors();

// False when the kernel lists no sound card (no /dev/snd).
bool hasSoundCard();

} // namespace platform
