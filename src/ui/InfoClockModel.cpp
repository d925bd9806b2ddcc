#include "ui/InfoClockModel.h"

#include <utility>

namespace quelmo::ui {

InfoClock::InfoClock(Measure measure, Notify notify)
    : measure_(std::move(measure)), notify_(std::move(notify)) {}

InfoClock::~InfoClock() {
    Stop();
}

void InfoClock::Stop() {
    stopped_ = true;
    waiting_.reset();
    Join();
}

void InfoClock::Join() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

void InfoClock::Request(std::uint32_t ticket, std::uint8_t processor) {
    if (stopped_) {
        return;
    }
    const Job job{ticket, processor};
    if (active_ && !finished_.load(std::memory_order_acquire)) {
        waiting_ = job;
        return;
    }
    // A finished answer not yet collected belongs to an older request: it is dropped.
    Join();
    Start(job);
}

std::optional<InfoClock::Answer> InfoClock::Collect() {
    if (!active_ || !finished_.load(std::memory_order_acquire)) {
        return std::nullopt;
    }
    Join();
    active_ = false;
    Answer answer = std::move(answer_);
    if (waiting_) {
        Start(*std::exchange(waiting_, std::nullopt));
    }
    return answer;
}

void InfoClock::Start(Job job) {
    active_ = true;
    finished_.store(false, std::memory_order_relaxed);
    const auto body = [this, job] {
        Answer answer{job.ticket, {}};
        try {
            answer.text = measure_(job.processor);
        } catch (...) {
            // Only running out of memory gets here: the row stays empty.
        }
        answer_ = std::move(answer);
        finished_.store(true, std::memory_order_release);
        notify_();
    };
    try {
        worker_ = std::thread(body);
    } catch (...) {
        body(); // no thread to be had: measure here, the window waits this once
    }
}

} // namespace quelmo::ui
