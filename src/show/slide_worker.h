#pragma once
// Renders slides on a thread of its own, so that the window never waits for a file or a decoder.
// Portable C++: what actually decodes is a SlideDecoder made on the worker thread.
//
// A worker is never waited for. Destroying it abandons it: its current render is asked to stop,
// and its thread ends on its own once the render returns, which may be never (a read from a share
// that went away). A result it was already delivering may still arrive; its generation is stale
// by then, and the slide show drops it.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "slides/slide_decoder.h"

namespace tessaro {

struct RenderJob {
    std::uint64_t generation = 0;
    std::wstring path;
    int screenWidth = 0;
    int screenHeight = 0;
    bool prefetch = false;  // keep the frame until a job asks for the same slide
    std::shared_ptr<const ProfileBytes> monitorProfile;  // the primary monitor's colour profile, if any
};

struct RenderResult {
    std::uint64_t generation = 0;
    std::optional<SlideFrame> frame;  // empty: the slide cannot be shown
};

class SlideWorker {
public:
    // Both run on the worker thread: makeDecoder once at its start (COM and the like belong to
    // that thread), deliver for every result of a job that was not a prefetch.
    using MakeDecoder = std::function<std::unique_ptr<SlideDecoder>()>;
    using Deliver = std::function<void(std::unique_ptr<RenderResult>)>;

    // abandonedRunning counts this worker's thread from the moment it is abandoned until it ends;
    // workers that share it are counted together.
    SlideWorker(MakeDecoder makeDecoder, Deliver deliver, std::shared_ptr<std::atomic<int>> abandonedRunning);
    ~SlideWorker();  // abandons the thread, never waits for it
    SlideWorker(const SlideWorker&) = delete;
    SlideWorker& operator=(const SlideWorker&) = delete;

    // A slide change supersedes every job not yet begun and stops the current one, unless that
    // is the prefetch of this very slide, whose frame it will then take. A prefetch supersedes
    // earlier prefetches not yet begun.
    void Submit(RenderJob job);

private:
    struct Shared;
    static void Run(std::shared_ptr<Shared> shared);

    std::shared_ptr<Shared> shared_;
};

}  // namespace tessaro
