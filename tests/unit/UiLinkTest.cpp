#include "contracts/UiLinkContract.h"
#include "fakes/FakeUiLink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace quelmo {
namespace {

TEST(FakeUiLink, BehavesLikeTheWin32Link) {
    fakes::FakeUiLink link;
    contracts::CheckUiLink(
        link, [&] { link.ServeFor(std::chrono::milliseconds(1)); },
        [&] {
            std::vector<contracts::PostedMessage> posted;
            for (const auto& message : link.PostedMessages()) {
                posted.emplace_back(message.message, message.wParam, message.lParam);
            }
            return posted;
        });
}

} // namespace
} // namespace quelmo
