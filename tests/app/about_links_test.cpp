// SPDX-License-Identifier: MIT
#include "app/about_links.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrow {
namespace {

struct RecordingShell final : DesktopShell {
    std::vector<std::string> calls;
    bool Open(std::string_view target) override {
        calls.emplace_back(target);
        return true;
    }
};

TEST(AboutLinks, HandTheExactTargetsToTheDesktop) {
    RecordingShell shell;
    maker::SendMail(shell);
    maker::OpenSite(shell);
    maker::OpenDonation(shell);
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"mailto:kestrow@example.org?Subject=Ravelin",
                                                     "http://kestrow.example.org/",
                                                     "http://kestrow.example.org/DON.html"}));
}

}  // namespace
}  // namespace kestrow
