#pragma once
// The saver's slide worker, and the ones it has given up on. A worker still busy with a slide
// change a whole interval later may be stuck in a read that never returns: it is given up on and
// a fresh one takes over. Each given-up worker keeps its thread, and whatever it was reading,
// until its read returns; so only a few may be left running at once, and beyond that slide
// changes wait in the current worker.

#include <atomic>
#include <memory>
#include <system_error>

#include "slide_worker.h"

namespace tessaro {

class RenderWorkers {
public:
    static constexpr int kMostAbandonedRunning = 4;

    enum class Start {
        Started,
        TooManyAbandoned,  // the current worker stays
        NoThread,          // the system gave no thread; the current worker, if any, stays
    };

    RenderWorkers(SlideWorker::MakeDecoder makeDecoder, SlideWorker::Deliver deliver);
    RenderWorkers(const RenderWorkers&) = delete;
    RenderWorkers& operator=(const RenderWorkers&) = delete;

    // The first worker.
    Start StartFirst();
    // Gives the current worker up for a fresh one, unless too many given up on still run.
    Start ReplaceStuck();
    // To the current worker; dropped when there is none.
    void Submit(RenderJob job);

    // Given-up workers whose threads have not ended yet.
    int AbandonedRunning() const { return *abandonedRunning_; }
    // Why the last start found no thread.
    std::error_code StartFailure() const { return startFailure_; }

private:
    Start StartFresh();

    SlideWorker::MakeDecoder makeDecoder_;
    SlideWorker::Deliver deliver_;
    std::shared_ptr<std::atomic<int>> abandonedRunning_ = std::make_shared<std::atomic<int>>(0);
    std::unique_ptr<SlideWorker> current_;
    std::error_code startFailure_;
};

}  // namespace tessaro
