#include "outputs/MqttQueue.h"

namespace serwedge::outputs {

qsizetype MqttQueue::push(quint64 seq, Reading reading) {
    Message m;
    m.seq = seq;
    m.reading = std::move(reading);
    bytes_ += footprint(m);
    messages_.push_back(std::move(m));
    qsizetype dropped = 0;
    while (messages_.size() > 1 && (size() > maxMessages_ || bytes_ > maxBytes_)) {
        bytes_ -= footprint(messages_.front());
        if (messages_.front().mid != 0)
            --sent_;
        messages_.pop_front();
        ++dropped;
    }
    return dropped;
}

MqttQueue::Message* MqttQueue::nextUnsent() {
    return sent_ < size() ? &messages_[size_t(sent_)] : nullptr;
}

void MqttQueue::markSent(Message& message, int mid) {
    message.mid = mid;
    ++sent_;
}

bool MqttQueue::acknowledge(int mid) {
    if (mid == 0)
        return false;
    for (qsizetype i = 0; i < sent_; ++i) {
        if (messages_[size_t(i)].mid != mid)
            continue;
        bytes_ -= footprint(messages_[size_t(i)]);
        messages_.erase(messages_.begin() + i);
        --sent_;
        return true;
    }
    return false;
}

void MqttQueue::setPayload(Message& message, QByteArray payload) {
    bytes_ -= footprint(message);
    message.payload = std::move(payload);
    message.reading = Reading();
    bytes_ += footprint(message);
}

void MqttQueue::resendAll() {
    for (qsizetype i = 0; i < sent_; ++i)
        messages_[size_t(i)].mid = 0;
    sent_ = 0;
}

} // namespace serwedge::outputs
