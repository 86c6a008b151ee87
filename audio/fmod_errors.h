#pragma once

// The text of a sound-library error code (FMOD_ERRORS); "Unknown error" for
// any other value.
const char* FMOD_ErrorString(int errorCode);
