#pragma once

#include "outputs/Reading.h"

#include <QByteArray>

#include <deque>

namespace serwedge::outputs {

// Readings on their way to the broker, oldest first: those handed to the connection and not
// yet acknowledged, then those waiting. Bounded: the oldest are dropped first. Not locked: the
// publisher guards it.
class MqttQueue {
public:
    struct Message {
        quint64 seq = 0;
        Reading reading;
        QByteArray payload; // built when first sent
        int mid = 0;        // the connection's message id once handed to it; 0 before
    };

    MqttQueue(qsizetype maxMessages, qsizetype maxBytes)
        : maxMessages_(maxMessages), maxBytes_(maxBytes) {}

    // Adds a reading; the number of old messages this dropped to keep within the bounds.
    qsizetype push(quint64 seq, Reading reading);
    // The oldest message not yet handed to the connection, or nullptr.
    Message* nextUnsent();
    void markSent(Message& message, int mid);
    // The broker acknowledged mid; false when no message waits with it (dropped meanwhile).
    bool acknowledge(int mid);
    // The connection is gone: every message not acknowledged is sent again, in order.
    void resendAll();
    // The message's payload, built when it is first sent; the reading is not needed after.
    void setPayload(Message& message, QByteArray payload);

    bool empty() const { return messages_.empty(); }
    qsizetype size() const { return qsizetype(messages_.size()); }
    qsizetype inFlight() const { return sent_; }
    qsizetype bytes() const { return bytes_; }

private:
    static qsizetype footprint(const Message& m) {
        return m.reading.footprint() + m.payload.size();
    }

    std::deque<Message> messages_;
    qsizetype sent_ = 0; // the first sent_ messages are in flight
    qsizetype bytes_ = 0;
    qsizetype maxMessages_;
    qsizetype maxBytes_;
};

} // namespace serwedge::outputs
