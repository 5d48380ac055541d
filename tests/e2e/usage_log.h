#pragma once
// The usage samples a traced test build of the saver writes as its slides go by
// (tests/builds/sampling_decoder.cpp), each with the process's working set read from outside at
// the moment the sample was written, while the process waits for its debugger.

#include <cstdint>
#include <memory>
#include <vector>

#include "../builds/usage_sample.h"
#include "harness.h"

namespace tessaro::e2e {

class UsageLog {
public:
    UsageLog();
    // Start the saver with this sink (SaverFolder::StartTraced), then Watch the process it became.
    TraceSink Sink() const;
    void Watch(const Process& process) const;

    std::vector<UsageSample> Samples() const;
    // Waits until a sample at or past `slides` has come; false on timeout.
    bool WaitForSlides(std::uint64_t slides, Milliseconds timeout) const;

private:
    struct State;
    std::shared_ptr<State> state_;
};

// A figure's level over a stretch of samples in a row is the lowest it fell to in them: what the
// process holds for a moment (a worker replaced while it decodes, a big slide being decoded)
// comes and goes, what it leaks stays.
inline constexpr std::size_t kSteadyStretch = 5;

// How far each figure's level rose, after the first warmUpSlides slides, above its highest level
// during them; 0 for a figure that stayed at or below it. Kernel handles count in handles (their
// values go up in fours).
struct UsageGrowth {
    std::int64_t kernelHandles = 0;
    std::int64_t gdiObjects = 0;
    std::int64_t userObjects = 0;
    std::int64_t workingSetKb = 0;
};
UsageGrowth GrowthAfterWarmUp(const std::vector<UsageSample>& samples, std::uint64_t warmUpSlides,
                              std::size_t stretch = kSteadyStretch);

}  // namespace tessaro::e2e
