#pragma once
#include <string>
#include <vector>

// The summary line of a run: frame count, median, 99th percentile and
// maximum of the frame times (milliseconds).
std::string frameTimeSummary(std::vector<double> milliseconds);
