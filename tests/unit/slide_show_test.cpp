#include "show/slide_show.h"

#include <gtest/gtest.h>

#include <vector>

namespace tessaro {
namespace {

using Screen = SlideShow::Actions::Screen;

struct Step {
    enum Kind { Start, Tick, TickWithoutFocus, Rendered, Failed, Move, DisplayChange, SameSizeDisplayChange } kind;
    std::uint64_t generation = 0;  // Rendered, Failed: the order answered
    float x = 0, y = 0;            // Move
    // What must follow.
    std::int16_t overdueSlide = 0;  // the slide given up on, with its worker
    Screen screen = Screen::Keep;
    std::int16_t slide = 0;  // the slide ordered, 0 for none
    bool prefetch = false;
    std::uint64_t orderGeneration = 0;
    bool dismiss = false;  // Move
};

Step Started(std::int16_t slide, std::uint64_t order) { return {Step::Start, 0, 0, 0, 0, Screen::Keep, slide, false, order}; }
Step Ticked(std::int16_t slide, std::uint64_t order, std::int16_t overdue = 0) {
    return {Step::Tick, 0, 0, 0, overdue, Screen::Keep, slide, false, order};
}
Step Unfocused() { return {Step::TickWithoutFocus}; }
Step Shown(std::uint64_t answered, std::int16_t prefetch, std::uint64_t order) {
    return {Step::Rendered, answered, 0, 0, 0, Screen::ShowFrame, prefetch, true, order};
}
Step Black(std::uint64_t answered, std::int16_t prefetch, std::uint64_t order) {
    return {Step::Failed, answered, 0, 0, 0, Screen::Black, prefetch, true, order};
}
Step Dropped(std::uint64_t answered) { return {Step::Rendered, answered}; }
// Black, and the slide (0 for none) ordered again as a slide change.
Step Refitted(std::int16_t slide, std::uint64_t order) {
    return {Step::DisplayChange, 0, 0, 0, 0, Screen::Black, slide, false, order};
}
// Nothing on the screen changes, and nothing is ordered.
Step Kept() { return {Step::SameSizeDisplayChange}; }
Step Moved(float x, float y, bool dismiss) { return {Step::Move, 0, x, y, 0, Screen::Keep, 0, false, 0, dismiss}; }

struct Sequence {
    const char* what;
    std::int16_t slideCount;
    std::vector<Step> steps;
};

TEST(SlideShow, FollowsEachSequenceOfEvents) {
    const Sequence sequences[] = {
        {"the first slide, then each tick shows the prefetched next one",
         46,
         {Started(1, 1), Shown(1, 2, 2), Ticked(2, 3), Shown(3, 3, 4), Ticked(3, 5), Shown(5, 4, 6)}},
        {"a slide that fails turns the screen black, and the next is still prefetched",
         46,
         {Started(1, 1), Black(1, 2, 2), Ticked(2, 3), Shown(3, 3, 4)}},
        {"without the focus a tick changes nothing and the number does not advance",
         46,
         {Started(1, 1), Shown(1, 2, 2), Unfocused(), Unfocused(), Ticked(2, 3)}},
        {"a failed slide is skipped: the number advanced when it was asked for",
         46,
         {Started(1, 1), Shown(1, 2, 2), Ticked(2, 3), Black(3, 3, 4), Ticked(3, 5)}},
        {"after the last slide the cycle starts again",
         3,
         {Started(1, 1), Shown(1, 2, 2), Ticked(2, 3), Shown(3, 3, 4), Ticked(3, 5), Shown(5, 1, 6), Ticked(1, 7)}},
        {"a render that never returns: the next tick gives the worker up and later slides come on time",
         46,
         {Started(1, 1), Shown(1, 2, 2), Ticked(2, 3), Ticked(3, 4, 2), Shown(4, 4, 5), Ticked(4, 6)}},
        {"an answer that comes after a later change was asked for is dropped",
         46,
         {Started(1, 1), Ticked(2, 2, 1), Dropped(1), Shown(2, 3, 3), Dropped(2)}},
        {"a prefetch is not a slide change: its generation is never awaited",
         46,
         {Started(1, 1), Shown(1, 2, 2), Dropped(2), Ticked(2, 3)}},
        {"the first movement after start only records the reference",
         46,
         {Started(1, 1), Moved(900, 700, false), Moved(905, 695, false), Moved(911, 711, true)}},
        {"a shown slide re-arms the reference",
         46,
         {Started(1, 1), Moved(100, 100, false), Shown(1, 2, 2), Moved(500, 500, false), Moved(504, 504, false),
          Moved(506, 506, true)}},
        {"a failed slide does not re-arm it",
         46,
         {Started(1, 1), Moved(100, 100, false), Black(1, 2, 2), Moved(500, 500, true)}},
        {"a dropped answer does not re-arm it",
         46,
         {Started(1, 1), Moved(100, 100, false), Ticked(2, 2, 1), Dropped(1), Moved(500, 500, true)}},
        {"a display change renders the slide on screen again, and prefetches the next again",
         46,
         {Started(1, 1), Shown(1, 2, 2), Refitted(1, 3), Shown(3, 2, 4), Ticked(2, 5)}},
        {"a slide change rendered for the old size is dropped and asked for again",
         46,
         {Started(1, 1), Shown(1, 2, 2), Ticked(2, 3), Refitted(2, 4), Dropped(3), Shown(4, 3, 5)}},
        {"a display change before the first slide is there asks for it again",
         46,
         {Started(1, 1), Refitted(1, 2), Dropped(1), Shown(2, 2, 3)}},
        {"a second display change supersedes the first",
         46,
         {Started(1, 1), Shown(1, 2, 2), Refitted(1, 3), Refitted(1, 4), Dropped(3), Shown(4, 2, 5)}},
        {"a black screen stays black until the next tick",
         46,
         {Started(1, 1), Black(1, 2, 2), Refitted(0, 0), Ticked(2, 3)}},
        {"a slide that fails at the new size leaves nothing to render again",
         46,
         {Started(1, 1), Shown(1, 2, 2), Refitted(1, 3), Black(3, 2, 4), Refitted(0, 0)}},
        {"a slide rendered again after a display change is superseded at the next tick, its worker kept",
         46,
         {Started(1, 1), Shown(1, 2, 2), Refitted(1, 3), Ticked(2, 4), Black(4, 3, 5), Ticked(3, 6)}},
        {"a slide change still awaited at a display change is overdue at the next tick",
         46,
         {Started(1, 1), Shown(1, 2, 2), Ticked(2, 3), Refitted(2, 4), Ticked(3, 5, 2)}},
        {"a display change that keeps the primary's size keeps the slide on screen",
         46,
         {Started(1, 1), Shown(1, 2, 2), Kept(), Ticked(2, 3), Shown(3, 3, 4)}},
        {"a display change that keeps the primary's size lets the slide change under way go on",
         46,
         {Started(1, 1), Shown(1, 2, 2), Ticked(2, 3), Kept(), Shown(3, 3, 4)}},
        {"an answer of generation 0 is never the awaited one",
         46,
         {Started(1, 1), Shown(1, 2, 2), Dropped(0), Ticked(2, 3)}},
        {"a slide overdue at one tick is not overdue again at the next once its successor came",
         46,
         {Started(1, 1), Ticked(2, 2, 1), Shown(2, 3, 3), Ticked(3, 4), Ticked(4, 5, 3)}},
        {"a display change re-arms the reference",
         46,
         {Started(1, 1), Shown(1, 2, 2), Moved(500, 500, false), Refitted(1, 3), Moved(900, 700, false),
          Moved(904, 704, false), Moved(906, 706, true)}},
        {"so does one that keeps the primary's size",
         46,
         {Started(1, 1), Shown(1, 2, 2), Moved(500, 500, false), Kept(), Moved(900, 700, false), Moved(906, 706, true)}},
    };
    for (const Sequence& sequence : sequences) {
        SCOPED_TRACE(sequence.what);
        SlideShow show(sequence.slideCount);
        int index = 0;
        for (const Step& step : sequence.steps) {
            SCOPED_TRACE(testing::Message() << "step " << index++);
            SlideShow::Actions actions;
            switch (step.kind) {
                case Step::Start: actions = show.Start(); break;
                case Step::Tick: actions = show.Tick(true); break;
                case Step::TickWithoutFocus: actions = show.Tick(false); break;
                case Step::Rendered: actions = show.Rendered(step.generation, true); break;
                case Step::Failed: actions = show.Rendered(step.generation, false); break;
                case Step::DisplayChange: actions = show.DisplayChanged(true); break;
                case Step::SameSizeDisplayChange: actions = show.DisplayChanged(false); break;
                case Step::Move: EXPECT_EQ(show.EndsOn({SaverInput::Kind::PointerMoved, step.x, step.y}), step.dismiss); continue;
            }
            EXPECT_EQ(actions.overdueSlide, step.overdueSlide);
            EXPECT_EQ(actions.screen, step.screen);
            ASSERT_EQ(actions.render.has_value(), step.slide != 0);
            if (!actions.render) continue;
            EXPECT_EQ(actions.render->slide, step.slide);
            EXPECT_EQ(actions.render->prefetch, step.prefetch);
            EXPECT_EQ(actions.render->generation, step.orderGeneration);
        }
    }
}

TEST(SlideShow, AnyKeyButtonRequestToCloseOrLostForegroundEndsTheSaverAndMovementOnlyOutOfTheDeadZone) {
    using Kind = SaverInput::Kind;
    struct Case {
        SaverInput input;
        bool ends;
    };
    // After the start the first movement only records the reference point (movement_rule_test).
    const Case cases[] = {
        {{Kind::KeyDown}, true},           {{Kind::ButtonDown}, true},           {{Kind::CloseRequested}, true},
        {{Kind::ForegroundLost}, true},
        {{Kind::PointerMoved, 9, 9}, false}, {{Kind::PointerMoved, 14, 14}, false}, {{Kind::PointerMoved, 15, 15}, true},
    };
    SlideShow show(46);
    show.Start();
    for (const Case& c : cases) {
        EXPECT_EQ(show.EndsOn(c.input), c.ends) << "input of kind " << static_cast<int>(c.input.kind) << " at " << c.input.x;
    }
}

}  // namespace
}  // namespace tessaro
