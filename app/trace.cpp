#include "app/trace.h"

namespace {
std::vector<std::string>* g_sink = nullptr;
}

void SetTraceSink(std::vector<std::string>* sink) { g_sink = sink; }

void TraceStep(std::string_view step) {
    if (g_sink) g_sink->emplace_back(step);
}
