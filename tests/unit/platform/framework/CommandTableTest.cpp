#include "platform/framework/CCmdTarget.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CCommandLineInfo.h"
#include "platform/framework/Resources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_calls;

class CBaseTarget : public CCmdTarget {
public:
    void OnFirst() { g_calls.push_back("base first"); }
    void OnSecond() { g_calls.push_back("base second"); }
    void OnUpdateSecond(CCmdUI* pCmdUI) { pCmdUI->Enable(false); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseTarget, CCmdTarget)
ON_COMMAND(100, &CBaseTarget::OnFirst)
ON_COMMAND(101, &CBaseTarget::OnSecond)
ON_UPDATE_COMMAND_UI(101, &CBaseTarget::OnUpdateSecond)
END_MESSAGE_MAP()

class CDerivedTarget : public CBaseTarget {
public:
    void OnFirst() { g_calls.push_back("derived first"); }
    bool OnMaybe(UINT nID) {
        g_calls.push_back("maybe " + std::to_string(nID));
        return m_bTakeMaybe;
    }
    void OnRange(UINT nID) { g_calls.push_back("range " + std::to_string(nID)); }
    void OnUpdateRadio(CCmdUI* pCmdUI) { pCmdUI->SetRadio(true); }
    bool m_bTakeMaybe = false;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedTarget, CBaseTarget)
ON_COMMAND(100, &CDerivedTarget::OnFirst)
ON_COMMAND(100, &CBaseTarget::OnFirst)
ON_COMMAND_EX(101, &CDerivedTarget::OnMaybe)
ON_COMMAND_RANGE(200, 203, &CDerivedTarget::OnRange)
ON_UPDATE_COMMAND_UI(200, &CDerivedTarget::OnUpdateRadio)
END_MESSAGE_MAP()

class CommandTable : public ::testing::Test {
protected:
    void SetUp() override { g_calls.clear(); }
};

} // namespace

TEST_F(CommandTable, FirstRowOfTheMostDerivedTableWins) {
    CDerivedTarget target;
    EXPECT_TRUE(target.OnCmdMsg(100, CN_COMMAND, nullptr));
    EXPECT_EQ(g_calls, std::vector<std::string>{"derived first"});
}

TEST_F(CommandTable, DecliningHandlerLetsTheSearchGoOnToTheBase) {
    CDerivedTarget target;
    EXPECT_TRUE(target.OnCmdMsg(101, CN_COMMAND, nullptr));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"maybe 101", "base second"}));
    g_calls.clear();
    target.m_bTakeMaybe = true;
    EXPECT_TRUE(target.OnCmdMsg(101, CN_COMMAND, nullptr));
    EXPECT_EQ(g_calls, std::vector<std::string>{"maybe 101"});
}

TEST_F(CommandTable, RangesPassTheIdAndUnknownIdsAreNotHandled) {
    CDerivedTarget target;
    EXPECT_TRUE(target.OnCmdMsg(203, CN_COMMAND, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(204, CN_COMMAND, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(199, CN_COMMAND, nullptr));
    EXPECT_EQ(g_calls, std::vector<std::string>{"range 203"});
}

TEST_F(CommandTable, ProbingCallsNothing) {
    CDerivedTarget target;
    EXPECT_TRUE(target.OnCmdMsg(100, CN_COMMAND, nullptr, true));
    EXPECT_FALSE(target.OnCmdMsg(300, CN_COMMAND, nullptr, true));
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(CommandTable, UpdateStatesFollowHandlersAndMissingHandlersDisable) {
    CDerivedTarget target;
    struct Row {
        UINT id;
        bool enabled;
        bool radio;
        int check;
    };
    const Row rows[] = {
        {100, true, false, 0},  // handled, no update handler: enabled
        {101, false, false, 0}, // the base's update handler disables it
        {200, true, true, 1},   // radio mark from the update handler
        {300, false, false, 0}, // nobody handles it: disabled
    };
    for (const Row& row : rows) {
        CCmdUI state(row.id);
        state.DoUpdate(&target, true);
        EXPECT_EQ(state.m_bEnabled, row.enabled) << row.id;
        EXPECT_EQ(state.m_bRadio, row.radio) << row.id;
        EXPECT_EQ(state.m_nCheck, row.check) << row.id;
    }
    EXPECT_TRUE(g_calls.empty());
}

TEST(CommandLine, FirstFileNameOpensAndDoubleDashEndsOptions) {
    CCommandLineInfo none;
    EXPECT_EQ(none.m_nShellCommand, CCommandLineInfo::FileNew);

    CCommandLineInfo info;
    info.ParseParam("x", true, false);
    info.ParseParam("/tmp/a", false, false);
    info.ParseParam("/tmp/b", false, true);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(info.m_strFileName, "/tmp/a");
    EXPECT_TRUE(info.m_bUnknownOption);
}

TEST(Resources, StringFieldsAndLookUps) {
    static const AFX_STRING_RESOURCE strings[] = {{7001, "Save the file\nSave"},
                                                  {7002, "App\n\nApp\n\n\nApp.Doc\nApp.Doc"}};
    AFX_RESOURCES table;
    table.strings = strings;
    AfxRegisterResources(table);
    EXPECT_EQ(AfxExtractSubString(AfxLoadString(7001), 0), "Save the file");
    EXPECT_EQ(AfxExtractSubString(AfxLoadString(7001), 1), "Save");
    EXPECT_EQ(AfxExtractSubString(AfxLoadString(7001), 2), "");
    EXPECT_EQ(AfxExtractSubString(AfxLoadString(7002), 1), "");
    EXPECT_EQ(AfxExtractSubString(AfxLoadString(7002), 5), "App.Doc");
    EXPECT_EQ(AfxExtractSubString(AfxLoadString(7002), 6), "App.Doc");
    std::string text = "unchanged";
    EXPECT_FALSE(AfxLoadString(7003, text));
    EXPECT_EQ(text, "unchanged");
    EXPECT_EQ(AfxFindMenu(7001), nullptr);
}
