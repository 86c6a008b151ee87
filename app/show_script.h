#pragma once

// Creates every brush and event of the show and loads (or, when
// `loadDuringShow`, schedules the loading of) every asset.
void BuildShow(bool loadDuringShow);
