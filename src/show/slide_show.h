#pragma once
// The slide show over time, apart from any window or thread: which slide comes next, when a
// render is asked for, which finished render is shown, and when the mouse reference is re-armed.
//
// Rendering happens elsewhere (a worker thread) and answers later, or never. Every render order
// carries a generation; an answer whose generation is not the awaited one is stale and dropped.

#include <cstdint>
#include <optional>

#include "movement_rule.h"
#include "saver_input.h"

namespace tessaro {

class SlideShow {
public:
    struct RenderOrder {
        std::uint64_t generation;
        std::int16_t slide;
        bool prefetch;  // render ahead and keep it: the next tick asks for this slide
    };

    // What the window does after an event, in this order.
    struct Actions {
        enum class Screen { Keep, ShowFrame, Black };
        // The slide the worker has been busy with for a whole interval (a read that may never
        // return), 0 when none: give up on it and on its worker, and render on a fresh one.
        std::int16_t overdueSlide = 0;
        Screen screen = Screen::Keep;
        std::optional<RenderOrder> render;
    };

    explicit SlideShow(std::int16_t slideCount);

    // The saver starts: slide 1 is asked for, and the first movement only records the reference.
    Actions Start();
    // The timer. Without the focus nothing changes; otherwise the next slide is asked for, and
    // the slide number advances now, whether or not that slide can be shown.
    Actions Tick(bool focused);
    // The worker's answer to a render order that was not a prefetch.
    Actions Rendered(std::uint64_t generation, bool succeeded);
    // The monitors changed (a new resolution, a monitor plugged in or out). When the primary
    // monitor's size changed, the screen is black until the slide on screen, or the one a slide
    // change is waiting for, is rendered anew at the new size, and whatever is being rendered for
    // the old size is stale; otherwise the slide stays as it is. Either way, whatever moved the
    // pointer was not the user: the next movement only records the reference.
    Actions DisplayChanged(bool primarySizeChanged);
    // True when the input ends the saver: any key, any button, a request to close, another
    // program taking the foreground, and a movement that leaves the dead zone around the
    // reference point.
    bool EndsOn(const SaverInput& input);

    std::int16_t NextSlide() const { return nextSlide_; }

private:
    RenderOrder OrderSlideChange();
    RenderOrder Await(std::int16_t slide, bool sinceTick);

    MovementRule movement_;
    std::int16_t slideCount_;
    std::int16_t nextSlide_ = 1;
    std::uint64_t generation_ = 0;
    std::uint64_t awaited_ = 0;  // generation of the slide change in progress; 0 when none
    std::int16_t awaitedSlide_ = 0;
    // The worker has had the slide change since a tick, a whole interval by the next one; a slide
    // rendered again after a display change has had less.
    bool awaitedSinceTick_ = false;
    std::int16_t shownSlide_ = 0;  // the slide on screen; 0 when the screen is black
};

}  // namespace tessaro
