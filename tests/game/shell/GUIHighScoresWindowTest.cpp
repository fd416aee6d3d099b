// ctest-label: shell
// The high-score window over the real GUI and a real table: the rows of table 0 with places "1." to "10.",
// names and scores, the entry just added in the highlight font (none when the score fell off a full
// table), only the first ten of a longer table, only the notice for an empty one, the button's caption by
// the opener and its code 3, and a description without the window's controls, which is logged and shows.
#include "game/shell/GUIHighScoresWindow.h"

#include "engine/core/StringUtils.h"
#include "framework/HighScoresTable.h"
#include "guitools/GUITextControl.h"
#include "tests/game/shell/MenuWindowFixture.h"
#include "tests/support/TestLog.h"

#include <filesystem>

using namespace VelmoraBall;
using GameFramework::HighScoreEntry;

namespace {

std::string Description() {
    std::string xml = R"(<window name="window_high_scores" fader="quick" size="800 600">
      <window name="window" fader="quick" position="100 50" size="600 500">
        <text_label name="no_records" font="plain" text="'No records yet'" fader="quick" position="20 200" size="560 40"/>
        <button name="button_0" fader="quick" position="225 10" size="150 40">
          <text_label name="title" font="plain" text="common/back" fader="quick" size="150 40"/></button>)";
    for (int row = 0; row < 10; ++row) {
        xml += "<window name=\"record_" + std::to_string(row) + "\" fader=\"quick\" position=\"20 " +
               std::to_string(440 - 36 * row) + "\" size=\"560 30\">";
        for (const char* column : {"place", "name", "score"})
            xml += std::string("<text_label name=\"") + column +
                   "\" font=\"common_0\" fader=\"quick\" size=\"150 30\"/>";
        xml += "</window>";
    }
    return xml + "</window></window>";
}

class GUIHighScoresWindowTest : public VelmoraTest::MenuWindowFixture {
protected:
    GUIHighScoresWindowTest() {
        std::filesystem::create_directories(folder);
        table = std::make_unique<GameFramework::HighScoresTable>(10, folder);
    }
    ~GUIHighScoresWindowTest() override {
        windows.clear();
        table.reset();
    }
    GUIHighScoresWindow* MakeScores(const std::string& description = Description()) {
        Describe("window_high_scores.xml", description);
        MakeServices();
        scores = Keep(std::make_unique<GUIHighScoresWindow>(nullptr, nullptr, table.get(), data.get(),
                                                            tools.get(), manager.get(), nullptr));
        return scores;
    }
    void ShowAndWait(int mode, HighScoreEntry* entry) {
        scores->Show(mode, entry);
        Frames(3);
        ASSERT_TRUE(scores->IsVisible());
    }
    void HideAndWait() {
        scores->Hide();
        Frames(4);
        ASSERT_TRUE(manager->IsFree());
    }
    GUITools::GUITextControl* Cell(int row, int column) {
        return scores->GetTextControl(std::string("window_high_scores") +
                                      GUIHighScoresWindow::RowPath(row, column));
    }
    // What the rows on screen read, "place name score font" each.
    std::vector<std::string> ShownRows() {
        std::vector<std::string> rows;
        for (int row = 0; row < GUIHighScoresWindow::RowCount; ++row) {
            std::string line;
            int visible = 0;
            for (int column = 0; column < GUIHighScoresWindow::ColumnCount; ++column) {
                const GUITools::GUITextControl* cell = Cell(row, column);
                visible += cell->GetWindow()->visible ? 1 : 0;
                line += OrvexEngine::ToMultiByte(cell->text) + " ";
                EXPECT_EQ(cell->fontName, Cell(row, 0)->fontName) << "one font per row";
            }
            EXPECT_TRUE(visible == 0 || visible == 3) << "row " << row;
            if (visible == 3)
                rows.push_back(line + Cell(row, 0)->fontName);
        }
        return rows;
    }
    bool NoticeShown() {
        return scores->GetControl("window_high_scores/window/no_records")->GetWindow()->visible;
    }
    GUITools::GUITextControl* Caption() {
        return scores->GetTextControl("window_high_scores/window/button_0/title");
    }

    // A table file of its own per test: the temporary folder serves the whole test program.
    std::string folder =
        VelmoraTest::TempDir() + "/" + testing::UnitTest::GetInstance()->current_test_info()->name();
    std::unique_ptr<GameFramework::HighScoresTable> table;
    GUIHighScoresWindow* scores = nullptr;
};

} // namespace

