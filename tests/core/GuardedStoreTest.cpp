// The store in the guard's hands, as in the installed program: a child's whole day is written
// without one refusal; requests sent straight to the guard that would give time, change a parent's
// file or break the protocol are refused, logged and change nothing; the Administrator's proof
// opens the parent's writes until logout; a data file changed behind the guard's back gains
// nothing and is put back; and the time the program was gone counts as the child's use.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "core/rules/DayHistory.h"
#include "core/rules/ExtraTime.h"
#include "core/store/ChildAccountList.h"
#include "core/store/DataStore.h"
#include "core/store/EventLog.h"
#include "core/store/HistoryFile.h"
#include "core/store/PasswordField.h"
#include "core/store/RecordWriter.h"
#include "EngineDriver.h"
#include "support/EventRecorder.h"
#include "support/GuardedFolder.h"
#include "support/TimeZone.h"

namespace {

TIMESECS At(int nHour, int nMinute, int nDay = 12) { return CClock::MakeLocal(2026, 5, nDay, nHour, nMinute, 0); }

// Every file under a folder, by its path below it.
std::map<std::string, BYTES> Snapshot(const std::string& strFolder) {
    std::map<std::string, BYTES> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(strFolder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[std::filesystem::relative(entry.path(), strFolder).string()] =
            BYTES(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

std::vector<EVENT_ENTRY> EventsOfKind(const std::string& strKind) {
    std::vector<EVENT_ENTRY> found;
    for (const EVENT_ENTRY& entry : CEventLog::ReadAll())
        if (entry.strKind == strKind) found.push_back(entry);
    return found;
}

class GuardedStore : public ::testing::Test {
protected:
    GuardedStore() {
        m_clock.Set(At(9, 0));
        // The parent sets up one child, as the editor does.
        EXPECT_TRUE(m_store.LoadAccounts() == EAdminState::Ready);
        EXPECT_TRUE(m_store.m_adminAccount.AcceptsPassword(CGuardedFolder::kPassword));
        m_store.m_childAccounts.Add("kid");
        EXPECT_TRUE(m_store.m_childAccounts.Save());
        CUserPrj week("kid");  // total 1:30, rest 10 every 25, period 07:30-22:00
        m_store.m_prjStore.Add(week);
        EXPECT_TRUE(m_store.m_prjStore.Save());
        m_guarded.m_client.Logout();
        m_guarded.m_client.Beat("kid", CClock::Zone());
    }

    // Sends a request as another program would, with the transport's process.
    GUARD_ANSWER Send(const GUARD_REQUEST& request) {
        GUARD_ANSWER answer;
        BYTES bytes;
        m_guarded.m_transport.Exchange(CGuardMessage::Encode(request), bytes);
        EXPECT_TRUE(CGuardMessage::Decode(bytes, request.nKind, answer));
        return answer;
    }
    GUARD_ANSWER SendWrite(const std::string& strFile, const BYTES& image, const BYTES& token = {}) {
        GUARD_REQUEST request;
        request.nKind = GUARD_KIND::WRITE;
        request.strName = strFile;
        request.data = image;
        request.token = token;
        return Send(request);
    }

    CTimeZone m_zone{"UTC0"};
    CFakeClock m_clock;
    CEventRecorder m_events;
    CGuardedFolder m_guarded;
    CDataStore m_store;
};

}  // namespace

TEST_F(GuardedStore, AChildsWholeDayIsWrittenWithoutOneRefusal) {
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    EXPECT_GT(kid.TicksUntil(STATE_FORCED_REST, 30 * 60), 0);
    kid.Ticks(5 * 60);
    kid.Logout();  // a switch of user in the middle of the rest
    CEngineDriver again(m_clock);
    again.Login("kid", true);
    EXPECT_EQ(again.State(), STATE_FORCED_REST);
    EXPECT_GT(again.TicksUntil(STATE_REST_DONE, 6 * 60), 0);
    again.StartToUse();
    again.Ticks(10 * 60);

    // The child's own notice settings, from the child's session.
    CChildAccountList children;
    children.Load();
    children.SetNoticeSeconds("kid", 20);
    EXPECT_TRUE(children.Save());

    // The parent grants extra time at the child's status window.
    ASSERT_TRUE(m_store.m_adminAccount.AcceptsPassword(CGuardedFolder::kPassword));
    EXPECT_TRUE(CEventLog::Append(CEventLog::kExtraTime, "kid", "Extra time granted: 15 minutes"));
    EXPECT_TRUE(again.Session().GrantExtra(ExtraGrantSeconds(EXTRA_GRANT::MINUTES_15, m_clock.Now()), again.Mini()));

    // Used up to the end of the total and the extra quarter, with the rests on the way.
    for (int n = 0; n < 3 * 3600 && again.State() != STATE_TOTAL_USED_UP; ++n) {
        if (again.State() == STATE_REST_DONE) again.StartToUse();
        again.Tick();
    }
    EXPECT_EQ(again.State(), STATE_TOTAL_USED_UP);
    again.Logout();
    // Midnight passes; the next start closes the day into the history.
    m_clock.Set(At(8, 0, 13));
    CDataStore store;
    store.LoadAccounts();
    CDayHistory::CloseEndedDays(store, m_clock.Now());
    CEngineDriver tomorrow(m_clock);
    tomorrow.Login("kid", true);
    tomorrow.Ticks(120);
    tomorrow.Logout();

    EXPECT_TRUE(EventsOfKind(CEventLog::kRefused).empty()) << CEventLog::LineOf(EventsOfKind(CEventLog::kRefused)[0]);
    CUsageStore usage;
    usage.Load();
    ASSERT_NE(usage.Find("kid"), nullptr);
    EXPECT_EQ(usage.Find("kid")->nUsedSecs, 120);
    CHistoryFile history;
    history.Load();
    ASSERT_EQ(history.Lines().size(), 1u);
    EXPECT_EQ(history.Lines()[0].nUsedMinutes, 105) << "the total and the extra quarter";
    EXPECT_EQ(history.Lines()[0].nExtraMinutes, 15);
    EXPECT_EQ(m_guarded.m_folder.Read("use.sta"), m_guarded.Record("use.sta")) << "the file is the record's face";
}

TEST_F(GuardedStore, RequestsStraightToTheGuardThatWouldGainAnythingAreRefusedLoggedAndChangeNothing) {
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    kid.Ticks(600);
    kid.Logout();
    const BYTES usage = m_guarded.Record("use.sta");
    ASSERT_EQ(usage.size(), 220u);

    // A token of half an hour ago, run out since.
    GUARD_REQUEST probe;
    probe.nKind = GUARD_KIND::HELLO;
    BYTES expired;
    {
        BYTES answer;
        GUARD_REQUEST login;
        login.nKind = GUARD_KIND::LOGIN;
        login.strName = CGuardedFolder::kPassword;
        m_guarded.m_transport.Exchange(CGuardMessage::Encode(login), answer);
        GUARD_ANSWER decoded;
        ASSERT_TRUE(CGuardMessage::Decode(answer, GUARD_KIND::LOGIN, decoded));
        expired = decoded.token;
    }
    m_clock.AdvanceMs(CGuardTokens::kLifetimeMs);

    auto WithUse = [&usage](std::int32_t nUsed, TIMESECS tSaved) {
        BYTES image = usage;
        for (int n = 0; n < 4; ++n) image[128 + n] = static_cast<std::uint8_t>(nUsed >> (8 * n));
        for (int n = 0; n < 4; ++n) image[144 + n] = static_cast<std::uint8_t>(tSaved >> (8 * n));
        return image;
    };
    CAdminAccount forged;
    forged.m_admin.bFirstRunPending = 0;
    forged.SetPassword("child's choice");
    BYTES forgedParent(reinterpret_cast<const std::uint8_t*>(&forged.m_admin),
                       reinterpret_cast<const std::uint8_t*>(&forged.m_admin) + sizeof forged.m_admin);
    CRecordWriter grant;
    grant.PutText("kid", 128);
    for (std::int32_t n : {DateKey(m_clock.Now()), 7200, 7200, 0}) grant.PutInt32(n);

    BYTES overlong = CGuardMessage::Encode(probe);
    overlong.resize(CGuardMessage::kMaxMessage + 1);
    const BYTES cut = [&] {
        GUARD_REQUEST request;
        request.nKind = GUARD_KIND::WRITE;
        request.strName = "use.sta";
        request.data = usage;
        BYTES bytes = CGuardMessage::Encode(request);
        bytes.resize(bytes.size() - 30);
        return bytes;
    }();

    const struct {
        const char* pszCase;
        std::function<GUARD_STATUS()> send;
    } cases[] = {
        {"use going down", [&] { return SendWrite("use.sta", WithUse(10, m_clock.Now())).nStatus; }},
        {"a record of yesterday", [&] { return SendWrite("use.sta", WithUse(0, m_clock.Now() - 86400)).nStatus; }},
        {"parent.nam without a token", [&] { return SendWrite("parent.nam", forgedParent).nStatus; }},
        {"parent.nam with a made-up token", [&] { return SendWrite("parent.nam", forgedParent, BYTES(16, 0x5A)).nStatus; }},
        {"parent.nam with an expired token", [&] { return SendWrite("parent.nam", forgedParent, expired).nStatus; }},
        {"prj.nam without a token", [&] { return SendWrite("prj.nam", BYTES(520, 0)).nStatus; }},
        {"a grant of extra time without a token", [&] { return SendWrite("extra.tim", grant.Bytes()).nStatus; }},
        {"a file that is not Quenby's", [&] { return SendWrite("..\\..\\Windows\\win.ini", BYTES(4, 'x')).nStatus; }},
        {"an event the guard alone writes",
         [&] {
             GUARD_REQUEST request;
             request.nKind = GUARD_KIND::EVENT;
             request.strName = "login";
             request.strAccount = "Administrator";
             return Send(request).nStatus;
         }},
        {"Quenby ended on purpose without a token",
         [&] {
             GUARD_REQUEST request;
             request.nKind = GUARD_KIND::STATE;
             request.nState = 3;
             return Send(request).nStatus;
         }},
        {"an overlong request",
         [&] {
             BYTES answer;
             m_guarded.m_transport.Exchange(overlong, answer);
             GUARD_ANSWER decoded;
             return CGuardMessage::Decode(answer, GUARD_KIND::HELLO, decoded) ? decoded.nStatus : GUARD_STATUS::OK;
         }},
        {"a cut request",
         [&] {
             BYTES answer;
             m_guarded.m_transport.Exchange(cut, answer);
             GUARD_ANSWER decoded;
             return CGuardMessage::Decode(answer, GUARD_KIND::WRITE, decoded) ? decoded.nStatus : GUARD_STATUS::OK;
         }},
    };
    for (const auto& c : cases) {
        const std::size_t nRefusals = EventsOfKind(CEventLog::kRefused).size();
        std::map<std::string, BYTES> before = Snapshot(m_guarded.m_folder.Folder());
        const GUARD_STATUS nStatus = c.send();
        EXPECT_TRUE(nStatus == GUARD_STATUS::REFUSED || nStatus == GUARD_STATUS::BAD) << c.pszCase;
        EXPECT_EQ(EventsOfKind(CEventLog::kRefused).size(), nRefusals + 1) << c.pszCase;
        std::map<std::string, BYTES> after = Snapshot(m_guarded.m_folder.Folder());
        for (auto* pFiles : {&before, &after}) pFiles->erase("events.log"), pFiles->erase("guard/events.log");
        EXPECT_TRUE(before == after) << c.pszCase << ": a file changed";
    }
    CDataStore store;
    EXPECT_EQ(store.LoadAccounts(), EAdminState::Ready);
    EXPECT_FALSE(store.m_adminAccount.AcceptsPassword("child's choice"));
}

TEST_F(GuardedStore, TheAdministratorsProofOpensTheParentsWritesUntilLogout) {
    const BYTES parent = m_guarded.m_folder.Read("parent.nam");
    ASSERT_EQ(parent.size(), sizeof(ADMIN_ACCOUNT));
    EXPECT_TRUE(CPasswordField::IsHeld(parent.data() + 128)) << "no hash where everyone reads";
    EXPECT_TRUE(CPasswordField::IsHashed(m_guarded.Record("parent.nam").data() + 128));

    EXPECT_FALSE(m_store.m_adminAccount.AcceptsPassword("guess"));
    EXPECT_FALSE(m_store.m_adminAccount.AcceptsPassword(CGuardedFolder::kPassword)) << "the wait after a wrong one";
    EXPECT_EQ(m_guarded.m_client.LastAnswer().nStatus, GUARD_STATUS::WAIT);
    m_clock.Advance(1);
    ASSERT_TRUE(m_store.m_adminAccount.AcceptsPassword(CGuardedFolder::kPassword));

    m_store.m_prjStore.Find("kid")->m_days[0].m_bFree = 1;
    EXPECT_TRUE(m_store.m_prjStore.Save());
    m_store.m_adminAccount.m_admin.nLockBackground = 1;
    EXPECT_TRUE(m_store.m_adminAccount.Save());
    EXPECT_TRUE(CPasswordField::Matches(m_guarded.Record("parent.nam").data() + 128, CGuardedFolder::kPassword))
        << "an options change keeps the password the guard holds";
    ASSERT_TRUE(m_store.m_adminAccount.SetPassword("new secret"));
    EXPECT_TRUE(m_store.m_adminAccount.Save());
    EXPECT_TRUE(CPasswordField::IsHeld(m_guarded.m_folder.Read("parent.nam").data() + 128));

    m_guarded.m_client.Logout();
    m_store.m_prjStore.Find("kid")->m_days[1].m_bFree = 1;
    EXPECT_FALSE(m_store.m_prjStore.Save()) << "after logout";
    CPrjStore prj;
    prj.Load();
    EXPECT_EQ(prj.Find("kid")->m_days[0].m_bFree, 1);
    EXPECT_EQ(prj.Find("kid")->m_days[1].m_bFree, 0);
    EXPECT_TRUE(m_store.m_adminAccount.AcceptsPassword("new secret"));
}

TEST_F(GuardedStore, AFileChangedBehindTheGuardsBackGainsNothingAndIsPutBack) {
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    EXPECT_GT(kid.TicksUntil(STATE_FORCED_REST, 30 * 60), 0);
    kid.Ticks(11);
    kid.Logout();
    EXPECT_TRUE(CEventLog::Append(CEventLog::kWrongPassword, "Administrator", "at the lock screen"));
    const std::size_t nChanged = EventsOfKind(CEventLog::kChanged).size();

    // Edited by hand: extra time of two hours, less use with state 2, a Free week, a parent.nam
    // with a password of the child's choosing, the event log trimmed.
    CRecordWriter extra;
    extra.PutText("kid", 128);
    for (std::int32_t n : {DateKey(m_clock.Now()), 7200, 7200, 0}) extra.PutInt32(n);
    m_guarded.m_folder.Write("extra.tim", extra.Bytes());
    BYTES usage = m_guarded.m_folder.Read("use.sta");
    usage[128] = 0, usage[129] = 0;  // used seconds down
    usage[204] = STATE_ALLOWED;
    m_guarded.m_folder.Write("use.sta", usage);
    CPrjStore free;
    free.Load();
    for (CDayPrj& day : free.Find("kid")->m_days) day.m_bFree = 1;
    m_guarded.m_folder.Write("prj.nam", CPrjStore::Image(free.GetList()));
    BYTES parent = m_guarded.m_folder.Read("parent.nam");
    CPasswordField::Store("child's choice", parent.data() + 128);
    m_guarded.m_folder.Write("parent.nam", parent);
    m_guarded.m_folder.Write("events.log", BYTES());

    // What the program reads is the guard's record, not the files.
    CUsageStore usageRead;
    usageRead.Load();
    EXPECT_EQ(usageRead.Find("kid")->nStateId, STATE_FORCED_REST);
    EXPECT_GE(usageRead.Find("kid")->nUsedSecs, 25 * 60);
    CExtraTimeStore extraRead;
    extraRead.Load();
    ASSERT_NE(extraRead.Find("kid"), nullptr);
    EXPECT_EQ(extraRead.Find("kid")->nExtraSecsLeft, 0);
    CPrjStore prjRead;
    prjRead.Load();
    EXPECT_EQ(prjRead.Find("kid")->m_days[0].m_bFree, 0);
    CDataStore store;
    store.LoadAccounts();
    EXPECT_FALSE(store.m_adminAccount.AcceptsPassword("child's choice"));

    m_guarded.Tick();
    for (const char* pszFile : {"extra.tim", "use.sta", "prj.nam", "events.log"})
        EXPECT_EQ(m_guarded.m_folder.Read(pszFile), m_guarded.Record(pszFile)) << pszFile;
    BYTES face;
    ASSERT_TRUE(m_guarded.m_keeper.Records().Read("parent.nam", face));
    EXPECT_EQ(m_guarded.m_folder.Read("parent.nam"), face);
    EXPECT_TRUE(CPasswordField::IsHeld(face.data() + 128));
    EXPECT_EQ(EventsOfKind(CEventLog::kChanged).size(), nChanged + 5);
    EXPECT_EQ(EventsOfKind(CEventLog::kWrongPassword).size(), 1u) << "the trimmed log came back";
    m_guarded.Tick();
    EXPECT_EQ(EventsOfKind(CEventLog::kChanged).size(), nChanged + 5) << "nothing more to put back";
    // A log trimmed just before an event comes in is noted, not quietly written over.
    m_guarded.m_folder.Write("events.log", BYTES());
    EXPECT_TRUE(CEventLog::Append(CEventLog::kWrongPassword, "Administrator", "at the lock screen"));
    EXPECT_EQ(EventsOfKind(CEventLog::kChanged).size(), nChanged + 6);
    EXPECT_EQ(m_guarded.m_folder.Read("events.log"), m_guarded.Record("events.log"));

    CEngineDriver again(m_clock);
    again.Login("kid", true);
    EXPECT_EQ(again.State(), STATE_FORCED_REST) << "the rest is not dropped";
    EXPECT_FALSE(again.Context().HasExtra());
}

TEST_F(GuardedStore, TheTimeTheProgramWasGoneCountsAsTheChildsUseOnce) {
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    kid.Ticks(90);  // saved at 60 s
    m_guarded.m_client.Beat("kid", CClock::Zone());
    m_clock.Advance(2);  // the program is killed and the guard notices
    m_guarded.m_core.CountGap(1, false);
    m_guarded.m_core.CountGap(1, false);
    CUsageStore usage;
    usage.Load();
    ASSERT_NE(usage.Find("kid"), nullptr);
    EXPECT_EQ(usage.Find("kid")->nUsedSecs, 92) << "the 30 unsaved seconds and the 2 of the gap, once";
    EXPECT_EQ(m_events.Count(EVENT_KIND::PROGRAM_KILLED), 1u);

    m_guarded.m_client.Beat("kid", CClock::Zone());
    m_clock.Advance(6);
    m_guarded.m_core.CountGap(1, true);
    EXPECT_EQ(m_events.Count(EVENT_KIND::PROGRAM_HUNG), 1u);
    usage.Load();
    EXPECT_EQ(usage.Find("kid")->nUsedSecs, 98);
}
