// Signal<Args...>: a list of callbacks that a model calls when something
// changes (a view's way to learn of changes without polling).
//
// connect answers an id for disconnect, or use ScopedConnection to disconnect
// when it goes out of scope. Callbacks run in the order they were connected.
// During an emission a callback may disconnect itself or others (those not
// yet called are skipped) and may connect new ones (called from the next
// emission on). Not for use from several threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace kestrin {

using ConnectionId = std::uint64_t;

namespace detail {
// What every signal type shares, so a connection can refer to any of them.
struct SignalSlots {
    virtual ~SignalSlots() = default;
    virtual bool disconnect(ConnectionId id) = 0;
};
}  // namespace detail

// Disconnects its callback when destroyed; harmless after the signal is gone.
class ScopedConnection {
public:
    ScopedConnection() = default;
    ScopedConnection(std::weak_ptr<detail::SignalSlots> slots, ConnectionId id) : slots_(std::move(slots)), id_(id) {}
    ScopedConnection(ScopedConnection&& o) noexcept : slots_(std::move(o.slots_)), id_(std::exchange(o.id_, 0)) {}
    ScopedConnection& operator=(ScopedConnection&& o) noexcept {
        if (this != &o) {
            disconnect();
            slots_ = std::move(o.slots_);
            id_ = std::exchange(o.id_, 0);
        }
        return *this;
    }
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;
    ~ScopedConnection() { disconnect(); }

    void disconnect() {
        if (auto s = slots_.lock(); s && id_ != 0) s->disconnect(id_);
        slots_.reset();
        id_ = 0;
    }
    bool connected() const { return id_ != 0 && !slots_.expired(); }

private:
    std::weak_ptr<detail::SignalSlots> slots_;
    ConnectionId id_ = 0;
};

template <class... Args>
class Signal {
public:
    using Callback = std::function<void(Args...)>;

    Signal() : slots_(std::make_shared<Slots>()) {}
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    ConnectionId connect(Callback callback) {
        const ConnectionId id = ++slots_->lastId;
        slots_->list.push_back({id, std::make_shared<Callback>(std::move(callback))});
        return id;
    }
    ScopedConnection connectScoped(Callback callback) {
        const ConnectionId id = connect(std::move(callback));
        return ScopedConnection(slots_, id);
    }
    // Answers whether `id` was connected.
    bool disconnect(ConnectionId id) { return slots_->disconnect(id); }

    void emit(Args... args) {
        // Keeps the slots alive should a callback destroy the signal's owner.
        const std::shared_ptr<Slots> slots = slots_;
        Emitting guard(*slots);
        const std::size_t n = slots->list.size();  // those connected now
        for (std::size_t i = 0; i < n; ++i) {
            std::shared_ptr<Callback> callback = slots->list[i].callback;
            if (callback) (*callback)(args...);
        }
    }

    std::size_t connections() const {
        std::size_t n = 0;
        for (const auto& s : slots_->list) n += s.callback != nullptr;
        return n;
    }

private:
    struct Slot {
        ConnectionId id;
        std::shared_ptr<Callback> callback;  // null once disconnected
    };
    struct Slots : detail::SignalSlots {
        std::vector<Slot> list;
        ConnectionId lastId = 0;
        int emitting = 0;
        bool disconnect(ConnectionId id) override {
            for (auto it = list.begin(); it != list.end(); ++it) {
                if (it->id != id || !it->callback) continue;
                if (emitting > 0) it->callback.reset();  // removed when the emission ends
                else list.erase(it);
                return true;
            }
            return false;
        }
    };
    struct Emitting {
        explicit Emitting(Slots& s) : slots(s) { ++slots.emitting; }
        ~Emitting() {
            if (--slots.emitting == 0)
                std::erase_if(slots.list, [](const Slot& s) { return s.callback == nullptr; });
        }
        Emitting(const Emitting&) = delete;
        Emitting& operator=(const Emitting&) = delete;
        Slots& slots;
    };
    std::shared_ptr<Slots> slots_;
};

}  // namespace kestrin
