// Work a batch needs for each of its files, done ahead of it: a worker thread
// prepares (decodes, typically) the next files while the user-interface
// thread finishes one, and the taking thread, when it would wait for the
// worker, works on a further file itself, so both cores stay busy.
//
// The results are taken in the order of the files. At most `ahead` files
// beyond the one being taken are worked on or held at a time, so a run's
// memory does not grow with its length. A file nobody has started when it is
// taken is worked on by the taking thread itself. The work must be safe on
// any thread: it never asks the user anything, and
// whatever it cannot do there it leaves to the taker (a result saying so);
// what it throws is thrown again to the taker. Destroying the prefetcher
// drops every result not taken; work in flight is waited for, never written
// anywhere.
#pragma once

#include <QString>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

template <class T>
class Prefetcher {
public:
    using Work = std::function<T(const QString& path)>;

    Prefetcher(const QStringList& paths, Work work, int ahead)
        : m_work(std::move(work)), m_ahead(std::max(ahead, 1))
    {
        m_slots.reserve(std::size_t(paths.size()));
        for (const QString& path : paths)
            m_slots.push_back(Slot{path, State::Waiting, std::nullopt, nullptr, false});
        m_worker = std::thread([this] { serve(); });
    }

    ~Prefetcher()
    {
        {
            std::lock_guard lock(m_mutex);
            m_closing = true;
        }
        m_changed.notify_all();
        m_worker.join();
    }

    Prefetcher(const Prefetcher&) = delete;
    Prefetcher& operator=(const Prefetcher&) = delete;

    // The result for `path`, the next file of the list not taken yet (files
    // passed over are dropped; a path the list does not hold from here on is
    // worked on here and passes over nothing). `waiting`, when set, is called
    // about every 50 ms while a worker is still at the file; returning false
    // gives up on it (nullopt). A file the worker has not started is worked
    // on here, by `own` when set (the taker's thread may do what workers may
    // not, such as asking the user).
    std::optional<T> take(const QString& path, const std::function<bool()>& waiting = {},
                          const Work& own = {})
    {
        std::unique_lock lock(m_mutex);
        std::size_t index = m_next;
        while (index < m_slots.size() && m_slots[index].path != path)
            ++index;
        if (index == m_slots.size()) {
            lock.unlock();
            return own ? own(path) : m_work(path);
        }
        for (std::size_t i = m_next; i < index; ++i) {
            m_slots[i].abandoned = true;
            m_slots[i].result.reset();
        }
        m_next = index + 1;
        m_changed.notify_all();  // the window moved: the worker may start further files
        Slot& slot = m_slots[index];
        if (slot.state == State::Waiting) {
            slot.state = State::Working;
            lock.unlock();
            return own ? own(path) : m_work(path);
        }
        while (slot.state != State::Done) {
            // Rather than wait, a further file of the window is worked on here.
            if (const std::optional<std::size_t> further = waitingInWindow()) {
                work(*further, lock);
                continue;
            }
            if (!waiting) {
                m_done.wait(lock, [&slot] { return slot.state == State::Done; });
                break;
            }
            if (m_done.wait_for(lock, std::chrono::milliseconds(50),
                                [&slot] { return slot.state == State::Done; }))
                break;
            lock.unlock();
            const bool goOn = waiting();
            lock.lock();
            if (!goOn) {
                slot.abandoned = true;
                return std::nullopt;
            }
        }
        if (slot.failure)
            std::rethrow_exception(std::exchange(slot.failure, nullptr));
        std::optional<T> result = std::move(slot.result);
        slot.result.reset();
        return result;
    }

private:
    enum class State { Waiting, Working, Done };
    struct Slot {
        QString path;
        State state;
        std::optional<T> result;
        std::exception_ptr failure;  // what the work threw, thrown again to the taker
        bool abandoned = false;  // passed over or given up on by the taker
    };

    // The first file within the window (the file to be taken next and the
    // `ahead` after it) that nobody has started.
    std::optional<std::size_t> waitingInWindow() const
    {
        const std::size_t end = std::min(m_slots.size(), m_next + std::size_t(m_ahead));
        for (std::size_t index = m_next; index < end; ++index)
            if (m_slots[index].state == State::Waiting)
                return index;
        return std::nullopt;
    }

    // Works on the file at `index` with the lock released; keeps the result
    // unless the taker has passed the file over or given up on it meanwhile.
    void work(std::size_t index, std::unique_lock<std::mutex>& lock)
    {
        Slot& slot = m_slots[index];
        slot.state = State::Working;
        const QString path = slot.path;
        lock.unlock();
        std::optional<T> result;
        std::exception_ptr failure;
        try {
            result = m_work(path);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        slot.state = State::Done;
        if (!slot.abandoned) {
            slot.result = std::move(result);
            slot.failure = failure;
        }
        m_done.notify_all();
    }

    // The worker: works on the window's files until the prefetcher closes.
    void serve()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            std::optional<std::size_t> index;
            m_changed.wait(lock, [this, &index] { return m_closing || (index = waitingInWindow()); });
            if (m_closing)
                return;
            work(*index, lock);
        }
    }

    Work m_work;
    int m_ahead;
    std::vector<Slot> m_slots;  // never resized once workers run
    std::size_t m_next = 0;  // the index of the next file to be taken
    bool m_closing = false;
    std::mutex m_mutex;
    std::condition_variable m_changed;  // the window moved or the prefetcher closes
    std::condition_variable m_done;  // a file's work ended
    std::thread m_worker;
};
