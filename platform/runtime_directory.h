#pragma once
// The per-user runtime directory (XDG_RUNTIME_DIR) that desktop libraries
// expect a login session to provide.

namespace platform {

// Leaves an absolute XDG_RUNTIME_DIR alone. When it is unset or not absolute
// (a root shell, a service, a container), points it at a private directory of
// our own (mode 0700, owned by the user) under the temporary folder: SDL looks
// for a Wayland display whenever X11 cannot be reached, and libwayland prints
// "XDG_RUNTIME_DIR is invalid or not set" without one.
void provideRuntimeDirectory();

} // namespace platform
