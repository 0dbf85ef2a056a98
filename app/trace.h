// A light record of named steps (start-up steps, z-order steps) that tests
// switch on to see what ran and in which order. Off unless a sink is set.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Starts recording into sink (nullptr stops recording).
void SetTraceSink(std::vector<std::string>* sink);
// Appends step to the sink, if one is set.
void TraceStep(std::string_view step);