TEST_F(GUIHighScoresWindowTest, RowsOfTheTableWithTheNewEntryHighlighted) {
    MakeScores();
    table->AddEntry(L"Alice", 0, 5000);
    table->AddEntry(L"Bob", 0, 12000);
    table->AddEntry(L"Other table", 1, 99999);
    HighScoreEntry* added = table->AddEntry(L"Carol", 0, 7000);
    ASSERT_NE(added, nullptr);

    ShowAndWait(24, added);
    EXPECT_EQ(ShownRows(), (std::vector<std::string>{"1. Bob 12000 common_0", "2. Carol 7000 common_1",
                                                     "3. Alice 5000 common_0"}));
    EXPECT_FALSE(NoticeShown());
    EXPECT_EQ(Caption()->textExpression, "common/continue");
    EXPECT_EQ(Caption()->text, L"Continue");
    HideAndWait();

    // From the main menu: nothing highlighted, and the button goes back.
    ShowAndWait(6, nullptr);
    EXPECT_EQ(ShownRows(), (std::vector<std::string>{"1. Bob 12000 common_0", "2. Carol 7000 common_0",
                                                     "3. Alice 5000 common_0"}));
    EXPECT_EQ(Caption()->text, L"Back");
}

TEST_F(GUIHighScoresWindowTest, AnEmptyTableShowsOnlyTheNoticeAndAFullOneItsFirstTen) {
    MakeScores();
    ShowAndWait(6, nullptr);
    EXPECT_TRUE(ShownRows().empty());
    EXPECT_TRUE(NoticeShown());
    HideAndWait();

    // Twelve entries of table 0 (a file written elsewhere keeps more than ten), highest first.
    for (uint32_t i = 0; i < 12; ++i)
        table->AppendEntry(L"P" + std::to_wstring(i), 0, 1000 - i, i);
    ShowAndWait(25, table->GetEntry(0, 11)); // the highlight is below the tenth place: none shows
    const std::vector<std::string> rows = ShownRows();
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows.front(), "1. P0 1000 common_0");
    EXPECT_EQ(rows.back(), "10. P9 991 common_0");
    EXPECT_FALSE(NoticeShown());
    HideAndWait();
}

TEST_F(GUIHighScoresWindowTest, AScoreThatFellOffAFullTableHighlightsNothing) {
    MakeScores();
    for (uint32_t i = 0; i < 10; ++i)
        table->AddEntry(L"Q" + std::to_wstring(i), 0, 500 + i);
    HighScoreEntry* late = table->AddEntry(L"Late", 0, 3);
    ASSERT_EQ(late, nullptr);
    ShowAndWait(25, late);
    const std::vector<std::string> rows = ShownRows();
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows.front(), "1. Q9 509 common_0");
    for (const std::string& row : rows)
        EXPECT_EQ(row.substr(row.size() - 8), "common_0") << row;
}

TEST_F(GUIHighScoresWindowTest, TheButtonLeadsBackFromEitherOpener) {
    MakeScores();
    OrvexEngine::GUIButton* button = scores->GetButton("window_high_scores/window/button_0");
    Click(button);
    EXPECT_EQ(scores->result, 0);
    for (int mode : {6, 24, 25}) {
        ShowAndWait(mode, nullptr);
        EXPECT_EQ(scores->mode, mode);
        Click(button);
        EXPECT_EQ(scores->result, 3) << mode;
        HideAndWait();
    }
    // The framework's plain show records the mode and leaves the window as it was.
    scores->Show(7);
    EXPECT_EQ(scores->mode, 7);
    Frames(2);
    EXPECT_FALSE(scores->IsVisible());
}

TEST_F(GUIHighScoresWindowTest, MissingControlsAreLoggedAndTheRestShows) {
    MakeScores(
        R"(<window name="window_high_scores" fader="quick"><window name="window" fader="quick" size="600 500">
        <window name="record_0" fader="quick" size="560 30"><text_label name="name" font="common_0" fader="quick" size="100 30"/></window>
        </window></window>)");
    const std::string missing = "\"window_high_scores/window/record_9/score\"";
    EXPECT_TRUE(services.log.Contains(missing));
    EXPECT_TRUE(services.log.Contains("\"window_high_scores/window/no_records\""));
    EXPECT_TRUE(services.log.Contains("\"window_high_scores/window/button_0/title\""));
    HighScoreEntry* added = table->AddEntry(L"Alice", 0, 10);
    ShowAndWait(24, added);
    const GUITools::GUITextControl* name = scores->GetTextControl("window_high_scores/window/record_0/name");
    EXPECT_EQ(name->text, L"Alice");
    EXPECT_EQ(name->fontName, "common_1");
    EXPECT_TRUE(name->GetWindow()->visible);
    HideAndWait();
}
