#pragma once

namespace hlv {

// Ends whatever of the show is still pending, at quit or when a run stops
// early: destroys every brush on the layers, every brush whose activation has
// not fired yet (activation events do not own their brush), then every
// pending event.
void clearShow();

} // namespace hlv
