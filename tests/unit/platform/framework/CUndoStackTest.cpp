#include "platform/framework/CUndoStack.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct StepFailure {};

// A step that writes its name into a log when it goes back or forward, and costs what it says.
class LoggedStep : public CUndoStep {
public:
    LoggedStep(std::string& log, char name, std::size_t cost)
        : m_log(log), m_name(name), m_cost(cost) {}
    void Undo() override {
        if (m_name == '!')
            throw StepFailure();
        m_log += '-', m_log += m_name;
    }
    void Redo() override { m_log += '+', m_log += m_name; }
    std::size_t Cost() const override { return m_cost; }

private:
    std::string& m_log;
    char m_name;
    std::size_t m_cost;
};

void Push(CUndoStack& history, std::string& log, char name, std::size_t cost = 10) {
    history.Reserve();
    history.Push(std::make_unique<LoggedStep>(log, name, cost));
}

} // namespace

TEST(UndoStack, KeepsTheNewestStepsThatFitItsBudgetAndALargerOneAlone) {
    std::string log;
    CUndoStack history(100);
    for (char name : {'a', 'b', 'c', 'd'})
        Push(history, log, name, 30);
    // Four of 30 bytes do not fit in 100: the oldest went.
    EXPECT_EQ(history.StepCount(), 3u);
    EXPECT_EQ(history.Bytes(), 90u);
    while (history.Undo() != nullptr) {
    }
    EXPECT_EQ(log, "-d-c-b");

    Push(history, log, 'e', 500);
    EXPECT_EQ(history.StepCount(), 1u);
    EXPECT_TRUE(history.CanUndo());
    Push(history, log, 'f', 10);
    EXPECT_EQ(history.StepCount(), 1u);
    EXPECT_EQ(history.Bytes(), 10u);

    // Steps that fill the budget exactly all stay.
    CUndoStack exact(90);
    for (char name : {'a', 'b', 'c'})
        Push(exact, log, name, 30);
    EXPECT_EQ(exact.StepCount(), 3u);

    // The history of a document holds 64 MiB of steps.
    CUndoStack standard;
    constexpr std::size_t kMiB = std::size_t(1) << 20;
    for (int i = 0; i < 64; ++i)
        Push(standard, log, 'm', kMiB);
    EXPECT_EQ(standard.StepCount(), 64u);
    Push(standard, log, 'n', kMiB);
    EXPECT_EQ(standard.StepCount(), 64u);
    EXPECT_EQ(standard.Bytes(), 64 * kMiB);
}

// The history keeps its steps in a ring: they must come out in order however many times the
// ring has grown and wrapped, and Undo, Redo, Fold and the clean mark must follow them there.
TEST(UndoStack, AHistoryAtItsBudgetKeepsItsOrderAsItWraps) {
    std::string log;
    CUndoStack history(50);
    const std::string names = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (char name : names)
        Push(history, log, name);
    EXPECT_EQ(history.StepCount(), 5u);
    history.Undo();
    history.Undo();
    history.Redo();
    EXPECT_EQ(log, "-9-8+8");
    // A new step drops the undone one; folded at once, it leaves the step below it where the
    // contents are saved.
    Push(history, log, 'p');
    history.SetClean();
    history.Fold(1);
    EXPECT_EQ(history.StepCount(), 4u);
    EXPECT_EQ(history.Bytes(), 40u);
    EXPECT_TRUE(history.IsClean());
    log.clear();
    while (history.Undo() != nullptr) {
    }
    EXPECT_EQ(log, "-8-7-6-5");

    // Smaller steps: the ring grows while it wraps, and keeps the newest fifty in order.
    for (char name : names)
        Push(history, log, name, 1);
    EXPECT_EQ(history.StepCount(), 50u);
    log.clear();
    while (history.Undo() != nullptr) {
    }
    std::string expected;
    for (std::size_t i = names.size(); i > names.size() - 50; --i)
        expected += '-', expected += names[i - 1];
    EXPECT_EQ(log, expected);
}

TEST(UndoStack, TheCleanMarkFollowsUndoAndRedoAndGoesWithTheStepsThatLedToIt) {
    std::string log;
    CUndoStack history(100);
    Push(history, log, 'a');
    history.SetClean();
    Push(history, log, 'b');
    EXPECT_FALSE(history.IsClean());
    history.Undo();
    EXPECT_TRUE(history.IsClean());
    history.Undo();
    EXPECT_FALSE(history.IsClean());
    history.Redo();
    EXPECT_TRUE(history.IsClean());
    // A new edit below the saved place, which comes to stand where the saved one stood: the
    // saved drawing can no longer be reached.
    history.Undo();
    Push(history, log, 'c');
    EXPECT_EQ(history.DoneCount(), 1u);
    EXPECT_FALSE(history.IsClean());
    EXPECT_FALSE(history.CanRedo());

    // The oldest step dropped for the budget: the saved place moves down with the rest.
    CUndoStack kept(25);
    Push(kept, log, 'x');
    Push(kept, log, 'y');
    kept.SetClean();
    Push(kept, log, 'z');
    EXPECT_FALSE(kept.IsClean());
    kept.Undo();
    EXPECT_TRUE(kept.IsClean());

    // Saved, then the oldest steps dropped for the budget: the saved place goes with them.
    CUndoStack small(25);
    small.SetClean();
    Push(small, log, 'x');
    Push(small, log, 'y');
    Push(small, log, 'z');
    small.Undo();
    small.Undo();
    EXPECT_FALSE(small.IsClean());
    EXPECT_FALSE(small.CanUndo());
}

TEST(UndoStack, AGroupIsOneStepAndAFailingStepChangesNothing) {
    std::string log;
    CUndoStack history;
    history.BeginGroup();
    Push(history, log, 'a', 1000);
    Push(history, log, 'b', 1000);
    EXPECT_FALSE(history.CanUndo());
    history.EndGroup();
    EXPECT_EQ(history.StepCount(), 1u);
    // The group costs what its steps cost, and then some.
    EXPECT_GT(history.Bytes(), 2000u);
    history.Undo();
    history.Redo();
    EXPECT_EQ(log, "-b-a+a+b");

    // An empty group leaves no step.
    history.BeginGroup();
    history.EndGroup();
    EXPECT_EQ(history.StepCount(), 1u);

    // A step of a group that cannot go back: the steps already taken back are done again, and
    // the history stays where it was.
    log.clear();
    history.BeginGroup();
    Push(history, log, '!');
    Push(history, log, 'c');
    history.EndGroup();
    EXPECT_THROW(history.Undo(), StepFailure);
    EXPECT_EQ(log, "-c+c");
    EXPECT_EQ(history.DoneCount(), 2u);
}
