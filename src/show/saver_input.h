#pragma once
// What reaches the saver from the user or the system, as the saver judges it. The windows turn
// each message into one of these; the slide show decides whether it ends the saver.

namespace tessaro {

struct SaverInput {
    enum class Kind {
        KeyDown,         // any key, modifiers and system keys included
        ButtonDown,      // any mouse button
        PointerMoved,    // to x, y in virtual-screen pixels
        CloseRequested,  // the system asks a saver window to close
        ForegroundLost,  // another program's window became the active one
    };
    Kind kind;
    float x = 0.0f;
    float y = 0.0f;
};

}  // namespace tessaro
