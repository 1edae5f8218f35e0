// Background work of which only the latest request counts: each request takes the next number of
// a counter, and its result reaches the receiver's thread only while no later request was made.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <atomic>
#include <cstdint>
#include <utility>

namespace pelimon {

// Calls `deliver()` on `receiver`'s thread, later, when `generation` still equals `request` then.
// `generation` must outlive the receiver's pending events (a member of the receiver).
template <class Deliver>
void DeliverIfLatest(QObject* receiver, const std::atomic<uint64_t>& generation, uint64_t request, Deliver&& deliver) {
    QMetaObject::invokeMethod(
        receiver,
        [&generation, request, deliver = std::forward<Deliver>(deliver)] {
            if (request == generation) {
                deliver();
            }
        },
        Qt::QueuedConnection);
}

}  // namespace pelimon
