#pragma once
// Answers to the input's lines worked out by several threads at once and
// written strictly in the order of the lines (zelvors-solve --jobs).
//
// The reading thread hands each line in turn to Line (an answer known at
// once: an empty or a bad line) or Solve (a cube); worker threads solve the
// cubes, each with a solver of its own made by the factory, and the reading
// thread writes every answer whose turn has come. At most a few cubes per
// thread wait at a time, so memory does not grow with the input.
//
// Before a read that may wait, BeforeRead writes and flushes every answer
// when no input is ready, so a program that writes one line and waits for its
// answer gets it, while a batch keeps every thread busy.

#include "Compat.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <poll.h>
#endif

// Whether standard input has something to read (or its end) right now; false
// where that cannot be told, which only costs a wait for the answers.
inline bool InputReady()
{
#ifdef _WIN32
    return false;
#else
    pollfd fd{0, POLLIN, 0};
    return poll(&fd, 1, 0) > 0;
#endif
}

// Out: Line(string) and Flush(), each false once writing has failed.
template <class Out>
class OrderedAnswers {
public:
    // Solves one cube: its colours and its place in the input (0 for the first line).
    using Solver = std::function<std::string(const BYTE* colors, size_t nIndex)>;

    OrderedAnswers(Out& out, int nJobs) : m_out(out), m_nJobs(nJobs), m_nWindow(static_cast<size_t>(nJobs) * 4) {}
    // Starts the threads, each with a solver that makeSolver makes for it.
    void Start(const std::function<Solver()>& makeSolver)
    {
        for (int i = 0; i < m_nJobs; ++i) {
            Solver solver = makeSolver();
            try {
                m_threads.emplace_back([this, solver] { Work(solver); });
            } catch (const std::system_error&) {
                break; // fewer threads: the same answers, later
            }
        }
        if (m_threads.empty())
            m_inline = makeSolver();
    }
    ~OrderedAnswers()
    {
        m_bCancel.store(true);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bStop = true;
        }
        m_workCv.notify_all();
        for (std::thread& t : m_threads)
            t.join();
    }
    OrderedAnswers(const OrderedAnswers&) = delete;
    OrderedAnswers& operator=(const OrderedAnswers&) = delete;

    // Set when the answers are no longer wanted (a solver may stop early).
    std::atomic<bool>& Cancel() { return m_bCancel; }
    // The place of the first line not yet answered.
    size_t FirstUnanswered() const { return m_nFirst.load(); }

    bool Line(const std::string& strAnswer)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_slots.push_back(Slot{});
            m_slots.back().bDone = true;
            m_slots.back().strAnswer = strAnswer;
        }
        return WriteDone(false);
    }

    bool Solve(const BYTE* colors)
    {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            while (m_nCubesWaiting >= m_nWindow) {
                lock.unlock();
                if (!WriteDone(true))
                    return false;
                lock.lock();
            }
            m_slots.push_back(Slot{});
            Slot& s = m_slots.back();
            s.bCube = true;
            if (m_inline) { // no thread could be started
                s.strAnswer = m_inline(colors, m_nPopped + m_slots.size() - 1);
                s.bDone = true;
            }
            std::copy(colors, colors + 54, s.colors);
            ++m_nCubesWaiting;
        }
        m_workCv.notify_one();
        return WriteDone(false);
    }

    void BeforeRead()
    {
        if (!InputReady())
            Flush();
    }

    // Every answer written, then flushed.
    bool Flush()
    {
        for (;;) {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (m_slots.empty())
                    break;
            }
            if (!WriteDone(true))
                return false;
        }
        return m_out.Flush();
    }

private:
    struct Slot {
        bool bCube = false;
        bool bTaken = false;
        bool bDone = false;
        BYTE colors[54] = {};
        std::string strAnswer;
    };

    // Writes the answers whose turn has come; with bWait, first waits for at
    // least one when there is none.
    bool WriteDone(bool bWait)
    {
        std::vector<std::string> answers;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (bWait)
                m_doneCv.wait(lock, [this] { return m_slots.empty() || m_slots.front().bDone; });
            while (!m_slots.empty() && m_slots.front().bDone) {
                if (m_slots.front().bCube)
                    --m_nCubesWaiting;
                answers.push_back(std::move(m_slots.front().strAnswer));
                m_slots.pop_front();
                ++m_nPopped;
            }
        }
        for (const std::string& s : answers)
            if (!m_out.Line(s))
                return false;
        m_nFirst.store(m_nPopped);
        return true;
    }

    void Work(const Solver& solve)
    {
        for (;;) {
            BYTE colors[54];
            size_t nIndex = 0;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_workCv.wait(lock, [&] { return m_bStop || NextCube(nIndex); });
                if (m_bStop)
                    return;
                Slot& s = m_slots[nIndex - m_nPopped];
                s.bTaken = true;
                std::copy(s.colors, s.colors + 54, colors);
            }
            std::string strAnswer = solve(colors, nIndex);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                Slot& s = m_slots[nIndex - m_nPopped];
                s.strAnswer = std::move(strAnswer);
                s.bDone = true;
            }
            m_doneCv.notify_one();
        }
    }

    // The place of the first cube no thread has taken; false when there is none.
    bool NextCube(size_t& nIndex) const
    {
        for (size_t i = 0; i < m_slots.size(); ++i)
            if (m_slots[i].bCube && !m_slots[i].bTaken) {
                nIndex = m_nPopped + i;
                return true;
            }
        return false;
    }

    Out& m_out;
    const int m_nJobs;
    const size_t m_nWindow;
    std::mutex m_mutex;
    std::condition_variable m_workCv; // a cube to take, or the end
    std::condition_variable m_doneCv; // a cube solved
    std::deque<Slot> m_slots;         // from the first line not yet written
    size_t m_nPopped = 0;             // lines written so far (the place of m_slots[0])
    size_t m_nCubesWaiting = 0;       // cubes in m_slots
    bool m_bStop = false;
    std::atomic<bool> m_bCancel{false};
    std::atomic<size_t> m_nFirst{0};
    std::vector<std::thread> m_threads;
    Solver m_inline; // when no thread could be started
};
