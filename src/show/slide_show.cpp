#include "slide_show.h"

#include "slide_sequence.h"

namespace tessaro {

SlideShow::SlideShow(std::int16_t slideCount) : slideCount_(slideCount) {}

SlideShow::RenderOrder SlideShow::OrderSlideChange() {
    const std::int16_t slide = nextSlide_;
    // Advanced before the slide is loaded, so that a slide that fails is skipped next time.
    nextSlide_ = FollowingSlide(nextSlide_, slideCount_);
    return Await(slide, true);
}

SlideShow::RenderOrder SlideShow::Await(std::int16_t slide, bool sinceTick) {
    awaited_ = ++generation_;
    awaitedSlide_ = slide;
    awaitedSinceTick_ = sinceTick;
    return RenderOrder{awaited_, slide, false};
}

SlideShow::Actions SlideShow::Start() {
    nextSlide_ = 1;
    Actions actions;
    actions.render = OrderSlideChange();
    movement_.Arm();
    return actions;
}

SlideShow::Actions SlideShow::Tick(bool focused) {
    Actions actions;
    if (!focused) return actions;
    // Still waiting for the change asked for at an earlier tick, a whole interval ago.
    if (awaited_ != 0 && awaitedSinceTick_) actions.overdueSlide = awaitedSlide_;
    actions.render = OrderSlideChange();
    return actions;
}

SlideShow::Actions SlideShow::Rendered(std::uint64_t generation, bool succeeded) {
    Actions actions;
    if (generation == 0 || generation != awaited_) return actions;  // stale: a later slide change is under way
    awaited_ = 0;
    if (succeeded) {
        actions.screen = Actions::Screen::ShowFrame;
        shownSlide_ = awaitedSlide_;
        movement_.Arm();  // the next movement records a fresh reference
    } else {
        actions.screen = Actions::Screen::Black;  // black until the next good slide
        shownSlide_ = 0;
    }
    actions.render = RenderOrder{++generation_, nextSlide_, true};
    return actions;
}

SlideShow::Actions SlideShow::DisplayChanged(bool primarySizeChanged) {
    Actions actions;
    movement_.Arm();
    if (!primarySizeChanged) return actions;
    actions.screen = Actions::Screen::Black;
    if (awaited_ != 0) {
        // The same slide change, at the new size: the worker has had it since its tick.
        actions.render = Await(awaitedSlide_, awaitedSinceTick_);
    } else if (shownSlide_ != 0) {
        actions.render = Await(shownSlide_, false);
    }
    return actions;
}

bool SlideShow::EndsOn(const SaverInput& input) {
    switch (input.kind) {
        case SaverInput::Kind::KeyDown:
        case SaverInput::Kind::ButtonDown:
        case SaverInput::Kind::CloseRequested:
        // Whatever the user types next would reach a window the saver hides.
        case SaverInput::Kind::ForegroundLost: return true;
        case SaverInput::Kind::PointerMoved: return movement_.OnMove(input.x, input.y);
    }
    return false;
}

}  // namespace tessaro
