// Behaviour that every user-interface link shares: the native tests run these checks on
// FakeUiLink, the Windows tests on Win32UiLink under Wine, so the fake the sampling tests rely on
// cannot drift from the link the product uses. The calling thread plays the user-interface thread
// (the one that created the link).
#pragma once

#include "platform/UiLink.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace quelmo::contracts {

// A message as PostToWindow was given it.
using PostedMessage = std::tuple<std::uint32_t, std::uintptr_t, std::intptr_t>;

// `serve()` gives the user-interface thread one short turn of its message loop; `posted()` answers
// the messages that reached the window so far, in order.
template <class Serve, class Posted>
void CheckUiLink(platform::UiLink& link, Serve serve, Posted posted) {
    const auto serveUntil = [&](const std::atomic<bool>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done.load() && std::chrono::steady_clock::now() < deadline) {
            serve();
        }
        return done.load();
    };
    const std::thread::id uiThread = std::this_thread::get_id();

    // A call from another thread runs on the user-interface thread and has run when Synchronize
    // returns; what it raises is raised again in the caller.
    {
        std::thread::id ranOn;
        bool ranBeforeReturn = false;
        std::string caught;
        std::atomic<bool> finished{false};
        std::thread worker([&] {
            bool ran = false;
            link.Synchronize([&] {
                ranOn = std::this_thread::get_id();
                ran = true;
            });
            ranBeforeReturn = ran;
            try {
                link.Synchronize([] { throw std::runtime_error("from the display step"); });
            } catch (const std::runtime_error& error) {
                caught = error.what();
            }
            finished.store(true);
        });
        EXPECT_TRUE(serveUntil(finished));
        worker.join();
        EXPECT_EQ(ranOn, uiThread);
        EXPECT_TRUE(ranBeforeReturn);
        EXPECT_EQ(caught, "from the display step");
    }

    // On the user-interface thread itself the call runs at once, and its error reaches the caller.
    {
        bool ran = false;
        link.Synchronize([&] { ran = true; });
        EXPECT_TRUE(ran);
        EXPECT_THROW(link.Synchronize([] { throw std::logic_error("inline"); }), std::logic_error);
    }

    // Posting never waits for the user-interface thread; the messages arrive in order, unchanged.
    {
        std::thread worker([&] {
            link.PostToWindow(0x8400, 2394, -7);
            link.PostToWindow(0x8401, 0, 1);
        });
        worker.join(); // no serving meanwhile: a post that waited would hang here
        const std::vector<PostedMessage> expected{{0x8400, 2394, -7}, {0x8401, 0, 1}};
        std::vector<PostedMessage> arrived;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while ((arrived = posted()).size() < expected.size() && std::chrono::steady_clock::now() < deadline) {
            serve();
        }
        EXPECT_EQ(arrived, expected);
    }

    // Joining a thread that waits in Synchronize runs its calls meanwhile (shutdown with a display
    // step pending), however many it makes; a thread that is not running is no wait at all.
    {
        std::atomic<bool> entered{false};
        int ran = 0;
        std::thread worker([&] {
            entered.store(true);
            for (int i = 0; i < 3; ++i) {
                link.Synchronize([&] { ++ran; });
            }
        });
        while (!entered.load()) {
            std::this_thread::yield();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50)); // now waiting in Synchronize
        link.JoinServing(worker);
        EXPECT_FALSE(worker.joinable());
        EXPECT_EQ(ran, 3);
        std::thread none;
        link.JoinServing(none);
        EXPECT_FALSE(none.joinable());
    }
}

} // namespace quelmo::contracts
