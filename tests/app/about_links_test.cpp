// SPDX-License-Identifier: MIT
#include "app/about_links.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kestrow {
namespace {

struct RecordingShell final : DesktopShell {
    std::vector<std::pair<std::string, std::string>> calls;
    void Execute(std::string_view verb, std::string_view target) override {
        calls.emplace_back(verb, target);
    }
};

TEST(AboutLinks, HandTheExactTargetsToTheDesktop) {
    RecordingShell shell;
    maker::SendMail(shell);
    maker::OpenSite(shell);
    maker::OpenDonation(shell);
    using Call = std::pair<std::string, std::string>;
    EXPECT_EQ(shell.calls, (std::vector<Call>{
                               {"Open", "mailto:kestrow@example.org?Subject=Ravelin"},
                               {"open", "http://kestrow.example.org/"},
                               {"open", "http://kestrow.example.org/DON.html"}}));
}

}  // namespace
}  // namespace kestrow
