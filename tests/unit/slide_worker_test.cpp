#include "show/render_workers.h"
#include "show/slide_worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace tessaro {
namespace {

using namespace std::chrono_literals;

// Files of a make-believe disk, shared between the test and the decoder on the worker thread.
// A file's frame is one pixel of its colour; a held file's render waits until it is released
// (and, when stubborn, ignores being asked to stop, like a read that never returns).
struct Disk {
    std::mutex mutex;
    std::condition_variable changed;
    std::map<std::wstring, std::uint32_t> colours;
    std::map<std::wstring, FileSignature> signatures;
    std::map<std::wstring, int> renders;
    std::map<std::wstring, bool> held;
    bool stubborn = false;
    std::vector<std::pair<std::uint64_t, std::optional<std::uint32_t>>> delivered;

    void Release(const std::wstring& path) {
        const std::lock_guard<std::mutex> lock(mutex);
        held[path] = false;
        changed.notify_all();
    }
    // Waits (generously) until condition holds.
    template <typename Condition>
    bool WaitFor(Condition condition) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, 10s, condition);
    }
};

class FakeDecoder final : public SlideDecoder {
public:
    explicit FakeDecoder(std::shared_ptr<Disk> disk) : disk_(std::move(disk)) {}
    std::optional<FileSignature> Signature(const std::wstring& path) override {
        const std::lock_guard<std::mutex> lock(disk_->mutex);
        return disk_->signatures[path];
    }
    std::optional<SlideFrame> Render(const std::wstring& path, int, int, const std::atomic<bool>& stop) override {
        std::unique_lock<std::mutex> lock(disk_->mutex);
        ++disk_->renders[path];
        disk_->changed.notify_all();
        // Polls: `stop` is set by the worker without the disk's lock.
        while (disk_->held[path] && (disk_->stubborn || !stop)) disk_->changed.wait_for(lock, 5ms);
        if (stop && !disk_->stubborn) return std::nullopt;
        const auto colour = disk_->colours.find(path);
        if (colour == disk_->colours.end()) return std::nullopt;
        return SlideFrame{Bitmap(1, 1, colour->second), {0, 0, 1, 1}};
    }

private:
    std::shared_ptr<Disk> disk_;
};

std::unique_ptr<SlideWorker> MakeWorker(const std::shared_ptr<Disk>& disk,
                                        std::shared_ptr<std::atomic<int>> abandoned = std::make_shared<std::atomic<int>>(0)) {
    return std::make_unique<SlideWorker>([disk] { return std::make_unique<FakeDecoder>(disk); },
                                         [disk](std::unique_ptr<RenderResult> result) {
                                             const std::lock_guard<std::mutex> lock(disk->mutex);
                                             std::optional<std::uint32_t> colour;
                                             if (result->frame) colour = result->frame->screen.pixels[0];
                                             disk->delivered.emplace_back(result->generation, colour);
                                             disk->changed.notify_all();
                                         },
                                         std::move(abandoned));
}

RenderJob Job(std::uint64_t generation, const wchar_t* path, bool prefetch = false) {
    return RenderJob{generation, path, 1024, 768, prefetch, nullptr};
}

