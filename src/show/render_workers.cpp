#include "render_workers.h"

#include <system_error>
#include <utility>

namespace tessaro {

RenderWorkers::RenderWorkers(SlideWorker::MakeDecoder makeDecoder, SlideWorker::Deliver deliver)
    : makeDecoder_(std::move(makeDecoder)), deliver_(std::move(deliver)) {}

RenderWorkers::Start RenderWorkers::StartFirst() { return StartFresh(); }

RenderWorkers::Start RenderWorkers::ReplaceStuck() {
    if (*abandonedRunning_ >= kMostAbandonedRunning) return Start::TooManyAbandoned;
    return StartFresh();
}

RenderWorkers::Start RenderWorkers::StartFresh() {
    try {
        // The worker it replaces is abandoned only once the fresh one runs.
        current_ = std::make_unique<SlideWorker>(makeDecoder_, deliver_, abandonedRunning_);
        return Start::Started;
    } catch (const std::system_error& failure) {
        startFailure_ = failure.code();
        return Start::NoThread;
    }
}

void RenderWorkers::Submit(RenderJob job) {
    if (current_) current_->Submit(std::move(job));
}

}  // namespace tessaro
