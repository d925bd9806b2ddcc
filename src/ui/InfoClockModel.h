// The clock measurements of the CPU information window's processor pages, on a worker thread so
// that the window stays responsive while one runs (at least 200 ms each).
//
// One measurement runs at a time. A request made while one runs waits for it, and only the
// newest such request is kept: it starts when the running one has been collected. Each answer
// carries the ticket of its request; the window shows only the answer to its current page.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace quelmo::ui {

class InfoClock {
public:
    // Measures and returns the value text (ui::MeasureClockText in the window).
    using Measure = std::function<std::string(std::uint8_t processor)>;
    // Called on the worker thread when an answer is ready: the owner then calls Collect on its
    // own thread (the window posts itself a message).
    using Notify = std::function<void()>;

    struct Answer {
        std::uint32_t ticket = 0;
        std::string text;
    };

    InfoClock(Measure measure, Notify notify);
    // Waits for a running measurement; a waiting request is dropped.
    ~InfoClock();
    InfoClock(const InfoClock&) = delete;
    InfoClock& operator=(const InfoClock&) = delete;

    void Request(std::uint32_t ticket, std::uint8_t processor);
    // The finished answer, if there is one, and the waiting request started; nothing while the
    // measurement runs.
    std::optional<Answer> Collect();
    // A measurement runs or its answer waits to be collected.
    bool Busy() const { return active_; }
    // Waits for a running measurement and takes no more requests (the owner is going).
    void Stop();

private:
    struct Job {
        std::uint32_t ticket = 0;
        std::uint8_t processor = 0;
    };

    void Start(Job job);
    void Join();

    Measure measure_;
    Notify notify_;
    std::thread worker_;
    bool active_ = false;
    bool stopped_ = false;
    std::atomic<bool> finished_{false};
    Answer answer_; // written by the worker before it sets finished_
    std::optional<Job> waiting_;
};

} // namespace quelmo::ui
