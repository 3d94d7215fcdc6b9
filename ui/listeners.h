#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace kvalon {

// Whoever wants to be told of an event, each for as long as it holds its
// subscription: how the windows' logic tells its views, whatever toolkit
// draws them. A handler may end any subscription, its own too, while it is
// told; one subscribed meanwhile is told from the next event on. Told on the
// thread that notifies (the windows' own).
template <typename... Args> class Listeners {
    struct Entry {
        std::function<void(Args...)> handler;
        bool active = true;
    };

public:
    // Ends when destroyed or reset; the Listeners may go first.
    class Subscription {
    public:
        Subscription() = default;
        ~Subscription() { reset(); }
        Subscription(Subscription&& other) noexcept : m_entry(std::move(other.m_entry)) {}
        Subscription& operator=(Subscription&& other) noexcept {
            if (this != &other) {
                reset();
                m_entry = std::move(other.m_entry);
            }
            return *this;
        }
        Subscription(const Subscription&) = delete;
        Subscription& operator=(const Subscription&) = delete;

        void reset() {
            if (m_entry) {
                m_entry->active = false;
                m_entry.reset();
            }
        }

    private:
        friend class Listeners;
        explicit Subscription(std::shared_ptr<Entry> entry) : m_entry(std::move(entry)) {}
        std::shared_ptr<Entry> m_entry;
    };

    [[nodiscard]] Subscription subscribe(std::function<void(Args...)> handler) {
        std::erase_if(m_entries,
                      [](const std::shared_ptr<Entry>& entry) { return !entry->active; });
        auto entry = std::make_shared<Entry>(Entry{std::move(handler)});
        m_entries.push_back(entry);
        return Subscription(std::move(entry));
    }

    void notify(const Args&... args) const {
        const std::vector<std::shared_ptr<Entry>> told = m_entries;
        for (const std::shared_ptr<Entry>& entry : told) {
            if (entry->active) {
                entry->handler(args...);
            }
        }
    }

private:
    std::vector<std::shared_ptr<Entry>> m_entries;
};

} // namespace kvalon
