// The files of the limits per program: programs.lim and programs.use byte for byte, kept with their
// copies and merged so that no read gives minutes back; the editor's list (what a rule may name,
// the texts of its minutes); the programs' lines of history.csv.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "core/programs/ProgramList.h"
#include "core/rules/DayHistory.h"
#include "core/store/DataStore.h"
#include "core/store/HistoryFile.h"
#include "core/store/ProgramRuleStore.h"
#include "core/store/ProgramUseStore.h"
#include "support/FakeClock.h"
#include "support/FakeProcesses.h"
#include "support/TempFolder.h"
#include "support/TimeZone.h"

namespace {

// Little-endian fields and 0xCC-filled text fields, as the files have them.
class CBytes {
public:
    CBytes& Text(const std::string& strText, std::size_t nWidth) {
        BYTES field(nWidth, 0xCC);
        std::memcpy(field.data(), strText.c_str(), strText.size() + 1);
        m_bytes.insert(m_bytes.end(), field.begin(), field.end());
        return *this;
    }
    CBytes& Int(std::int32_t n) {
        for (int i = 0; i < 4; ++i) m_bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(n) >> (8 * i)));
        return *this;
    }
    BYTES Get() const { return m_bytes; }

private:
    BYTES m_bytes;
};

std::string Text(const BYTES& bytes) { return std::string(bytes.begin(), bytes.end()); }

class ProgramFiles : public ::testing::Test {
protected:
    CTimeZone m_zone{"UTC0"};
    CTempFolder m_folder;
    CFakeClock m_clock{CClock::MakeLocal(2026, 5, 12, 10, 0, 0)};
    CFakeProcesses m_processes;
};

}  // namespace

TEST_F(ProgramFiles, RulesAndUseAreWrittenByteForByteAndAreRestoredFromTheirCopies) {
    PROGRAM_RULE rule;
    rule.strProgram = "game.exe";
    rule.strPath = "C:\\Games\\game.exe";
    rule.nMinutes = {60, 30, 30, 0, 30, 30, PROGRAM_RULE::NO_LIMIT};
    rule.nFlags = PROGRAM_RULE::FLAG_OUTSIDE;
    CProgramRuleStore rules;
    rules.ReplaceUser("kid", {rule});
    ASSERT_TRUE(rules.Save());
    const BYTES ruleImage = CBytes()
                                .Text("kid", 128)
                                .Text("game.exe", 128)
                                .Text("C:\\Games\\game.exe", 260)
                                .Int(60).Int(30).Int(30).Int(0).Int(30).Int(30).Int(-1)
                                .Int(2)
                                .Get();
    ASSERT_EQ(ruleImage.size(), CProgramRuleStore::kRecordSize);
    EXPECT_EQ(m_folder.Read(CProgramRuleStore::kFileName), ruleImage);

    CProgramUseStore use;
    use.ForDate("kid", "game.exe", 20260512) = PROGRAM_USE{"kid", "game.exe", 20260512, 1800, 2};
    ASSERT_TRUE(use.Save());
    const BYTES useImage = CBytes().Text("kid", 128).Text("game.exe", 128).Int(20260512).Int(1800).Int(2).Get();
    ASSERT_EQ(useImage.size(), CProgramUseStore::kRecordSize);
    EXPECT_EQ(m_folder.Read(CProgramUseStore::kFileName), useImage);

    // Deleted or cut short: both come back from their copies.
    m_folder.Remove(CProgramRuleStore::kFileName);
    m_folder.Write(CProgramUseStore::kFileName, BYTES(useImage.begin(), useImage.begin() + 100));
    CProgramRuleStore rulesAgain;
    ASSERT_TRUE(rulesAgain.Load());
    rule.strUser = "kid";
    EXPECT_EQ(rulesAgain.ForUser("kid"), std::vector<PROGRAM_RULE>{rule});
    CProgramUseStore useAgain;
    ASSERT_TRUE(useAgain.Load());
    EXPECT_EQ(useAgain.Find("kid", "GAME.exe", 20260512)->nUsedSecs, 1800);

    // Values no editor writes read as the nearest that mean something; unknown flags go.
    m_folder.Write(CProgramRuleStore::kFileName, CBytes()
                                                     .Text("kid", 128).Text("x.exe", 128).Text("", 260)
                                                     .Int(-7).Int(5000).Int(0).Int(1).Int(2).Int(3).Int(4)
                                                     .Int(0x7D)
                                                     .Get());
    ASSERT_TRUE(rulesAgain.Load());
    const PROGRAM_RULE odd = rulesAgain.ForUser("kid").at(0);
    EXPECT_EQ(odd.nMinutes[0], PROGRAM_RULE::NO_LIMIT);
    EXPECT_EQ(odd.nMinutes[1], 1440);
    EXPECT_EQ(odd.nFlags, PROGRAM_RULE::FLAG_BLOCKED);
}

