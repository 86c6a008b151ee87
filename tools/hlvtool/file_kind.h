#pragma once
// Which of the files hlvtool reads a file is, told by its content: users
// save objects without an extension or as ".LWO", and scenes likewise.

#include <string>

namespace hlvtool {

enum class FileKind { Unknown, SceneFile, LightWaveObject, LightWaveScene };

// "FORM", a length and LWO2, LWO3 or LWOB: a LightWave object; "LWSC" as the
// first word: a LightWave scene; a stored class name: a scene file. A file
// that cannot be read, or holds none of these, goes by its extension (.hlv,
// .lwo, .lws in any case), so that the reader can say what is wrong.
FileKind fileKindOf(const std::string& path);

} // namespace hlvtool
