// One copy per desktop session: what a start does, over every answer the
// running copy, or the lack of one, can give. The transports beneath (the
// session bus, the Windows mutex and message) are the end-to-end tests'.
#include "SessionHandOver.h"

#include <gtest/gtest.h>

#include <sstream>

namespace lumivar {
namespace {

using Claim = ui::SessionCopy::Claim;
using Answer = ui::SessionCopy::Answer;

class FakeSessionCopy final : public ui::SessionCopy {
public:
    FakeSessionCopy(Claim claim, Answer answer) : m_claim(claim), m_answer(answer) {}
    Claim ClaimSession() override { return m_claim; }
    Answer HandOver(const ui::StartRequest& request, std::chrono::milliseconds patience) override {
        handedOver = request;
        waited = patience;
        return m_answer;
    }
    std::optional<ui::StartRequest> handedOver;
    std::chrono::milliseconds waited{};

private:
    Claim m_claim;
    Answer m_answer;
};

TEST(SessionHandOver, RunsEndsOrAsksAsTheRunningCopyAnswers) {
    constexpr auto kRun = std::nullopt;
    const struct {
        const char* what;
        Claim claim;
        Answer answer;
        bool userRunsAnother;
        std::optional<int> outcome;
        bool asked;
        int lines; // on standard error
    } cases[] = {
        {"the first copy", Claim::First, Answer::NoAnswer, false, kRun, false, 0},
        {"no session bus", Claim::Alone, Answer::NoAnswer, false, kRun, false, 0},
        {"a copy that runs alike", Claim::Held, Answer::CameForward, false, 0, false, 0},
        {"a dry run against a real one, or another folder", Claim::Held, Answer::OtherRun, true,
         kExitOtherCopyRuns, false, 1},
        {"hung or still starting, and the user starts another", Claim::Held, Answer::NoAnswer, true,
         kRun, true, 1},
        {"hung or still starting, and the user does not", Claim::Held, Answer::NoAnswer, false,
         kExitOtherCopyRuns, true, 1},
        {"ended while asked: the session is this one's", Claim::Held, Answer::Gone, false, kRun,
         false, 0},
    };
    const ui::StartRequest request{true, "/home/u/Setup.ini", "startup-1", {}};
    for (const auto& c : cases) {
        FakeSessionCopy copy(c.claim, c.answer);
        std::ostringstream errors;
        bool asked = false;
        const auto ask = [&] {
            asked = true;
            return c.userRunsAnother;
        };
        EXPECT_EQ(HandOverToRunningCopy(copy, request, ask, errors), c.outcome) << c.what;
        EXPECT_EQ(asked, c.asked) << c.what;
        const std::string said = errors.str();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.lines) << c.what << ": " << said;
        if (c.claim == Claim::Held) {
            EXPECT_EQ(copy.handedOver, request) << c.what;
            EXPECT_EQ(copy.waited, ui::kRunningCopyPatience) << c.what;
        }
    }
}

} // namespace
} // namespace lumivar