TEST_F(ProgramFiles, AReadNeverGivesMinutesBack) {
    CProgramUseStore counted;
    counted.ForDate("kid", "game.exe", 20260512).nUsedSecs = 900;
    ASSERT_TRUE(counted.Save());
    // An older file put back by hand, with a second record of the same program in other letters.
    m_folder.Write(CProgramUseStore::kFileName, CBytes()
                                                    .Text("kid", 128).Text("game.exe", 128).Int(20260512).Int(300).Int(4)
                                                    .Text("kid", 128).Text("Game.EXE", 128).Int(20260512).Int(600).Int(0)
                                                    .Get());
    counted.ForDate("kid", "game.exe", 20260512).nUsedSecs = 950;  // this run counted on
    ASSERT_TRUE(counted.Load());
    ASSERT_EQ(counted.GetList().size(), 1u);
    EXPECT_EQ(counted.GetList().front(), (PROGRAM_USE{"kid", "game.exe", 20260512, 950, 4}));
}

TEST_F(ProgramFiles, TheEditorsListRefusesWindowsAndQuenbyAndTakesTypedOrPickedPrograms) {
    // A Windows folder the test can put files in (a name with backslashes is one file natively).
    m_processes.m_strWindowsFolder = m_folder.Folder() + "Win\\";
    std::ofstream(m_processes.m_strWindowsFolder + "System32\\calc.exe") << "MZ";
    CProgramRuleStore store;
    CProgramList list;
    list.Load(store, "kid");
    const std::string strInWindows = m_processes.m_strWindowsFolder + "Tools\\notepad.exe";
    const struct {
        std::string strName;
        std::string strPath;
        std::string strRefusal;  // "" when added
    } cases[] = {
        {"", "", "Type the name of a program file, for example game.exe."},
        {"C:\\Games\\game.exe", "", "Type only the program file's name, for example game.exe, without its folder."},
        {"Explorer.EXE", "", "Explorer.EXE is a part of Windows and cannot have a rule."},
        {"quenby.exe", "", "quenby.exe is a part of Quenby and cannot have a rule."},
        {"calc", "", "calc.exe is a part of Windows and cannot have a rule."},
        {"", strInWindows, "notepad.exe is a part of Windows and cannot have a rule."},
        {" game ", "", ""},
        {"", "D:\\Games\\Chess.exe", ""},
        {"GAME.EXE", "D:\\Games\\GAME.EXE", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(list.Add(c.strName, c.strPath), c.strRefusal) << c.strName << c.strPath;
    ASSERT_EQ(list.Count(), 2u) << "the same program in other letters is the rule already there";
    EXPECT_EQ(list.At(0).strProgram, "game.exe");
    EXPECT_EQ(list.At(0).strPath, "D:\\Games\\GAME.EXE") << "picking it running tells where it lies";
    EXPECT_EQ(list.At(1).strProgram, "Chess.exe");
    EXPECT_EQ(list.At(0).nMinutes[3], CProgramList::kNewRuleMinutes);

    list.SetMinutes(0, CProgramList::kEveryDay, 30);
    list.SetMinutes(0, 6, 90);
    list.SetCountsOutside(1, true);
    list.SetBlocked(1, true);
    EXPECT_TRUE(list.IsChanged());
    ASSERT_TRUE(list.Save(store));
    EXPECT_FALSE(list.IsChanged());
    CProgramRuleStore stored;
    ASSERT_TRUE(stored.Load());
    EXPECT_EQ(stored.ForUser("kid"), list.Rules());
    list.Remove(1);
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_TRUE(list.IsChanged());
}

TEST(ProgramTexts, MinutesWeeksAndDaysInWords) {
    for (const auto& [nMinutes, pszText] : {std::pair{PROGRAM_RULE::NO_LIMIT, "No limit"}, {0, "Not on this day"},
                                            {5, "5 min"}, {60, "1 h"}, {90, "1 h 30 min"}, {480, "8 h"}})
        EXPECT_EQ(CProgramList::MinutesText(nMinutes), pszText);
    PROGRAM_RULE game;
    game.strProgram = "game.exe";
    game.nMinutes.fill(30);
    EXPECT_EQ(CProgramList::WeekText(game), "30 min every day");
    game.nMinutes[0] = game.nMinutes[6] = 60;
    game.nMinutes[3] = 0;
    game.nMinutes[4] = PROGRAM_RULE::NO_LIMIT;
    EXPECT_EQ(CProgramList::WeekText(game),
              "Sun 1 h, Mon 30 min, Tue 30 min, Wed none, Thu no limit, Fri 30 min, Sat 1 h");
    PROGRAM_RULE word;
    word.strProgram = "word.exe";
    word.nFlags = PROGRAM_RULE::FLAG_OUTSIDE;
    PROGRAM_RULE chess = word;
    chess.strProgram = "chess.exe";
    chess.nFlags = PROGRAM_RULE::FLAG_BLOCKED;
    EXPECT_EQ(CProgramList::WeekText(chess), "Blocked");
    EXPECT_EQ(CProgramList::DayText({game, word, chess}, 0),
              "game.exe 1 h; word.exe no limit, outside the day's limits; chess.exe blocked");
    EXPECT_EQ(CProgramList::DayText({game}, 3), "game.exe blocked");
    EXPECT_EQ(CProgramList::DayText({}, 3), "");
}

// A program's day is a line of its own with a seventh field; the header names the column once the
// file holds such a line, and the children's days stay as they were.
TEST_F(ProgramFiles, ProgramsDaysGoToTheHistoryAsLinesOfTheirOwn) {
    const HISTORY_LINE game{20260511, "kid", 30, 30, 2, 0, "game.exe"};
    const HISTORY_LINE word{20260511, "kid", 95, -1, 0, 0, "word, the \"editor\".exe"};
    EXPECT_EQ(CHistoryFile::Format(game), "2026-05-11,kid,30,30,2,,game.exe");
    EXPECT_EQ(CHistoryFile::Format(word), "2026-05-11,kid,95,,0,,\"word, the \"\"editor\"\".exe\"");
    for (const HISTORY_LINE& line : {game, word}) {
        HISTORY_LINE back;
        ASSERT_TRUE(CHistoryFile::Parse(CHistoryFile::Format(line), back));
        EXPECT_EQ(back, line);
    }
    HISTORY_LINE day;
    ASSERT_TRUE(CHistoryFile::Parse("2026-05-11,kid,85,90,4,15,", day)) << "a spreadsheet's empty seventh field";
    EXPECT_EQ(day, (HISTORY_LINE{20260511, "kid", 85, 90, 4, 15, ""}));
    EXPECT_FALSE(CHistoryFile::Parse("2026-05-11,kid,85,,4,15,", day)) << "a day has its allowed minutes";

    const std::string strOld = std::string(CHistoryFile::kHeader) + "\r\n2026-05-10,kid,85,90,4,15\r\n";
    m_folder.Write(CHistoryFile::kFileName, BYTES(strOld.begin(), strOld.end()));
    // Yesterday's records of programs.use: one to write, one without use to forget, today's to keep.
    PROGRAM_RULE rule;
    rule.strProgram = "game.exe";
    rule.nMinutes.fill(30);
    CProgramRuleStore rules;
    rules.ReplaceUser("kid", {rule});
    CProgramUseStore use;
    use.ForDate("kid", "game.exe", 20260511) = {"kid", "game.exe", 20260511, 1830, 2};
    use.ForDate("kid", "idle.exe", 20260511) = {"kid", "idle.exe", 20260511, 0, 0};
    use.ForDate("kid", "game.exe", 20260512) = {"kid", "game.exe", 20260512, 60, 0};
    CDayHistory::CloseProgramDays(rules, use, 20260512);
    CDayHistory::CloseProgramDays(rules, use, 20260512);
    EXPECT_EQ(Text(m_folder.Read(CHistoryFile::kFileName)),
              std::string(CHistoryFile::kProgramHeader) + "\r\n2026-05-10,kid,85,90,4,15\r\n" +
                  "2026-05-11,kid,30,30,2,,game.exe\r\n");
    ASSERT_EQ(use.GetList().size(), 1u);
    EXPECT_EQ(use.GetList().front().nDate, 20260512);

    // The history window's list: today's from programs.use, the days before from the file.
    CDataStore store;
    store.m_programRules = rules;
    store.m_programUse = use;
    EXPECT_EQ(CDayHistory::ProgramDays(store, "kid", m_clock.Now()),
              (std::vector<PROGRAM_DAY>{{20260512, "game.exe", 1, 30, 0, true}, {20260511, "game.exe", 30, 30, 2, false}}));
}
