#include "Pacing.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <chrono>

CStepPacer::CStepPacer()
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
}

unsigned CStepPacer::FrameCount(unsigned nDelay)
{
    unsigned n = nDelay / 40;
    if (n < 2)
        n = 2;
    if (n > 90)
        n = 90;
    while (90 % n != 0)
        ++n;
    return n;
}

unsigned CStepPacer::StepDelay(unsigned nDelay, bool b2DView)
{
    return b2DView ? nDelay : nDelay / (nDelay / 10 + 1);
}

void CStepPacer::Wait(unsigned nMilliseconds, const std::function<bool()>& bKeepWaiting)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(nMilliseconds);
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        const auto now = Clock::now();
        if (!bKeepWaiting() || now >= deadline)
            break;
        // Sleep until the next event or the deadline, whichever comes first.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        m_timer.start(static_cast<int>(left.count()) + (left < deadline - now ? 1 : 0));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    m_timer.stop();
}
