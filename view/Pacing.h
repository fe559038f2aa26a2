#pragma once
// The pacing of visible steps: how many frames a quarter turn takes, how
// long a step waits, and the wait itself, which keeps the program live by
// dispatching events until the step's deadline.

#include <QTimer>

#include <functional>

class CStepPacer {
public:
    CStepPacer();

    // Frames per quarter turn for a delay: delay / 40, at least 2, raised to
    // the next divisor of 90 and never above 90.
    static unsigned FrameCount(unsigned nDelay);
    // Milliseconds a step waits for a delay in the given presentation: the
    // full delay in the net, a fraction per frame in the 3D view.
    static unsigned StepDelay(unsigned nDelay, bool b2DView);

    // Dispatches the waiting events once, then, while bKeepWaiting() holds,
    // sleeps in the event loop until the next event or nMilliseconds after
    // the call, whichever comes first. bKeepWaiting is asked again after
    // every batch of events, so a switch flipped meanwhile ends the wait.
    void Wait(unsigned nMilliseconds, const std::function<bool()>& bKeepWaiting);

private:
    QTimer m_timer; // wakes the wait at its deadline
};
