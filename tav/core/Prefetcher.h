// Work a batch needs for each of its files, done ahead of it on worker
// threads: while the user-interface thread finishes one file, the next ones
// are being prepared (decoded, typically), so a run keeps every core busy.
//
// The results are taken in the order of the files. At most `ahead` files
// beyond the one being taken are worked on or held at a time, so a run's
// memory does not grow with its length. A file nobody has started when it is
// taken is worked on by the taking thread itself, beside the workers. The
// work must be safe on any thread: it never asks the user anything, and
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
        for (int i = 0; i < m_ahead; ++i)
            m_workers.emplace_back([this] { serve(); });
    }

    ~Prefetcher()
    {
        {
            std::lock_guard lock(m_mutex);
            m_closing = true;
        }
        m_changed.notify_all();
        for (std::thread& worker : m_workers)
            worker.join();
    }

    Prefetcher(const Prefetcher&) = delete;
    Prefetcher& operator=(const Prefetcher&) = delete;

    // The result for `path`, the next file of the list not taken yet (files
    // passed over are dropped; a path the list does not hold from here on is
    // worked on here and passes over nothing). `waiting`, when set, is called
    // about every 50 ms while a worker is still at the file; returning false
    // gives up on it (nullopt). A file no worker has started is worked on
    // here, by `own` when set (the taker's thread may do what workers may
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
        m_changed.notify_all();  // the window moved: workers may start further files
        Slot& slot = m_slots[index];
        if (slot.state == State::Waiting) {
            slot.state = State::Working;
            lock.unlock();
            return own ? own(path) : m_work(path);
        }
        while (slot.state != State::Done) {
            if (!waiting) {
                m_done.wait(lock, [&slot] { return slot.state == State::Done; });
                break;
            }
            if (m_done.wait_for(lock, std::chrono::milliseconds(50), [&slot] { return slot.state == State::Done; }))
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

    // A worker: starts the first waiting file within the window of the file
    // to be taken next and the `ahead` after it, until the prefetcher closes.
    void serve()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            std::size_t index = 0;
            m_changed.wait(lock, [this, &index] {
                if (m_closing)
                    return true;
                const std::size_t end = std::min(m_slots.size(), m_next + std::size_t(m_ahead));
                for (index = m_next; index < end; ++index)
                    if (m_slots[index].state == State::Waiting)
                        return true;
                return false;
            });
            if (m_closing)
                return;
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
            // A result the taker has passed over or given up on is dropped at once.
            if (!slot.abandoned) {
                slot.result = std::move(result);
                slot.failure = failure;
            }
            m_done.notify_all();
        }
    }

    Work m_work;
    int m_ahead;
    std::vector<Slot> m_slots;  // never resized once workers run
    std::size_t m_next = 0;     // the index of the next file to be taken
    bool m_closing = false;
    std::mutex m_mutex;
    std::condition_variable m_changed;  // the window moved or the prefetcher closes
    std::condition_variable m_done;     // a file's work ended
    std::vector<std::thread> m_workers;
};