TEST(SlideWorker, APrefetchedSlideIsDecodedOnceUnlessItsFileChangedOrItFailed) {
    enum class Between { Nothing, FileReplaced, FileReadableAgain, ScreenHeightChanged };
    struct Case {
        const char* what;
        Between between;
        int renders;
        std::uint32_t shown;
    };
    const Case cases[] = {
        {"the file is unchanged", Between::Nothing, 1, 0xFF0000FFu},
        {"the file was replaced after the prefetch", Between::FileReplaced, 2, 0xFF00FF00u},
        {"the file could not be read at the prefetch (locked), but can at the tick", Between::FileReadableAgain, 2,
         0xFF0000FFu},
        {"the screen's height alone changed after the prefetch", Between::ScreenHeightChanged, 2, 0xFF0000FFu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto disk = std::make_shared<Disk>();
        if (c.between != Between::FileReadableAgain) disk->colours[L"B"] = 0xFF0000FFu;
        disk->signatures[L"B"] = FileSignature{{1, 7}, 1000, 42};
        const auto worker = MakeWorker(disk);
        worker->Submit(Job(1, L"B", true));
        ASSERT_TRUE(disk->WaitFor([&] { return disk->renders[L"B"] == 1; }));
        {
            const std::lock_guard<std::mutex> lock(disk->mutex);
            if (c.between == Between::FileReplaced) {
                disk->signatures[L"B"].lastWrite = 43;
                disk->colours[L"B"] = 0xFF00FF00u;
            } else if (c.between == Between::FileReadableAgain) {
                disk->colours[L"B"] = 0xFF0000FFu;
            }
        }
        RenderJob change = Job(2, L"B");
        if (c.between == Between::ScreenHeightChanged) change.screenHeight = 700;
        worker->Submit(change);
        ASSERT_TRUE(disk->WaitFor([&] { return disk->delivered.size() == 1; }));
        const std::lock_guard<std::mutex> lock(disk->mutex);
        EXPECT_EQ(disk->delivered[0].first, 2u) << "only the slide change is delivered";
        EXPECT_EQ(disk->renders[L"B"], c.renders);
        EXPECT_EQ(disk->delivered[0].second, c.shown);
    }
}

TEST(SlideWorker, ASlideChangeTakesOverThePrefetchOfTheSameSlideInProgress) {
    auto disk = std::make_shared<Disk>();
    disk->colours[L"B"] = 0xFF123456u;
    disk->held[L"B"] = true;
    const auto worker = MakeWorker(disk);
    worker->Submit(Job(1, L"B", true));
    ASSERT_TRUE(disk->WaitFor([&] { return disk->renders[L"B"] == 1; }));
    worker->Submit(Job(2, L"B"));
    disk->Release(L"B");
    ASSERT_TRUE(disk->WaitFor([&] { return disk->delivered.size() == 1; }));
    const std::lock_guard<std::mutex> lock(disk->mutex);
    EXPECT_EQ(disk->renders[L"B"], 1);
    EXPECT_EQ(disk->delivered[0].second, 0xFF123456u);
}

TEST(SlideWorker, ANewerSlideChangeStopsTheOneInProgress) {
    auto disk = std::make_shared<Disk>();
    disk->colours = {{L"A", 0xFFAAAAAAu}, {L"C", 0xFFCCCCCCu}};
    disk->held[L"A"] = true;  // a slow slide, which does stop when asked
    const auto worker = MakeWorker(disk);
    worker->Submit(Job(1, L"A"));
    ASSERT_TRUE(disk->WaitFor([&] { return disk->renders[L"A"] == 1; }));
    worker->Submit(Job(2, L"C"));
    ASSERT_TRUE(disk->WaitFor([&] { return disk->delivered.size() == 1; }));
    const std::lock_guard<std::mutex> lock(disk->mutex);
    EXPECT_EQ(disk->delivered[0].first, 2u) << "the stopped render delivers nothing";
    EXPECT_EQ(disk->delivered[0].second, 0xFFCCCCCCu);
}

TEST(SlideWorker, AWorkerStuckInAReadIsAbandonedWithoutWaitingAndDeliversNothing) {
    auto disk = std::make_shared<Disk>();
    disk->colours = {{L"A", 0xFFAAAAAAu}, {L"C", 0xFFCCCCCCu}};
    disk->held[L"A"] = true;
    disk->stubborn = true;  // ignores being asked to stop
    const auto abandoned = std::make_shared<std::atomic<int>>(0);
    auto stuck = MakeWorker(disk, abandoned);
    stuck->Submit(Job(1, L"A"));
    ASSERT_TRUE(disk->WaitFor([&] { return disk->renders[L"A"] == 1; }));
    stuck.reset();  // returns at once although its thread cannot stop
    EXPECT_EQ(*abandoned, 1);

    const auto fresh = MakeWorker(disk, abandoned);
    fresh->Submit(Job(2, L"C"));
    ASSERT_TRUE(disk->WaitFor([&] { return disk->delivered.size() == 1; })) << "the next slide comes regardless";
    disk->Release(L"A");  // the read returns at last
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (*abandoned != 0 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(*abandoned, 0) << "the abandoned thread ends once its read returns";
    const std::lock_guard<std::mutex> lock(disk->mutex);
    ASSERT_EQ(disk->delivered.size(), 1u) << "nothing from the abandoned worker";
    EXPECT_EQ(disk->delivered[0].first, 2u);
}

// Each worker given up on keeps a thread; past the four that may run at once, the current one stays.
TEST(RenderWorkers, GiveUpOnStuckWorkersOnlyWhileFewEnoughStillRun) {
    constexpr int kMostAbandoned = 4;
    auto disk = std::make_shared<Disk>();
    disk->held[L"A"] = true;
    disk->stubborn = true;
    RenderWorkers workers([disk] { return std::make_unique<FakeDecoder>(disk); }, [](std::unique_ptr<RenderResult>) {});
    ASSERT_EQ(workers.StartFirst(), RenderWorkers::Start::Started);
    for (int stuck = 1; stuck <= kMostAbandoned + 1; ++stuck) {
        workers.Submit(Job(static_cast<std::uint64_t>(stuck), L"A"));
        ASSERT_TRUE(disk->WaitFor([&] { return disk->renders[L"A"] == stuck; }));
        const bool replaced = stuck <= kMostAbandoned;
        EXPECT_EQ(workers.ReplaceStuck(), replaced ? RenderWorkers::Start::Started : RenderWorkers::Start::TooManyAbandoned);
        if (!replaced) break;
    }
    EXPECT_EQ(workers.AbandonedRunning(), kMostAbandoned);
    disk->Release(L"A");
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (workers.AbandonedRunning() != 0 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
    ASSERT_EQ(workers.AbandonedRunning(), 0) << "the given-up threads end once their reads return";
    EXPECT_EQ(workers.ReplaceStuck(), RenderWorkers::Start::Started);
}

}  // namespace
}  // namespace tessaro
