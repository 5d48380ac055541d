#include "usage_log.h"

#include <psapi.h>

#include <algorithm>
#include <future>

namespace tessaro::e2e {

struct UsageLog::State {
    std::promise<HANDLE> watched;
    std::shared_future<HANDLE> process = watched.get_future().share();
    mutable std::mutex mutex;
    std::vector<UsageSample> samples;
};

UsageLog::UsageLog() : state_(std::make_shared<State>()) {}

TraceSink UsageLog::Sink() const {
    return [state = state_](const std::wstring& line) {
        std::optional<UsageSample> sample = ParseUsageSample(line);
        if (!sample) return;
        // The first sample can only come after several slides, long after Watch; the bound is
        // for a test that failed before it could call it.
        if (state->process.wait_for(kPatience) == std::future_status::ready) {
            PROCESS_MEMORY_COUNTERS counters{};
            counters.cb = sizeof(counters);
            if (::GetProcessMemoryInfo(state->process.get(), &counters, sizeof(counters))) {
                sample->workingSetKb = counters.WorkingSetSize >> 10;
            }
        }
        const std::lock_guard<std::mutex> lock(state->mutex);
        state->samples.push_back(*sample);
    };
}

void UsageLog::Watch(const Process& process) const { state_->watched.set_value(process.Handle()); }

std::vector<UsageSample> UsageLog::Samples() const {
    const std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->samples;
}

bool UsageLog::WaitForSlides(std::uint64_t slides, Milliseconds timeout) const {
    return WaitUntil(
        [&] {
            const std::lock_guard<std::mutex> lock(state_->mutex);
            return !state_->samples.empty() && state_->samples.back().slides >= slides;
        },
        timeout);
}

namespace {

// The highest level of one figure over the samples [begin, end), with shorter stretches when
// there are fewer samples than a stretch.
template <typename Figure>
std::int64_t HighestLevel(const std::vector<UsageSample>& samples, std::size_t begin, std::size_t end,
                          std::size_t longestStretch, Figure figure) {
    const std::size_t stretch = std::min(longestStretch, end - begin);
    std::int64_t highest = 0;
    for (std::size_t first = begin; stretch > 0 && first + stretch <= end; ++first) {
        std::int64_t level = static_cast<std::int64_t>(samples[first].*figure);
        for (std::size_t i = first + 1; i < first + stretch; ++i) {
            level = std::min(level, static_cast<std::int64_t>(samples[i].*figure));
        }
        highest = std::max(highest, level);
    }
    return highest;
}

}  // namespace

UsageGrowth GrowthAfterWarmUp(const std::vector<UsageSample>& samples, std::uint64_t warmUpSlides, std::size_t stretch) {
    const std::size_t warmUpEnd = static_cast<std::size_t>(
        std::find_if(samples.begin(), samples.end(), [&](const UsageSample& s) { return s.slides > warmUpSlides; }) -
        samples.begin());
    const auto growth = [&](auto figure) {
        return std::max<std::int64_t>(0, HighestLevel(samples, warmUpEnd, samples.size(), stretch, figure) -
                                             HighestLevel(samples, 0, warmUpEnd, stretch, figure));
    };
    return {growth(&UsageSample::eventHandle) / 4, growth(&UsageSample::gdiIndex), growth(&UsageSample::userIndex),
            growth(&UsageSample::workingSetKb)};
}

}  // namespace tessaro::e2e
