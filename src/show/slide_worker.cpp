#include "slide_worker.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

namespace tessaro {
namespace {

bool SameSlide(const RenderJob& a, const RenderJob& b) {
    return a.path == b.path && a.screenWidth == b.screenWidth && a.screenHeight == b.screenHeight &&
           a.monitorProfile == b.monitorProfile;
}

// A prefetched frame and what the file looked like just before it was read.
struct Prefetched {
    RenderJob job;
    std::optional<FileSignature> signature;
    std::optional<SlideFrame> frame;
};

}  // namespace

struct SlideWorker::Shared {
    MakeDecoder makeDecoder;
    Deliver deliver;
    std::shared_ptr<std::atomic<int>> abandonedRunning;

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<RenderJob> queue;
    std::optional<RenderJob> current;  // the job being rendered
    std::atomic<bool> stopCurrent{false};
    bool abandoned = false;
};

SlideWorker::SlideWorker(MakeDecoder makeDecoder, Deliver deliver, std::shared_ptr<std::atomic<int>> abandonedRunning)
    : shared_(std::make_shared<Shared>()) {
    shared_->makeDecoder = std::move(makeDecoder);
    shared_->deliver = std::move(deliver);
    shared_->abandonedRunning = std::move(abandonedRunning);
    std::thread(&SlideWorker::Run, shared_).detach();
}

SlideWorker::~SlideWorker() {
    {
        const std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->abandoned = true;
        shared_->queue.clear();
        ++*shared_->abandonedRunning;  // the thread counts itself out when it ends
    }
    shared_->stopCurrent = true;
    shared_->wake.notify_all();
}

void SlideWorker::Submit(RenderJob job) {
    Shared& s = *shared_;
    const std::lock_guard<std::mutex> lock(s.mutex);
    if (job.prefetch) {
        s.queue.erase(std::remove_if(s.queue.begin(), s.queue.end(), [](const RenderJob& queued) { return queued.prefetch; }),
                      s.queue.end());
    } else {
        s.queue.clear();
        const bool currentIsItsPrefetch = s.current && s.current->prefetch && SameSlide(*s.current, job);
        if (s.current && !currentIsItsPrefetch) s.stopCurrent = true;
    }
    s.queue.push_back(std::move(job));
    s.wake.notify_one();
}

void SlideWorker::Run(std::shared_ptr<Shared> shared) {
    Shared& s = *shared;
    std::unique_ptr<SlideDecoder> decoder = s.makeDecoder();
    const auto render = [&](const RenderJob& job) -> std::optional<SlideFrame> {
        if (!decoder) return std::nullopt;
        decoder->UseMonitorProfile(job.monitorProfile);
        return decoder->Render(job.path, job.screenWidth, job.screenHeight, s.stopCurrent);
    };
    std::optional<Prefetched> prefetched;
    for (;;) {
        RenderJob job;
        {
            std::unique_lock<std::mutex> lock(s.mutex);
            s.current.reset();
            s.wake.wait(lock, [&] { return s.abandoned || !s.queue.empty(); });
            if (s.abandoned) break;
            job = std::move(s.queue.front());
            s.queue.pop_front();
            s.current = job;
            s.stopCurrent = false;
        }

        if (job.prefetch) {
            prefetched.reset();  // give the old frame back before decoding the next
            std::optional<FileSignature> signature = decoder ? decoder->Signature(job.path) : std::nullopt;
            std::optional<SlideFrame> frame = render(job);
            if (!s.stopCurrent) prefetched = Prefetched{std::move(job), signature, std::move(frame)};
            continue;
        }

        auto result = std::make_unique<RenderResult>();
        result->generation = job.generation;
        // The prefetched frame counts only if there is one (a file locked by another program at
        // that moment may be readable now) and the file is still the one that was read.
        const bool hit = prefetched && prefetched->frame && SameSlide(prefetched->job, job) && prefetched->signature &&
                         decoder->Signature(job.path) == prefetched->signature;
        if (hit) result->frame = std::move(prefetched->frame);
        prefetched.reset();  // a frame that missed goes before another is rendered
        if (!hit) result->frame = render(job);
        if (s.stopCurrent) continue;  // superseded: a later slide change is under way
        {
            const std::lock_guard<std::mutex> lock(s.mutex);
            if (s.abandoned) break;
        }
        s.deliver(std::move(result));
    }
    --*s.abandonedRunning;
}

}  // namespace tessaro
