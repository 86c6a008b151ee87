#pragma once

// The process's peak resident memory in kilobytes (VmHWM), or -1 when the
// system does not tell it.
long peakResidentKilobytes();
